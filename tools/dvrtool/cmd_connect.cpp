// dvrtool connect: a live session with a DVR on the real engine, headless. Pictures go to an
// offscreen screen (or nowhere, with --no-display), sound to the null device; status changes, the
// login result, the DVR's status reports and once a second the traffic are printed. A recording
// can be cut into a new file at fixed intervals, its oldest files removed, unattended.
#include <QImage>

#include <atomic>
#include <cinttypes>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "audio/audio_converter.h"
#include "cli.h"
#include "commands.h"
#include "display/qt/offscreen_presenter.h"
#include "engine/viewer_engine.h"
#include "headless_qt.h"
#include "media/recording_writer.h"
#include "net/protocol.h"
#include "password_source.h"
#include "platform/clock.h"
#include "platform/notices.h"
#include "platform/socket.h"
#include "recording_retention.h"

namespace dvrtool {
namespace {

struct ConnectOptions {
  std::string dvr;   // HOST[:PORT]
  std::string ddns;  // HOST[:PORT]
  std::string name;
  std::optional<std::string> password;
  std::optional<std::string> password_file;
  std::string variant;
  uint32_t timeout_ms = 7000;
  double seconds = 0;
  std::string record_dir;
  double rotate_minutes = 0;  // 0: one file
  int keep_days = 0;          // 0: keep every file
  bool no_display = false;
  std::vector<int> keys;
  int mouse_mode = 1;
  std::string snapshot;
  bool json = false;
};

// What the client reports, from its own thread.
class Events final : public dvr::net::NetListener {
 public:
  void OnStatusReport() override { ++reports; }
  void OnDisconnected() override { disconnected = true; }
  void OnLoginFailed() override { login_failed = true; }
  void OnConnectionStatus(int status) override {
    std::lock_guard lock(mutex);
    statuses.push_back(status);
  }
  std::vector<int> TakeStatuses() {
    std::lock_guard lock(mutex);
    return std::exchange(statuses, {});
  }

  std::mutex mutex;
  std::vector<int> statuses;  // guarded by mutex
  std::atomic<uint64_t> reports{0};
  std::atomic<bool> disconnected{false};
  std::atomic<bool> login_failed{false};
};

struct Endpoint {
  std::string host;
  uint16_t port;
};

Endpoint ParseEndpoint(const std::string& text, uint16_t default_port) {
  const auto colon = text.rfind(':');
  if (colon == std::string::npos) return {text, default_port};
  const std::string port = text.substr(colon + 1);
  char* end = nullptr;
  const unsigned long value = std::strtoul(port.c_str(), &end, 10);
  if (port.empty() || *end != '\0' || value == 0 || value > 65535) UsageError("bad port in '" + text + "'");
  return {text.substr(0, colon), static_cast<uint16_t>(value)};
}

void PrintStatus(int status, bool json) {
  if (json) {
    PrintLine(JsonLine().Add("type", "status").Add("status", status).Add("name", dvr::net::NetStatusName(status)).Text());
  } else {
    PrintLine("status " + std::to_string(status) + " " + dvr::net::NetStatusName(status));
  }
}

void PrintReport(const std::array<uint16_t, 5>& values, bool json) {
  std::string list;
  for (uint16_t v : values) list += (list.empty() ? "" : json ? "," : " ") + std::to_string(v);
  PrintLine(json ? JsonLine().Add("type", "report").AddRaw("values", "[" + list + "]").Text() : "report " + list);
}

// Frames received; frames lost on the way to the screen and the recording: in the queues (full,
// or a frame too large for the live loop), or sound the device had no room for.
struct Totals {
  uint64_t video = 0, audio = 0, bytes = 0, lost = 0;
};

Totals TotalsOf(const dvr::engine::ViewerEngine& engine) {
  const dvr::net::NetClient& client = engine.Network();
  const auto& traffic = client.Traffic();
  return {traffic.video_frames.load(), traffic.audio_frames.load(), client.BytesReceived(),
          client.VideoQueue().Lost() + client.AudioQueue().Lost() + engine.Counters().audio_refused};
}

void PrintTraffic(const Totals& now, const Totals& before, uint64_t shown, bool json) {
  if (json) {
    PrintLine(JsonLine()
                  .Add("type", "traffic")
                  .Add("video_frames", now.video - before.video)
                  .Add("audio_frames", now.audio - before.audio)
                  .Add("bytes", now.bytes - before.bytes)
                  .Add("lost", now.lost - before.lost)
                  .Add("pictures_shown", shown)
                  .Text());
    return;
  }
  char text[160];
  std::snprintf(text, sizeof text, "%" PRIu64 " video frames, %" PRIu64 " audio frames, %" PRIu64 " bytes/s, %" PRIu64
                " lost, %" PRIu64 " pictures shown", now.video - before.video, now.audio - before.audio,
                now.bytes - before.bytes, now.lost - before.lost, shown);
  PrintLine(text);
}

// The recording folder's files as the session goes: the current one, when it began, the cut into
// the next and the removal of expired ones.
class RecordingFiles {
 public:
  RecordingFiles(const ConnectOptions& options, dvr::platform::Clock& clock)
      : folder_(options.record_dir),
        rotate_ms_(static_cast<uint32_t>(options.rotate_minutes * 60000)),
        keep_days_(options.keep_days),
        clock_(clock) {}

