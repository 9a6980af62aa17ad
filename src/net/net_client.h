#pragma once
// The network source: connects to a DVR (directly, or after asking a DDNS service for its
// address), logs in, receives the live stream into two frame queues, keeps the session alive by
// logging in again after a silent spell, and sends remote-control keys and mouse input.
//
// Everything runs on the client's worker thread; the window thread sets parameters before Start,
// reads the status at any time, sends keys, and hears of events through a listener.
#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "display/mouse_recorder.h"
#include "engine/frame_queue.h"
#include "net/stream_parser.h"
#include "platform/clock.h"
#include "platform/socket.h"
#include "platform/worker_thread.h"

namespace dvr::net {

// Connection status.
enum NetStatus : int {
  kIdle = 0,
  kConnecting = 1,
  kLoggingIn = 2,
  kLoggedIn = 3,
  kDdnsConnecting = 4,
  kDdnsQuerying = 5,
  kDdnsDone = 6,
};
const char* NetStatusName(int status);

// How the client tells its owner what happened (the viewer turns these into window messages).
// Called on the client's worker thread.
class NetListener {
 public:
  virtual ~NetListener() = default;
  virtual void OnStatusReport() = 0;
  virtual void OnDisconnected() = 0;
  // The DDNS query or the login failed; the worker has ended.
  virtual void OnLoginFailed() = 0;
  // The connection status moved (for tools that log every step; the window polls instead).
  virtual void OnConnectionStatus(int /*status*/) {}
};

class NetClient final : public platform::WorkerThread, private ControlHandler {
 public:
  explicit NetClient(platform::Clock& clock);
  ~NetClient() override;

  void SetDirect(const std::string& dvr_address, uint16_t port, const std::string& password);
  void SetDdns(const std::string& ddns_address, uint16_t port, const std::string& dvr_name,
               const std::string& password);
  void SetListener(NetListener* listener) { listener_ = listener; }
  void SetTimeout(uint32_t ms) { timeout_ms_ = ms; }
  uint32_t Timeout() const { return timeout_ms_; }
  // Where mouse input comes from, and the mouse mode (0 off, 1 as is, 2 with the DVR's cursor).
  void SetMouseSource(display::MouseRecorder* mouse, int mode);

  // Starts the worker one step above normal priority. Refused (false, with the last error) for
  // a password over 31 bytes or a DVR name over 8.
  bool Start();
  // Stop (the base's) waits for the worker; a logged-in session sends its logout first.

  int Status() const { return status_.load(); }
  bool LoggedIn() const { return logged_in_.load(); }
  std::string LastError() const;
  std::array<uint16_t, 5> StatusValues() const;

  // Sends a remote-control key on the live connection: true when all 16 bytes went out. Waits for
  // room at most the time-out (never past Stop); a key that cannot go out drops the connection,
  // which the worker then logs into again.
  bool SendKey(int key_code);

  // Frames handed to the queues and lost to full ones; bytes received since Start.
  const StreamTraffic& Traffic() const { return parser_.Traffic(); }
  uint64_t BytesReceived() const { return bytes_received_.load(std::memory_order_relaxed); }

  engine::FrameQueue& VideoQueue() { return video_queue_; }
  engine::FrameQueue& AudioQueue() { return audio_queue_; }
  const engine::FrameQueue& VideoQueue() const { return video_queue_; }
  const engine::FrameQueue& AudioQueue() const { return audio_queue_; }

 protected:
  void Run() override;

 private:
  // The connection steps; each leaves the last error on failure.
  bool ConnectSocket(platform::TcpSocket& socket, const std::string& address, uint16_t port, bool dvr);
  bool QueryDdns();
  bool LogIn();
  // Waits for a reply in rounds that look at Stop; the time-out counts from `started`.
  enum class ReplyWait { kData, kFailed, kTimedOut };
  ReplyWait AwaitReply(platform::TcpSocket& socket, uint32_t started);
  void Receive();
  void SendMouse();
  // Whether a wait that began at `started` may go on: not past Stop, nor past the time-out.
  bool MayWait(uint32_t started);
  // A whole packet on the live connection when logged in; see SendKey.
  bool SendPacket(const uint8_t* data, size_t size);
  void DropConnection();
  void SetLastError(const std::string& text);
  void SetStatus(int status);
  bool StopRequested() { return StopEvent().IsSet(); }

  // ControlHandler
  void OnStatus(const std::array<uint16_t, 5>& values) override;
  void OnDisconnectNotice() override;

  platform::Clock& clock_;
  NetListener* listener_ = nullptr;
  display::MouseRecorder* mouse_ = nullptr;
  int mouse_mode_ = 1;

  // Set before Start, read-only while the worker runs.
  bool use_ddns_ = false;
  std::string dvr_address_;
  uint16_t dvr_port_ = 0;
  std::string password_;
  std::string ddns_address_;
  uint16_t ddns_port_ = 0;
  std::string dvr_name_;
  std::atomic<uint32_t> timeout_ms_{5000};

  std::atomic<int> status_{kIdle};
  std::atomic<bool> logged_in_{false};
  bool ddns_resolved_ = false;
  mutable std::mutex mutex_;  // guards the texts and values below; held only for a moment
  std::string last_error_;
  std::array<uint16_t, 5> status_values_{};
  // The worker opens and closes socket_. While logged_in_ is set, packets go out on it under
  // send_mutex_ from any thread, and the worker closes it only under that lock (after shutting it
  // down, which ends any wait for room at once).
  std::mutex send_mutex_;
  platform::TcpSocket socket_;
  platform::TcpSocket ddns_socket_;  // worker thread only

  engine::FrameQueue video_queue_{"Default"};
  engine::FrameQueue audio_queue_{"Default"};
  StreamParser parser_;
  std::vector<uint8_t> read_buffer_;
  std::atomic<uint64_t> bytes_received_{0};
  uint32_t last_data_ = 0;   // worker thread only: when data last came
  uint32_t last_mouse_ = 0;  // worker thread only: when the last mouse packet left
};

}  // namespace dvr::net
