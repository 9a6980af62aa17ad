#include "net/net_client.h"

#include <algorithm>
#include <cstring>

#include "net/protocol.h"

namespace dvr::net {
namespace {

constexpr size_t kReadBytes = 131072;
constexpr size_t kReplyBufferBytes = 32768;
constexpr int kConnectRoundMs = 100;
constexpr int64_t kReplyWaitUs = 100000;    // a wait for a reply, between two looks at Stop
constexpr int64_t kStreamWaitUs = 3500;     // the receive wait: 0.5 ms, then the 3 ms idle pause
constexpr uint32_t kRetryPauseMs = 100;     // between connect attempts that fail at once
constexpr uint32_t kReconnectPauseMs = 1000;
constexpr uint32_t kMouseEveryMs = 250;
// The live loop can stall for a second or more while both cores are busy: the queues hold
// several seconds of a 16-channel DVR at full rate (480 pictures a second), bounded in bytes.
constexpr size_t kVideoQueueFrames = 8192;
constexpr size_t kVideoQueueBytes = size_t{64} << 20;
constexpr size_t kAudioQueueFrames = 1024;
constexpr size_t kAudioQueueBytes = size_t{1} << 20;

}  // namespace

const char* NetStatusName(int status) {
  switch (status) {
    case kIdle: return "idle";
    case kConnecting: return "connecting";
    case kLoggingIn: return "logging in";
    case kLoggedIn: return "logged in";
    case kDdnsConnecting: return "connecting to DDNS";
    case kDdnsQuerying: return "querying DDNS";
    case kDdnsDone: return "DDNS done";
    default: return "";
  }
}

NetClient::NetClient(platform::Clock& clock)
    : clock_(clock), parser_(video_queue_, audio_queue_, *this), read_buffer_(kReadBytes) {
  video_queue_.Allocate(kVideoBufferBytes, kVideoQueueFrames, kVideoQueueBytes);
  audio_queue_.Allocate(kAudioBufferBytes, kAudioQueueFrames, kAudioQueueBytes);
}

NetClient::~NetClient() { Stop(); }

void NetClient::SetDirect(const std::string& dvr_address, uint16_t port, const std::string& password) {
  use_ddns_ = false;
  dvr_address_ = dvr_address;
  dvr_port_ = port;
  password_ = password;
}

void NetClient::SetDdns(const std::string& ddns_address, uint16_t port, const std::string& dvr_name,
                        const std::string& password) {
  use_ddns_ = true;
  ddns_address_ = ddns_address;
  ddns_port_ = port;
  dvr_name_ = dvr_name;
  password_ = password;
}

void NetClient::SetMouseSource(display::MouseRecorder* mouse, int mode) {
  mouse_ = mouse;
  mouse_mode_ = mode;
}

bool NetClient::Start() {
  if (password_.size() > kMaxPasswordBytes) {
    SetLastError("The password is longer than 31 bytes.");
    return false;
  }
  if (use_ddns_ && dvr_name_.size() > kMaxDvrNameBytes) {
    SetLastError("The DVR name is longer than 8 bytes.");
    return false;
  }
  SetLastError("");
  ddns_resolved_ = false;
  return WorkerThread::Start(platform::ThreadPriority::kAboveNormal) == 0;
}

void NetClient::SetStatus(int status) {
  if (status_.exchange(status) != status && listener_) listener_->OnConnectionStatus(status);
}

std::string NetClient::LastError() const {
  std::lock_guard lock(mutex_);
  return last_error_;
}

void NetClient::SetLastError(const std::string& text) {
  std::lock_guard lock(mutex_);
  last_error_ = text;
}

std::array<uint16_t, 5> NetClient::StatusValues() const {
  std::lock_guard lock(mutex_);
  return status_values_;
}

bool NetClient::SendKey(int key_code) {
  const auto packet = KeyPacket(key_code);
  return SendPacket(packet.data(), packet.size());
}

bool NetClient::MayWait(uint32_t started) { return !StopRequested() && clock_.Since(started) <= timeout_ms_; }

bool NetClient::SendPacket(const uint8_t* data, size_t size) {
  std::lock_guard lock(send_mutex_);
  if (!logged_in_ || !socket_.IsOpen()) return false;
  const uint32_t started = clock_.Tick();
  std::string ignored;
  if (socket_.Send(data, size, [&] { return MayWait(started); }, ignored)) return true;
  // A DVR that took nothing for that long is gone, and part of a packet garbles what follows: the
  // worker sees the connection end at its next read and logs in again.
  socket_.ShutdownBoth();
  return false;
}

void NetClient::Run() {
  last_data_ = clock_.Tick();
  last_mouse_ = last_data_ - kMouseEveryMs;  // the first mouse input goes at once
  while (IsRunning()) {
    if (StopRequested()) {
      const auto logout = LogoutPacket();
      SendPacket(logout.data(), logout.size());  // when logged in, and only what fits at once
      break;
    }
    if (use_ddns_ && !ddns_resolved_) {
      SetStatus(kDdnsConnecting);
      if (!ConnectSocket(ddns_socket_, ddns_address_, ddns_port_, false)) {
        SetStatus(kIdle);
        clock_.SleepUnless(kRetryPauseMs, {&StopEvent()});  // no tight loop against a closed port
        continue;
      }
      SetStatus(kDdnsQuerying);
      if (!QueryDdns()) {
        SetStatus(kIdle);
        if (!StopRequested() && listener_) listener_->OnLoginFailed();
        break;
      }
      SetStatus(kDdnsDone);
      last_data_ = clock_.Tick();
    }
    if (!logged_in_) {
      SetStatus(kConnecting);
      if (!ConnectSocket(socket_, dvr_address_, dvr_port_, true)) {
        SetStatus(kIdle);
        clock_.SleepUnless(kRetryPauseMs, {&StopEvent()});
        continue;
      }
      SetStatus(kLoggingIn);
      if (!LogIn()) {
        SetStatus(kIdle);
        if (!StopRequested() && listener_) listener_->OnLoginFailed();
        break;
      }
      SetStatus(kLoggedIn);
      last_data_ = clock_.Tick();
    }
    SendMouse();
    if (clock_.Since(last_data_) > timeout_ms_) {
      // Silence: log in again without telling anyone; the DDNS answer stays valid.
      DropConnection();
      clock_.SleepUnless(kReconnectPauseMs, {&StopEvent()});
      continue;
    }
    Receive();
  }
  DropConnection();
  ddns_socket_.Close();
  ddns_resolved_ = false;
  SetStatus(kIdle);
}

bool NetClient::ConnectSocket(platform::TcpSocket& socket, const std::string& address, uint16_t port, bool dvr) {
  // Not logged in: nobody else touches the socket while it is made and connected.
  std::string error;
  if (socket.IsOpen()) {
    SetLastError("Already Connected");
    socket.ShutdownReceive();
    socket.Close();
    return false;
  }
  if (!socket.Create(error) || !socket.StartConnect(address, port, error)) {
    SetLastError(error);
    socket.Close();
    return false;
  }
  if (!dvr) socket.SetOptions();
  const uint32_t started = clock_.Tick();
  for (;;) {
    if (StopRequested()) {
      socket.Close();
      if (dvr) {
        logged_in_ = false;
      } else {
        ddns_resolved_ = false;
      }
      return false;
    }
    switch (socket.WaitConnected(kConnectRoundMs)) {
      case platform::TcpSocket::Ready::kNothing:
        if (clock_.Since(started) <= timeout_ms_) continue;
        // The DVR's connect goes on to the login, whose first send then fails.
        if (dvr) return true;
        socket.Close();
        return false;
      case platform::TcpSocket::Ready::kError: socket.Close(); return false;
      case platform::TcpSocket::Ready::kReady: {
        int pending = 0;  // not examined: a refused connect shows as a failed first send
        if (!socket.ReadPendingError(pending)) {
          socket.Close();
          return false;
        }
        socket.SetBlocking(true);
        return true;
      }
    }
  }
}

bool NetClient::QueryDdns() {
  const auto fail = [this](const std::string& text) {
    if (!text.empty()) SetLastError(text);
    ddns_socket_.Close();
    ddns_resolved_ = false;
    return false;
  };
  const auto request = DdnsRequest(dvr_name_);
  const uint32_t started = clock_.Tick();
  std::string error;
  if (!ddns_socket_.Send(request.data(), request.size(), [&] { return MayWait(started); }, error)) return fail(error);
  std::array<uint8_t, kReplyBufferBytes> reply{};
  size_t received = 0;
  for (;;) {
    if (const ReplyWait wait = AwaitReply(ddns_socket_, started); wait != ReplyWait::kData) {
      return fail(wait == ReplyWait::kTimedOut ? "No response from server." : "");
    }
    const long got = ddns_socket_.Receive(reply.data() + received, reply.size() - received);
    if (got > 0) received += static_cast<size_t>(got);
    // A reply may come in pieces; it is whole at 10 bytes. Another magic fails at once.
    const bool magic_so_far = std::memcmp(reply.data(), "\x55\xAA\x55\xAA", std::min<size_t>(received, 4)) == 0;
    if (!magic_so_far || got <= 0 || received >= kDdnsReplyBytes) break;
  }
  const auto answer = ReadDdnsReply(reply.data(), received);
  if (!answer) return fail("DDNS LOGIN ERROR");
  ddns_resolved_ = true;
  dvr_address_ = DottedAddress(answer->address);
  dvr_port_ = answer->port;
  ddns_socket_.Close();
  return true;
}

bool NetClient::LogIn() {
  const auto fail = [this](const std::string& text) {
    if (!text.empty()) SetLastError(text);
    DropConnection();
    return false;
  };
  const auto login = LoginPacket(password_);
  const uint32_t started = clock_.Tick();
  std::string error;
  if (!socket_.Send(login.data(), login.size(), [&] { return MayWait(started); }, error)) return fail(error);
  // Replies are 16-byte packets read from a buffer: a pending and an accept reply may arrive in
  // one read, and stream bytes may follow the accept in the same read.
  std::vector<uint8_t> replies;
  replies.reserve(kReplyBufferBytes);
  for (;;) {
    if (const ReplyWait wait = AwaitReply(socket_, started); wait != ReplyWait::kData) {
      return fail(wait == ReplyWait::kTimedOut ? "No response from server." : "");
    }
    const size_t held = replies.size();
    replies.resize(kReplyBufferBytes);
    const long got = socket_.Receive(replies.data() + held, kReplyBufferBytes - held);
    if (got <= 0) return fail("LOGIN ERROR");  // closed or failed before a reply
    replies.resize(held + static_cast<size_t>(got));
    // Pending replies come off the front; the time-out still counts from the login packet.
    LoginReply reply = ReadLoginReply(replies.data(), replies.size());
    while (reply.kind == LoginReply::Kind::kPending) {
      replies.erase(replies.begin(), replies.begin() + static_cast<long>(reply.bytes));
      reply = ReadLoginReply(replies.data(), replies.size());
    }
    switch (reply.kind) {
      case LoginReply::Kind::kIncomplete: break;  // less than a reply is held: room enough for the rest
      case LoginReply::Kind::kAccepted:
        logged_in_ = true;
        bytes_received_.fetch_add(replies.size() - reply.bytes, std::memory_order_relaxed);
        parser_.Parse(replies.data() + reply.bytes, replies.size() - reply.bytes);
        return true;
      case LoginReply::Kind::kRefused: return fail(reply.refusal);
      default: return fail("LOGIN ERROR");
    }
  }
}

NetClient::ReplyWait NetClient::AwaitReply(platform::TcpSocket& socket, uint32_t started) {
  for (;;) {
    if (StopRequested()) return ReplyWait::kFailed;
    const int ready = socket.WaitReadable(kReplyWaitUs);
    if (ready < 0) return ReplyWait::kFailed;
    if (ready > 0) return ReplyWait::kData;
    if (clock_.Since(started) > timeout_ms_) return ReplyWait::kTimedOut;
  }
}

void NetClient::Receive() {
  const int ready = socket_.WaitReadable(kStreamWaitUs);
  if (ready <= 0) return;
  const long got = socket_.Receive(read_buffer_.data(), read_buffer_.size());
  if (got > 0) {
    bytes_received_.fetch_add(static_cast<uint64_t>(got), std::memory_order_relaxed);
    parser_.Parse(read_buffer_.data(), static_cast<size_t>(got));
    last_data_ = clock_.Tick();
    return;
  }
  // The DVR closed the connection, or it failed: log in again after the usual pause rather than
  // spin on a dead socket until the silence time-out.
  DropConnection();
  clock_.SleepUnless(kReconnectPauseMs, {&StopEvent()});
}

void NetClient::SendMouse() {
  if (mouse_ == nullptr || clock_.Since(last_mouse_) < kMouseEveryMs) return;
  display::MouseReport report;
  if (!mouse_->TakePending(report)) return;
  last_mouse_ = clock_.Tick();
  if (mouse_mode_ == 0) return;
  const auto packet = MousePacket(report.state, report.width, report.height, report.x, report.y, mouse_mode_);
  SendPacket(packet.data(), packet.size());
}

void NetClient::DropConnection() {
  socket_.ShutdownBoth();  // first: a send waiting for room gives up at once and lets go of the lock
  std::lock_guard lock(send_mutex_);
  socket_.Close();
  logged_in_ = false;
}

void NetClient::OnStatus(const std::array<uint16_t, 5>& values) {
  {
    std::lock_guard lock(mutex_);
    status_values_ = values;
  }
  if (listener_) listener_->OnStatusReport();
}

void NetClient::OnDisconnectNotice() {
  if (listener_) listener_->OnDisconnected();
}

}  // namespace dvr::net