  // The name the next file would get now.
  std::string NameNow() const { return (folder_ / dvr::media::RecordingFileName(std::time(nullptr))).string(); }
  const std::string& Current() const { return current_; }

  // The recording began in `path`.
  void Began(const std::string& path) {
    current_ = path;
    begun_ = clock_.Tick();
    RemoveExpired();
  }
  // Arms the cut once the interval is over; returns the new file's path once the writer has
  // moved there (nothing otherwise).
  std::optional<std::string> Follow(dvr::engine::ViewerEngine& engine) {
    if (rotate_ms_ == 0) return std::nullopt;
    const std::string path = engine.RecordingPath();
    if (!path.empty() && path != current_) {
      current_ = path;
      // The next cut is due an interval after this one was, wherever the cut fell; after a pause
      // longer than an interval (no full picture came) the count starts afresh.
      begun_ += rotate_ms_;
      if (clock_.Since(begun_) >= rotate_ms_) begun_ = clock_.Tick();
      RemoveExpired();
      return path;
    }
    if (clock_.Since(begun_) < rotate_ms_) return std::nullopt;
    // Once a second at most, a name not taken yet: a failed creation is tried again.
    const std::string next = NameNow();
    if (next != armed_ && !std::filesystem::exists(next)) {
      armed_ = next;
      engine.ContinueRecordingIn(next);
    }
    return std::nullopt;
  }

 private:
  void RemoveExpired() const {
    if (keep_days_ <= 0) return;
    const auto removed = RemoveExpiredRecordings(folder_, std::chrono::hours(24 * keep_days_),
                                                 std::filesystem::file_time_type::clock::now());
    for (const auto& path : removed) std::fprintf(stderr, "dvrtool: removed expired %s\n", path.c_str());
  }

