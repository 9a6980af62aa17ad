#pragma once
// A DVR on 127.0.0.1 for tests, demos and benchmarks: the DVR's side of the login and the live
// stream, with the misbehaviour a client must survive on request (pending replies, refusals,
// silence, a disconnect notice, writes split at odd byte positions). One session at a time; every
// packet the client sends is logged.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "live_source.h"
#include "platform/socket.h"
#include "platform/worker_thread.h"

namespace dvr::sim {

struct DvrSimOptions {
  uint16_t port = 0;  // 0: any free port
  std::string password;
  double fps = 30;            // pictures per second; 0: as fast as the client takes them
  double status_every = 0;    // seconds between status reports (0: none); each goes inside a picture
  int pending_replies = 0;    // "pending" login replies before the answer
  bool replies_together = false;  // those, the answer and the first frame in one write
  int refuse_reason = 0;      // refuse every login with this reason (0: check the password)
  uint16_t refuse_code = 2;   // 2 or 4
  bool never_answer = false;  // take the login and say nothing
  std::optional<uint16_t> reply_length_field;  // in every login reply instead of its true 16
  uint32_t disconnect_after_ms = 0;  // the disconnect notice, this long into the first session
  uint32_t silent_after_ms = 0;      // the first session falls silent this long into the stream ...
  uint32_t silent_for_ms = 0;        // ... for this long
  bool split_writes = false;         // cut every write into pieces at odd positions
  bool stop_reading = false;         // streams on, but reads nothing the client sends after its login
  uint64_t video_limit = 0;          // pictures per session (0: no end)
  // The simulator's thread; a benchmark sharing the processor with the client may lower it.
  platform::ThreadPriority priority = platform::ThreadPriority::kNormal;
};

struct DvrSimCounters {
  uint64_t sessions = 0;
  uint64_t logins = 0;  // accepted
  uint64_t video_frames = 0;
  uint64_t audio_frames = 0;
  uint64_t status_reports = 0;
  uint64_t bytes = 0;
};

class DvrSimulator final : public platform::WorkerThread {
 public:
  using Clock = std::chrono::steady_clock;
  // Called on the simulator's thread with every log line.
  using LogSink = std::function<void(const std::string&)>;
  // Called on the simulator's thread when the last byte of a picture has been handed to the socket.
  using SentSink = std::function<void(uint64_t picture, Clock::time_point when)>;

  DvrSimulator(DvrSimOptions options, LiveSource& source);
  ~DvrSimulator() override;

  // Listens and starts serving; false with the reason when the port cannot be had.
  bool Start(std::string& error);
  uint16_t Port() const { return listener_.Port(); }

  void SetLogSink(LogSink sink) { log_sink_ = std::move(sink); }
  void SetSentSink(SentSink sink) { sent_sink_ = std::move(sink); }
  // "connect", "login accepted", "login refused 2", "key 11", "mouse 257 640 448 10 20", "logout",
  // "closed", "disconnect notice", "silent", "status 1 2 3 4 5".
  std::vector<std::string> Log() const;
  DvrSimCounters Counters() const;

 protected:
  void Run() override;

 private:
  enum class Session { kGoOn, kEnd };
  void Serve(platform::TcpSocket& client, bool first);
  bool AwaitLogin(platform::TcpSocket& client, bool& password_ok);
  void Stream(platform::TcpSocket& client, bool first, std::vector<uint8_t>& opening);
  // Reads what the client sent and logs its packets; kEnd when it logged out or went away.
  Session ReadClient(platform::TcpSocket& client, int64_t wait_us);
  // While streaming: ReadClient, or only the wait when the DVR has stopped reading.
  Session Listen(platform::TcpSocket& client, int64_t wait_us);
  bool Send(platform::TcpSocket& client, const uint8_t* data, size_t size);
  bool SendPicture(platform::TcpSocket& client, const std::vector<uint8_t>& frame, bool with_status);
  void AddLog(const std::string& line);
  bool Stopping() { return StopEvent().IsSet(); }

  DvrSimOptions options_;
  LiveSource& source_;
  platform::TcpListener listener_;
  LogSink log_sink_;
  SentSink sent_sink_;
  std::vector<uint8_t> received_;  // client bytes not yet a whole packet
  std::vector<uint8_t> scratch_;
  LiveUnit unit_;
  bool awaiting_login_ = false;
  uint16_t status_value_ = 0;
  size_t split_index_ = 0;

  mutable std::mutex mutex_;
  std::vector<std::string> log_;  // guarded by mutex_
  DvrSimCounters counters_;       // guarded by mutex_
};

}  // namespace dvr::sim
