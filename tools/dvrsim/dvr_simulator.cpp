#include "dvr_simulator.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <thread>

#include "net/protocol.h"

namespace dvr::sim {
namespace {

constexpr uint8_t kControlStart[4] = {0x00, 0x00, 0x01, 0xFE};
constexpr int64_t kLookUs = 100000;  // between two looks at Stop while waiting
constexpr int64_t kStreamLookUs = 5000;
constexpr size_t kReceiveBytes = 4096;
constexpr size_t kMaxUnparsed = 65536;
// Odd pieces, so that start codes, length fields and hex digits get cut everywhere.
constexpr std::array<size_t, 9> kPieces = {1, 3, 2, 7, 5, 11, 13, 6, 4093};
constexpr auto kPendingPause = std::chrono::milliseconds(20);

std::vector<uint8_t> Bytes(const std::string& packet) { return {packet.begin(), packet.end()}; }

// A login reply of 16 bytes, with another length field if asked.
std::vector<uint8_t> LoginReply(uint16_t code, uint32_t reason, std::optional<uint16_t> length_field) {
  std::vector<uint8_t> reply = Bytes(net::ControlPacket(code, {reason}));
  if (length_field) {
    const auto digits = net::FormatHex(*length_field);
    std::copy(digits.begin(), digits.end(), reply.begin() + 4);
  }
  return reply;
}

}  // namespace

DvrSimulator::DvrSimulator(DvrSimOptions options, LiveSource& source)
    : options_(std::move(options)), source_(source) {
  received_.reserve(kMaxUnparsed + kReceiveBytes);
  scratch_.reserve(1 << 18);
}

DvrSimulator::~DvrSimulator() { Stop(); }

bool DvrSimulator::Start(std::string& error) {
  if (!listener_.Listen(options_.port, error)) return false;
  return WorkerThread::Start(options_.priority) == 0;
}

std::vector<std::string> DvrSimulator::Log() const {
  std::lock_guard lock(mutex_);
  return log_;
}

DvrSimCounters DvrSimulator::Counters() const {
  std::lock_guard lock(mutex_);
  return counters_;
}

void DvrSimulator::AddLog(const std::string& line) {
  {
    std::lock_guard lock(mutex_);
    log_.push_back(line);
  }
  if (log_sink_) log_sink_(line);
}

void DvrSimulator::Run() {
  bool first = true;
  while (!Stopping()) {
    platform::TcpSocket client = listener_.Accept(static_cast<int>(kLookUs / 1000));
    if (!client.IsOpen()) continue;
    client.SetOptions();
    Serve(client, first);
    first = false;
  }
  listener_.Close();
}

void DvrSimulator::Serve(platform::TcpSocket& client, bool first) {
  {
    std::lock_guard lock(mutex_);
    ++counters_.sessions;
  }
  AddLog("connect");
  received_.clear();
  bool password_ok = false;
  awaiting_login_ = true;
  const bool logged_in = AwaitLogin(client, password_ok);
  awaiting_login_ = false;
  if (!logged_in) return;
  if (options_.never_answer) {
    while (!Stopping() && ReadClient(client, kLookUs) == Session::kGoOn) {
    }
    return;
  }
  std::vector<uint8_t> opening;
  for (int i = 0; i < options_.pending_replies; ++i) {
    const auto pending = LoginReply(net::kLoginReplyPending, 0, options_.reply_length_field);
    if (options_.replies_together) {
      opening.insert(opening.end(), pending.begin(), pending.end());
      continue;
    }
    if (!Send(client, pending.data(), pending.size())) return;
    std::this_thread::sleep_for(kPendingPause);
  }
  const int reason = options_.refuse_reason != 0 ? options_.refuse_reason : password_ok ? 0 : 2;
  if (reason != 0) {
    const auto refusal = LoginReply(options_.refuse_code, static_cast<uint32_t>(reason), options_.reply_length_field);
    opening.insert(opening.end(), refusal.begin(), refusal.end());
    Send(client, opening.data(), opening.size());
    AddLog("login refused " + std::to_string(reason));
    // Let the client read the answer before the connection goes.
    while (!Stopping() && ReadClient(client, kLookUs) == Session::kGoOn) {
    }
    return;
  }
  const auto accept = LoginReply(net::kLoginReplyAccepted, 0, options_.reply_length_field);
  opening.insert(opening.end(), accept.begin(), accept.end());
  AddLog("login accepted");
  {
    std::lock_guard lock(mutex_);
    ++counters_.logins;
  }
  Stream(client, first, opening);
}

bool DvrSimulator::AwaitLogin(platform::TcpSocket& client, bool& password_ok) {
  const auto expected = net::LoginPacket(options_.password);
  while (!Stopping()) {
    if (ReadClient(client, kLookUs) == Session::kEnd) return false;
    // The login is the first packet; ReadClient leaves it for us at the front.
    const auto start = std::search(received_.begin(), received_.end(), kControlStart, kControlStart + 4);
    if (start == received_.end() || received_.end() - start < static_cast<long>(net::kLoginPacketBytes)) continue;
    if (net::ParseHex(&*start + 8) != net::kLogin) {
      received_.erase(received_.begin(), start + 4);  // not a login: look further
      continue;
    }
    password_ok = std::equal(expected.begin(), expected.end(), start);
    received_.erase(received_.begin(), start + static_cast<long>(net::kLoginPacketBytes));
    return true;
  }
  return false;
}

void DvrSimulator::Stream(platform::TcpSocket& client, bool first, std::vector<uint8_t>& opening) {
  if (!options_.replies_together) {
    if (!Send(client, opening.data(), opening.size())) return;
    opening.clear();
  }
  const auto start = Clock::now();
  const auto period = std::chrono::duration_cast<Clock::duration>(
      std::chrono::duration<double>(options_.fps > 0 ? 1.0 / options_.fps : 0.0));
  const auto status_period = std::chrono::duration_cast<Clock::duration>(
      std::chrono::duration<double>(options_.status_every));
  auto next_picture = start;
  auto next_status = start + status_period;
  bool status_due = false, notice_sent = false, silence_logged = false;
  uint64_t pictures = 0;
  while (!Stopping()) {
    const auto now = Clock::now();
    const auto elapsed_ms = std::chrono::duration_cast<std::chrono::milliseconds>(now - start).count();
    if (first && options_.disconnect_after_ms > 0 && !notice_sent && elapsed_ms >= options_.disconnect_after_ms) {
      const auto notice = Bytes(net::ControlPacket(net::kDisconnectNotice, {}));
      if (!Send(client, notice.data(), notice.size())) return;
      AddLog("disconnect notice");
      notice_sent = true;
    }
    const bool silent = first && options_.silent_for_ms > 0 && elapsed_ms >= options_.silent_after_ms &&
                        elapsed_ms < options_.silent_after_ms + options_.silent_for_ms;
    const bool done = options_.video_limit > 0 && pictures >= options_.video_limit;
    if (silent && !silence_logged) {
      AddLog("silent");
      silence_logged = true;
    }
    if (silent || done) {
      if (Listen(client, kStreamLookUs) == Session::kEnd) return;
      next_picture = Clock::now();
      continue;
    }
    if (options_.status_every > 0 && now >= next_status) {
      status_due = true;
      next_status += status_period;
    }
    if (now < next_picture) {
      const auto wait = std::chrono::duration_cast<std::chrono::microseconds>(next_picture - now).count();
      if (Listen(client, std::min<int64_t>(wait, kStreamLookUs)) == Session::kEnd) return;
      continue;
    }
    if (Listen(client, 0) == Session::kEnd) return;
    if (!source_.Next(unit_)) return;
    if (!opening.empty()) {  // the answer and the stream's first bytes leave together
      opening.insert(opening.end(), unit_.bytes.begin(), unit_.bytes.end());
      if (!unit_.is_video) continue;
      if (!Send(client, opening.data(), opening.size())) return;
      opening.clear();
    } else if (unit_.is_video) {
      if (!SendPicture(client, unit_.bytes, status_due)) return;
      status_due = false;
    } else if (!Send(client, unit_.bytes.data(), unit_.bytes.size())) {
      return;
    }
    std::lock_guard lock(mutex_);
    if (!unit_.is_video) {
      ++counters_.audio_frames;
      continue;
    }
    ++counters_.video_frames;
    if (sent_sink_) sent_sink_(pictures, Clock::now());
    ++pictures;
    // Behind (a slow client, or this thread kept waiting): catch up by two pictures at most rather
    // than send a burst no camera would.
    next_picture = std::max(next_picture + period, Clock::now() - 2 * period);
  }
}

bool DvrSimulator::SendPicture(platform::TcpSocket& client, const std::vector<uint8_t>& frame, bool with_status) {
  if (!with_status) return Send(client, frame.data(), frame.size());
  // A status report in the middle of the picture, as a DVR sends one whenever it has one.
  ++status_value_;
  const std::string status = status_value_ % 2 == 0
                                 ? net::ControlPacket(net::kSingleStatus, {status_value_})
                                 : net::ControlPacket(net::kStatusReport, {1, 2, 3, 4, status_value_});
  const size_t middle = frame.size() / 2;
  scratch_.assign(frame.begin(), frame.begin() + static_cast<long>(middle));
  scratch_.insert(scratch_.end(), status.begin(), status.end());
  scratch_.insert(scratch_.end(), frame.begin() + static_cast<long>(middle), frame.end());
  {
    std::lock_guard lock(mutex_);
    ++counters_.status_reports;
  }
  return Send(client, scratch_.data(), scratch_.size());
}

bool DvrSimulator::Send(platform::TcpSocket& client, const uint8_t* data, size_t size) {
  // A client that does not read is waited for, but never past Stop.
  const std::function<bool()> keep_waiting = [this] { return !Stopping(); };
  std::string ignored;
  for (size_t done = 0; done < size;) {
    const size_t piece = options_.split_writes ? kPieces[split_index_++ % kPieces.size()] : size;
    const size_t take = std::min(piece, size - done);
    if (!client.Send(data + done, take, keep_waiting, ignored)) return false;
    done += take;
  }
  std::lock_guard lock(mutex_);
  counters_.bytes += size;
  return true;
}

DvrSimulator::Session DvrSimulator::Listen(platform::TcpSocket& client, int64_t wait_us) {
  if (!options_.stop_reading) return ReadClient(client, wait_us);
  std::this_thread::sleep_for(std::chrono::microseconds(wait_us));  // the client's bytes pile up
  return Session::kGoOn;
}

DvrSimulator::Session DvrSimulator::ReadClient(platform::TcpSocket& client, int64_t wait_us) {
  const int ready = client.WaitReadable(wait_us);
  if (ready == 0) return Session::kGoOn;
  std::array<uint8_t, kReceiveBytes> bytes;
  const long got = ready < 0 ? -1 : client.Receive(bytes.data(), bytes.size());
  if (got <= 0) {
    AddLog("closed");
    return Session::kEnd;
  }
  if (received_.size() > kMaxUnparsed) received_.clear();  // no packet in all that: garbage
  received_.insert(received_.end(), bytes.begin(), bytes.begin() + got);
  for (;;) {
    const auto start = std::search(received_.begin(), received_.end(), kControlStart, kControlStart + 4);
    received_.erase(received_.begin(), start);
    if (received_.size() < net::kControlHeader) return Session::kGoOn;
    const uint16_t length = net::ParseHex(received_.data() + 4);
    const uint16_t command = net::ParseHex(received_.data() + 8);
    if (command == net::kLogin && awaiting_login_) return Session::kGoOn;  // AwaitLogin takes it
    if (length < net::kControlHeader || length > net::kMaxControlPacket) {
      AddLog("bad packet");
      received_.erase(received_.begin(), received_.begin() + 4);
      continue;
    }
    if (received_.size() < length) return Session::kGoOn;
    const uint8_t* fields = received_.data() + net::kControlHeader;
    std::string line;
    switch (command) {
      case net::kRemoteKey: line = "key " + std::to_string(net::ParseHex(fields)); break;
      case net::kMouse:
        line = "mouse";
        for (int i = 0; i < 5 && net::kControlHeader + 4 * i + 4 <= length; ++i) {
          line += " " + std::to_string(net::ParseHex(fields + 4 * i));
        }
        break;
      case net::kLogout: line = "logout"; break;
      case net::kLogin: line = "login again"; break;
      default: line = "packet " + std::to_string(command); break;
    }
    received_.erase(received_.begin(), received_.begin() + length);
    AddLog(line);
    if (command == net::kLogout) return Session::kEnd;
  }
}

}  // namespace dvr::sim