  std::filesystem::path folder_;
  uint32_t rotate_ms_;
  int keep_days_;
  dvr::platform::Clock& clock_;
  std::string current_, armed_;
  uint32_t begun_ = 0;
};

void PrintRecording(const std::string& path, bool json) {
  PrintLine(json ? JsonLine().Add("type", "recording").Add("path", path).Text() : "recording to " + path);
}

void RunConnect(const ConnectOptions& options) {
  if (options.dvr.empty() == options.ddns.empty()) UsageError("give either HOST[:PORT] or --ddns HOST[:PORT]");
  if (!options.ddns.empty() && options.name.empty()) UsageError("--ddns needs --name");
  if (options.mouse_mode < 0 || options.mouse_mode > 2) UsageError("--mouse-mode takes 0, 1 or 2");
  if (options.timeout_ms == 0) UsageError("--timeout must be above 0");
  if (options.rotate_minutes < 0) UsageError("--rotate takes minutes above 0");
  if (options.keep_days < 0) UsageError("--keep-days takes a number of days above 0");
  if ((options.rotate_minutes > 0 || options.keep_days > 0) && options.record_dir.empty()) {
    UsageError("--rotate and --keep-days need --record");
  }
  const int variant = ResolveVariant(options.variant);
  if (options.rotate_minutes > 0 && variant == 0) UsageError("--rotate cannot cut the legacy layout (variant 0)");
  const std::string password = ResolvePassword(options.password, options.password_file);
  dvr::platform::Clock& clock = dvr::platform::SystemClock();
  RecordingFiles files(options, clock);
  std::string recording;
  if (!options.record_dir.empty()) {
    std::error_code error;
    std::filesystem::create_directories(options.record_dir, error);
    if (error) Fail("cannot create " + options.record_dir);
    recording = files.NameNow();
    // A restart within the same second must not truncate what the last run recorded.
    if (std::filesystem::exists(recording)) Fail(recording + " exists already");
  }

  HeadlessQt qt;
  dvr::platform::StderrNotices notices;
  dvr::display::OffscreenPresenter screen(640, 448);
  dvr::engine::ViewerEngine engine(screen, nullptr, notices, clock);
  engine.Setup(variant, dvr::audio::SelectAudioFormat(dvr::audio::BuildAudioFormat(), notices), 4,
               dvr::audio::kSampleRate, 4);
  engine.SetMode(dvr::engine::kNetworkMode, 0xFFFFFFFF);
  engine.SetNetTimeout(options.timeout_ms);
  engine.SetMouseMode(options.mouse_mode);
  engine.SetShowLivePictures(!options.no_display);
  Events events;
  engine.SetNetListener(&events);

  bool started;
  if (options.ddns.empty()) {
    const Endpoint dvr = ParseEndpoint(options.dvr, dvr::net::kDefaultDvrPort);
    started = engine.ConnectDirect(dvr::platform::ResolveIpv4(dvr.host), dvr.port, password);
  } else {
    const Endpoint ddns = ParseEndpoint(options.ddns, dvr::net::kDefaultDdnsPort);
    // The viewer takes the DDNS address as a dotted address; here a host name is welcome too.
    started = engine.ConnectDdns(dvr::platform::ResolveIpv4(ddns.host), ddns.port, options.name, password);
  }
  if (!started) Fail(engine.NetLastError());

  // Ends a session that failed: logs out if need be, prints the last status changes, exits 1.
  const auto fail_session = [&](const std::string& why) {
    engine.Disconnect();
    for (int status : events.TakeStatuses()) PrintStatus(status, options.json);
    Fail(why);
  };

  CatchInterrupts();
  const uint32_t begun = clock.Tick();
  uint32_t last_report = begun;
  bool logged_in = false;
  uint64_t reports_seen = 0;
  Totals before;
  std::string ended = "time";
  for (;;) {
    clock.Sleep(10);
    for (int status : events.TakeStatuses()) PrintStatus(status, options.json);
    if (!logged_in && engine.LoggedIn()) {
      logged_in = true;
      PrintLine(options.json ? JsonLine().Add("type", "login").Add("result", "accepted").Text() : "login accepted");
      for (int key : options.keys) {
        const bool sent = engine.SendKey(key);
        PrintLine(options.json ? JsonLine().Add("type", "key").Add("code", key).Add("sent", sent).Text()
                               : "key " + std::to_string(key) + (sent ? " sent" : " not sent"));
      }
      if (!recording.empty() && !engine.IsRecording()) {
        if (!engine.StartRecording(recording)) Fail("cannot create " + recording);
        PrintRecording(recording, options.json);
        files.Began(recording);
      }
    }
    if (const auto next = files.Follow(engine)) {
      recording = *next;
      PrintRecording(recording, options.json);
    }
    for (const uint64_t reports = events.reports; reports_seen < reports; reports_seen = reports) {
      PrintReport(engine.NetStatusValues(), options.json);
    }
    if (clock.Since(last_report) >= 1000) {
      last_report += 1000;
      const Totals totals = TotalsOf(engine);
      PrintTraffic(totals, before, engine.Counters().shown[0], options.json);
      before = totals;
    }
    std::fflush(stdout);
    if (events.login_failed) {
      const std::string error = engine.NetLastError();
      fail_session(error.empty() ? "LOGIN ERROR" : error);
    }
    if (events.disconnected) fail_session("Disconnected by server.");
    if (Interrupted()) {
      ended = "interrupted";
      break;
    }
    if (options.seconds > 0 && clock.Since(begun) >= options.seconds * 1000) break;
  }
  if (!logged_in) {
    // Still waiting for the DVR's answer, or retrying a connect that fails at once.
    const std::string error = engine.NetLastError();
    fail_session(error.empty() ? "No response from server." : error);
  }
  const bool recorded = engine.StopRecording();
  engine.Disconnect();  // logs out first when logged in
  for (int status : events.TakeStatuses()) PrintStatus(status, options.json);
  if (!options.snapshot.empty() && !screen.Snapshot().save(QString::fromStdString(options.snapshot), "PNG")) {
    Fail("cannot write " + options.snapshot);
  }
  const Totals totals = TotalsOf(engine);
  const uint64_t shown = engine.Counters().shown[0];
  if (options.json) {
    JsonLine line;
    line.Add("type", "summary").Add("logged_in", logged_in).Add("video_frames", totals.video);
    line.Add("audio_frames", totals.audio).Add("bytes", totals.bytes).Add("lost", totals.lost);
    line.Add("pictures_shown", shown).Add("ended", ended);
    recorded ? line.Add("recording", recording) : line.AddNull("recording");
    PrintLine(line.Text());
  } else {
    char text[200];
    std::snprintf(text, sizeof text, "%" PRIu64 " video frames, %" PRIu64 " audio frames, %" PRIu64 " bytes, %" PRIu64
                  " lost, %" PRIu64 " pictures shown%s", totals.video, totals.audio, totals.bytes, totals.lost, shown,
                  ended == "interrupted" ? " (interrupted)" : "");
    PrintLine(text);
    if (recorded) PrintLine("recorded " + recording);
  }
}

}  // namespace

void AddConnectCommand(CLI::App& app) {
  auto options = std::make_shared<ConnectOptions>();
  CLI::App* command = app.add_subcommand("connect", "log into a DVR and show its live stream, headless");
  command->add_option("HOST", options->dvr, "the DVR as HOST[:PORT] (port 8841 if none)");
  command->add_option("--ddns", options->ddns, "look the DVR up at this DDNS service, HOST[:PORT] (port 1800)");
  command->add_option("--name", options->name, "the DVR's name at the DDNS service");
  command->add_option("--password", options->password,
                      "the login password, typed in by hand: others can see it in the process list");
  command->add_option("--password-file", options->password_file,
                      "read the login password from the first line of FILE (chmod 600 it)")
      ->type_name("FILE");
  command->add_option("--timeout", options->timeout_ms, "network time-out in ms (default 7000)");
  command->add_option("--seconds", options->seconds, "log out after this many seconds (default: at Ctrl+C)");
  command->add_option("--record", options->record_dir, "record the live stream into a new NDF file in DIR");
  command->add_option("--rotate", options->rotate_minutes,
                      "with --record, a new file every MINUTES (fractions too: 0.5 is 30 s)")
      ->type_name("MINUTES");
  command->add_option("--keep-days", options->keep_days,
                      "with --record, remove this tool's recordings older than N days from DIR (at the start "
                      "and at each new file)")
      ->type_name("N");
  command->add_flag("--no-display", options->no_display,
                    "neither decode nor show pictures: record only, at a fraction of the processor");
  command->add_option("--key", options->keys, "send this remote-control key code after login (repeatable)");
  command->add_option("--mouse-mode", options->mouse_mode, "0 off, 1 as is (default), 2 with the DVR's cursor");
  command->add_option("--variant", options->variant, "layout of the local recording: 0..6 or its name");
  command->add_option("--snapshot", options->snapshot, "save the last screen as PNG at the end");
  command->add_flag("--json", options->json, "one JSON object per line");
  command->footer(
      "The password comes from exactly one of --password-file, the environment's DVR_PASSWORD_FILE (a file) or "
      "DVR_PASSWORD (the password), or --password; the first three keep it out of the process list.");
  command->callback([options] { RunConnect(*options); });
}

}  // namespace dvrtool
