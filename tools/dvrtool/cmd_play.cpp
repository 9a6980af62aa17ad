// dvrtool play: the real engine, headless. Pictures go to an offscreen screen, sound to the null
// device (at the sound card's pace); once a second a status line.
#include <QImage>

#include <atomic>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>

#include "audio/audio_converter.h"
#include "cli.h"
#include "commands.h"
#include "display/qt/offscreen_presenter.h"
#include "engine/viewer_engine.h"
#include "headless_qt.h"
#include "platform/clock.h"
#include "platform/notices.h"
#include "time_range.h"

namespace dvrtool {
namespace {

// How long the tool waits for the engine to take up a command before it goes on regardless.
constexpr uint32_t kCommandWaitMs = 5000;

struct PlayOptions {
  SourceOptions source;
  double speed = 1;
  bool backward = false;
  std::string start;  // a recording time to start at; empty: the start
  std::string end;    // the last recording time to play; empty: to the end
  int split = 4;
  double seconds = 0;  // 0: to the end
  bool repeat = false;
  int snapshot_every = 0;
  std::string snapshot_dir;
};

std::string ShownText(const dvr::engine::PlaybackCounters& c) {
  std::string text;
  for (size_t ch = 0; ch < c.shown.size(); ++ch) {
    if (c.shown[ch]) text += " ch" + std::to_string(ch + 1) + ":" + std::to_string(c.shown[ch]);
  }
  return text;
}

std::string ShownJson(const dvr::engine::PlaybackCounters& c) {
  std::string json = "{";
  for (size_t ch = 0; ch < c.shown.size(); ++ch) {
    if (!c.shown[ch]) continue;
    if (json.size() > 1) json += ',';
    json += "\"" + std::to_string(ch) + "\":" + std::to_string(c.shown[ch]);
  }
  return json + "}";
}

void RunPlay(const PlayOptions& options) {
  if (options.split != 1 && options.split != 4 && options.split != 9 && options.split != 16) {
    UsageError("--split takes 1, 4, 9 or 16");
  }
  if (!(options.speed == 1 || options.speed == 2 || options.speed == 4 || options.speed == 8 ||
        options.speed == 16 || options.speed == 32)) {
    UsageError("--speed takes 1, 2, 4, 8, 16 or 32");
  }
  if (options.snapshot_every < 0 || (options.snapshot_every > 0 && options.snapshot_dir.empty())) {
    UsageError("--snapshot-every N needs -o DIR");
  }
  if (options.snapshot_every > 0) {
    std::error_code error;
    std::filesystem::create_directories(options.snapshot_dir, error);
    if (error) Fail("cannot create " + options.snapshot_dir);
  }
  const int variant = ResolveVariant(options.source.variant);
  HeadlessQt qt;

  dvr::platform::StderrNotices notices;
  dvr::display::OffscreenPresenter screen(640, 448);
  dvr::engine::ViewerEngine engine(screen, nullptr, notices, dvr::platform::SystemClock());
  engine.Setup(variant, dvr::audio::SelectAudioFormat(dvr::audio::BuildAudioFormat(), notices), 4,
               dvr::audio::kSampleRate, 4);
  engine.SetMode(dvr::engine::kPlayerMode, static_cast<unsigned>(options.split));
  SetViewerLabels(screen);
  screen.SetSplit(options.split, 0);
  engine.SetRepeat(options.repeat);

  uint64_t snapshots = 0;
  dvr::platform::Clock& clock = dvr::platform::SystemClock();
  std::atomic<uint32_t> last_picture{0};  // tick of the last screen shown
  screen.OnPresent([&](const QImage& image) {
    last_picture = clock.Tick();
    if (options.snapshot_every > 0 && screen.PresentCount() % static_cast<uint64_t>(options.snapshot_every) == 0) {
      char file[64];
      std::snprintf(file, sizeof file, "/screen-%06" PRIu64 ".png", ++snapshots);
      image.save(QString::fromStdString(options.snapshot_dir + file), "PNG");
    }
  });

  std::optional<uint32_t> end;
  if (!options.end.empty()) {
    if (options.backward) UsageError("--end plays forward; leave out --backward");
    end = TimeField(options.end, "--end");
    if (!options.start.empty() && TimeField(options.start, "--start") > *end) UsageError("--start lies after --end");
  }
  // Forward play pauses before the first picture recorded after the end, which ends the run.
  engine.SetStopTime(end);
  const uint32_t started = clock.Tick();
  if (!engine.OpenRecording(options.source.path, options.source.disk)) {
    Fail("cannot open " + options.source.path + (options.source.disk ? " as a disk" : ""));
  }
  if (!options.start.empty()) {
    if (options.backward) UsageError("--start plays forward; leave out --backward");
    const uint64_t target = ByteAtTime(options.source, TimeField(options.start, "--start"));
    engine.Seek(target);
    while ((engine.State() != dvr::engine::kPaused || engine.Position() < target) &&
           clock.Tick() - started < kCommandWaitMs) {
      clock.Sleep(1);
    }
  } else if (options.backward) {
    // From the end: a seek into the last block leaves the reader at the end (showing the picture
    // that starts there, if one does); backward play goes on from there.
    const uint64_t size = engine.Size();
    engine.Seek(size > dvr::media::kBlockSize ? size - dvr::media::kBlockSize : 0);
    while (engine.State() != dvr::engine::kPaused && clock.Tick() - started < kCommandWaitMs) clock.Sleep(1);
  }
  if (options.speed >= 16) {
    // Fast play doubles from 8 once the worker plays in that direction.
    while (engine.Speed() < options.speed && clock.Tick() - started < kCommandWaitMs) {
      options.backward ? engine.FastBackward() : engine.FastForward();
      clock.Sleep(1);
    }
  } else if (options.backward) {
    engine.PlayBackward(options.speed);
  } else {
    engine.PlayForward(options.speed);
  }

  CatchInterrupts();
  uint32_t last_report = started;
  bool ended = false;
  for (;;) {
    clock.Sleep(20);
    dvr::media::FrameTime now;
    const uint32_t elapsed = clock.Tick() - started;
    ended = engine.State() == dvr::engine::kPaused && elapsed > 500;  // the engine pauses at the end
    const bool timed_out = options.seconds > 0 && elapsed >= options.seconds * 1000;
    if (clock.Tick() - last_report >= 1000 || ended || timed_out || Interrupted()) {
      last_report = clock.Tick();
      const auto counters = engine.Counters();
      const bool have_time = engine.CurrentTime(now);
      if (options.source.json) {
        JsonLine line;
        line.Add("type", "status").Add("state", dvr::engine::StateName(engine.State())).Add("speed", engine.Speed());
        line.Add("position", engine.Position());
        have_time ? line.Add("time", dvr::media::FormatFrameTime(now)) : line.AddNull("time");
        PrintLine(line.AddRaw("shown", ShownJson(counters)).Text());
      } else {
        char text[160];
        std::snprintf(text, sizeof text, "%-8s x %.1f  @%-12" PRIu64 " %s ", dvr::engine::StateName(engine.State()),
                      engine.Speed(), engine.Position(), have_time ? dvr::media::FormatFrameTime(now).c_str() : "-");
        PrintLine(text + ShownText(counters));
      }
      std::fflush(stdout);
    }
    if (ended || timed_out || Interrupted()) break;
  }
  engine.CloseRecording();
  const double wall = (clock.Tick() - started) / 1000.0;
  // Both ticks are from after the start: the difference cannot underflow.
  const double playing = last_picture ? (last_picture - started) / 1000.0 : 0.0;
  const auto counters = engine.Counters();
  uint64_t shown = 0;
  for (uint64_t n : counters.shown) shown += n;
  const int64_t covered = std::llabs(SecondsBetween(counters.first_shown, counters.last_shown));
  if (options.source.json) {
    PrintLine(JsonLine()
                  .Add("type", "summary")
                  .Add("pictures_shown", shown)
                  .Add("pictures_not_shown", counters.not_shown)
                  .Add("jumps", counters.jumps)
                  .Add("audio_bytes", counters.audio_bytes)
                  .Add("wall_seconds", wall)
                  .Add("seconds_to_last_picture", playing)
                  .Add("recording_seconds", covered)
                  .Add("snapshots", snapshots)
                  .Add("ended", ended ? "end" : Interrupted() ? "interrupted" : "time")
                  .Text());
  } else {
    char text[240];
    std::snprintf(text, sizeof text,
                  "%" PRIu64 " pictures shown, %" PRIu64 " not shown, %" PRIu64 " jumps, %" PRIu64
                  " audio bytes queued, %.2f s wall (%.2f s to the last picture), %" PRId64 " s of recording%s",
                  shown, counters.not_shown, counters.jumps, counters.audio_bytes, wall, playing, covered,
                  ended ? " (end)" : Interrupted() ? " (interrupted)" : "");
    PrintLine(text);
  }
}

}  // namespace

void AddPlayCommand(CLI::App& app) {
  auto options = std::make_shared<PlayOptions>();
  CLI::App* command = app.add_subcommand("play", "play a recording with the real engine, headless");
  AddSourceOptions(*command, options->source);
  command->add_option("--speed", options->speed, "1, 2, 4 or 8 (paced), 16 or 32 (skipping)");
  command->add_flag("--backward", options->backward, "play backward from the end");
  command->add_option("--start", options->start,
                      "start at this time, \"YYYY-MM-DD HH:MM:SS\" local (or the next recorded)");
  command->add_option("--end", options->end, "stop after the last picture recorded at or before this time");
  command->add_option("--split", options->split, "tiles on the screen: 1, 4, 9 or 16 (default 4)");
  command->add_option("--seconds", options->seconds, "stop after this many seconds");
  command->add_flag("--repeat", options->repeat, "start again at the end");
  command->add_option("--snapshot-every", options->snapshot_every, "save every Nth screen as PNG");
  command->add_option("-o,--output", options->snapshot_dir, "folder for the snapshots");
  command->callback([options] { RunPlay(*options); });
}

}  // namespace dvrtool
