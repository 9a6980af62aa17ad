// dvrtool sim: a DVR (and, if asked, its DDNS service) on 127.0.0.1, streaming a recording or
// synthetic cameras to whoever logs in; every packet a client sends is printed.
#include <cstdio>
#include <fstream>
#include <memory>
#include <mutex>

#include "cli.h"
#include "commands.h"
#include "ddns_simulator.h"
#include "dvr_simulator.h"
#include "live_source.h"
#include "net/protocol.h"
#include "platform/clock.h"
#include "platform/notices.h"

namespace dvrtool {
namespace {

struct SimOptions {
  dvr::sim::DvrSimOptions dvr;
  uint16_t port = dvr::net::kDefaultDvrPort;
  std::string source;
  std::string variant;
  int synthetic = 0;
  bool pal = false;
  int quality = 4;
  int ddns_port = -1;  // -1: the usual 1800
  bool ddns_wrong_magic = false;
  std::string name;
  std::string log;
  double seconds = 0;
  bool json = false;
};

void RunSim(SimOptions& options) {
  if (!options.source.empty() && options.synthetic > 0) UsageError("give --source or --synthetic, not both");
  if (options.synthetic < 0 || options.synthetic > 16) UsageError("--synthetic takes 1..16 cameras");
  if (options.quality < 1 || options.quality > 14) UsageError("--quality takes 1..14");
  if (options.dvr.fps < 0) UsageError("--fps must not be negative");
  if (options.dvr.refuse_code != 2 && options.dvr.refuse_code != 4) UsageError("--refuse-code takes 2 or 4");
  if (options.ddns_port >= 0 && options.name.empty()) UsageError("--ddns-port needs --name");
  if (options.ddns_port > 65535) UsageError("--ddns-port takes 0..65535");
  if (options.name.size() > dvr::net::kMaxDvrNameBytes) UsageError("--name takes at most 8 bytes");

  dvr::platform::StderrNotices notices;
  std::unique_ptr<dvr::sim::LiveSource> source;
  if (!options.source.empty()) {
    auto recording = std::make_unique<dvr::sim::RecordingLiveSource>(notices);
    if (!recording->Open(options.source, ResolveVariant(options.variant))) {
      Fail("cannot stream " + options.source + ": no video frames can be read from it");
    }
    source = std::move(recording);
  } else {
    source = std::make_unique<dvr::sim::SyntheticLiveSource>(options.synthetic > 0 ? options.synthetic : 4,
                                                             options.dvr.fps, options.pal, options.quality);
  }

  std::ofstream log_file;
  if (!options.log.empty()) {
    log_file.open(options.log, std::ios::app);
    if (!log_file) Fail("cannot write " + options.log);
  }
  std::mutex print_mutex;
  const auto print = [&](const std::string& line) {
    std::lock_guard lock(print_mutex);
    PrintLine(options.json ? JsonLine().Add("type", "packet").Add("line", line).Text() : line);
    std::fflush(stdout);
    if (log_file) log_file << line << std::endl;
  };

  options.dvr.port = options.port;
  dvr::sim::DvrSimulator dvr(options.dvr, *source);
  dvr.SetLogSink(print);
  std::string error;
  if (!dvr.Start(error)) Fail("cannot listen on port " + std::to_string(options.port) + ": " + error);
  const auto announce = [&](const char* what, uint16_t port) {
    std::lock_guard lock(print_mutex);
    PrintLine(options.json ? JsonLine().Add("type", "listening").Add("service", what).Add("port", port).Text()
                           : std::string(what) + " listening on 127.0.0.1:" + std::to_string(port));
    std::fflush(stdout);
  };
  announce("dvr", dvr.Port());

  std::unique_ptr<dvr::sim::DdnsSimulator> ddns;
  if (!options.name.empty()) {
    dvr::sim::DdnsSimOptions ddns_options;
    ddns_options.port = options.ddns_port < 0 ? dvr::net::kDefaultDdnsPort : static_cast<uint16_t>(options.ddns_port);
    ddns_options.name = options.name;
    ddns_options.dvr_port = dvr.Port();
    ddns_options.wrong_magic = options.ddns_wrong_magic;
    ddns = std::make_unique<dvr::sim::DdnsSimulator>(ddns_options);
    if (!ddns->Start(error)) Fail("cannot listen on port " + std::to_string(ddns_options.port) + ": " + error);
    announce("ddns", ddns->Port());
  }

  CatchInterrupts();
  dvr::platform::Clock& clock = dvr::platform::SystemClock();
  const uint32_t begun = clock.Tick();
  while (!Interrupted() && (options.seconds <= 0 || clock.Tick() - begun < options.seconds * 1000)) clock.Sleep(20);
  dvr.Stop();
  if (ddns) ddns->Stop();
  const auto c = dvr.Counters();
  std::lock_guard lock(print_mutex);
  if (options.json) {
    PrintLine(JsonLine()
                  .Add("type", "summary")
                  .Add("sessions", c.sessions)
                  .Add("logins", c.logins)
                  .Add("video_frames", c.video_frames)
                  .Add("audio_frames", c.audio_frames)
                  .Add("status_reports", c.status_reports)
                  .Add("bytes", c.bytes)
                  .Text());
  } else {
    PrintLine(std::to_string(c.sessions) + " sessions, " + std::to_string(c.logins) + " logins, " +
              std::to_string(c.video_frames) + " video frames, " + std::to_string(c.audio_frames) +
              " audio frames, " + std::to_string(c.bytes) + " bytes sent");
  }
}

}  // namespace

void AddSimCommand(CLI::App& app) {
  auto options = std::make_shared<SimOptions>();
  CLI::App* command = app.add_subcommand("sim", "simulate a DVR (and its DDNS service) on 127.0.0.1");
  command->add_option("--port", options->port, "the DVR's port (default 8841; 0 takes a free one)");
  command->add_option("--password", options->dvr.password, "the password logins must give")->required();
  command->add_option("--source", options->source, "stream this NDF recording, from the start again at its end");
  command->add_option("--variant", options->variant, "the recording's video variant: 0..6 or its name");
  command->add_option("--synthetic", options->synthetic, "stream N synthetic cameras in a split screen (default 4)");
  command->add_flag("--pal", options->pal, "synthetic pictures 640 x 272 instead of 640 x 224");
  command->add_option("--quality", options->quality, "synthetic picture quality 1..14 (default 4)");
  command->add_option("--fps", options->dvr.fps, "pictures per second (default 30; 0: as fast as taken)");
  command->add_option("--status-every", options->dvr.status_every, "seconds between status reports (default none)");
  command->add_option("--pending", options->dvr.pending_replies, "send this many 'pending' login replies first");
  command->add_flag("--replies-together", options->dvr.replies_together,
                    "send the login replies and the first frame in one write");
  command->add_option("--refuse", options->dvr.refuse_reason, "refuse every login with this reason (1, 2, 3 ...)");
  command->add_option("--refuse-code", options->dvr.refuse_code, "reply code of a refusal: 2 (default) or 4");
  command->add_flag("--never-answer", options->dvr.never_answer, "take the login and never answer it");
  command->add_option("--disconnect-after", options->dvr.disconnect_after_ms,
                      "send the disconnect notice this many ms into the first session");
  command->add_option("--silent-after", options->dvr.silent_after_ms, "fall silent this many ms into the first session");
  command->add_option("--silent-for", options->dvr.silent_for_ms, "... for this many ms");
  command->add_flag("--split-writes", options->dvr.split_writes, "cut every write at odd byte positions");
  command->add_option("--pictures", options->dvr.video_limit,
                      "send this many pictures a session, then nothing (default: no end)");
  command->add_option("--ddns-port", options->ddns_port, "answer DDNS requests on this port (default 1800; 0 takes a free one)");
  command->add_option("--name", options->name, "the DVR's name at the DDNS service");
  command->add_flag("--ddns-wrong-magic", options->ddns_wrong_magic, "answer DDNS requests with another magic");
  command->add_option("--log", options->log, "also append every logged line to this file");
  command->add_option("--seconds", options->seconds, "stop after this many seconds (default: at Ctrl+C)");
  command->add_flag("--json", options->json, "one JSON object per line");
  command->callback([options] { RunSim(*options); });
}

}  // namespace dvrtool
