// dvrtool connect: a live session with a DVR on the real engine, headless. Pictures go to an
// offscreen screen, sound to the null device; status changes, the login result, the DVR's status
// reports and once a second the traffic are printed.
#include <QImage>

#include <atomic>
#include <cinttypes>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>
#include <mutex>
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
#include "platform/clock.h"
#include "platform/notices.h"
#include "platform/socket.h"

namespace dvrtool {
namespace {

struct ConnectOptions {
  std::string dvr;   // HOST[:PORT]
  std::string ddns;  // HOST[:PORT]
  std::string name;
  std::string password;
  std::string variant;
  uint32_t timeout_ms = 7000;
  double seconds = 0;
  std::string record_dir;
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

void RunConnect(const ConnectOptions& options) {
  if (options.dvr.empty() == options.ddns.empty()) UsageError("give either HOST[:PORT] or --ddns HOST[:PORT]");
  if (!options.ddns.empty() && options.name.empty()) UsageError("--ddns needs --name");
  if (options.mouse_mode < 0 || options.mouse_mode > 2) UsageError("--mouse-mode takes 0, 1 or 2");
  if (options.timeout_ms == 0) UsageError("--timeout must be above 0");
  const int variant = ResolveVariant(options.variant);
  std::string recording;
  if (!options.record_dir.empty()) {
    std::error_code error;
    std::filesystem::create_directories(options.record_dir, error);
    if (error) Fail("cannot create " + options.record_dir);
    recording = (std::filesystem::path(options.record_dir) / dvr::media::RecordingFileName(std::time(nullptr))).string();
  }

  HeadlessQt qt;
  dvr::platform::StderrNotices notices;
  dvr::display::OffscreenPresenter screen(640, 448);
  dvr::platform::Clock& clock = dvr::platform::SystemClock();
  dvr::engine::ViewerEngine engine(screen, nullptr, notices, clock);
  engine.Setup(variant, dvr::audio::SelectAudioFormat(dvr::audio::BuildAudioFormat(), notices), 4,
               dvr::audio::kSampleRate, 4);
  engine.SetMode(dvr::engine::kNetworkMode, 0xFFFFFFFF);
  engine.SetNetTimeout(options.timeout_ms);
  engine.SetMouseMode(options.mouse_mode);
  Events events;
  engine.SetNetListener(&events);

  bool started;
  if (options.ddns.empty()) {
    const Endpoint dvr = ParseEndpoint(options.dvr, dvr::net::kDefaultDvrPort);
    started = engine.ConnectDirect(dvr::platform::ResolveIpv4(dvr.host), dvr.port, options.password);
  } else {
    const Endpoint ddns = ParseEndpoint(options.ddns, dvr::net::kDefaultDdnsPort);
    // The viewer takes the DDNS address as a dotted address; here a host name is welcome too.
    started = engine.ConnectDdns(dvr::platform::ResolveIpv4(ddns.host), ddns.port, options.name, options.password);
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
        PrintLine(options.json ? JsonLine().Add("type", "recording").Add("path", recording).Text()
                               : "recording to " + recording);
      }
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
  command->add_option("--password", options->password, "the login password")->required();
  command->add_option("--timeout", options->timeout_ms, "network time-out in ms (default 7000)");
  command->add_option("--seconds", options->seconds, "log out after this many seconds (default: at Ctrl+C)");
  command->add_option("--record", options->record_dir, "record the live stream into a new NDF file in DIR");
  command->add_option("--key", options->keys, "send this remote-control key code after login (repeatable)");
  command->add_option("--mouse-mode", options->mouse_mode, "0 off, 1 as is (default), 2 with the DVR's cursor");
  command->add_option("--variant", options->variant, "layout of the local recording: 0..6 or its name");
  command->add_option("--snapshot", options->snapshot, "save the last screen as PNG at the end");
  command->add_flag("--json", options->json, "one JSON object per line");
  command->callback([options] { RunConnect(*options); });
}

}  // namespace dvrtool
