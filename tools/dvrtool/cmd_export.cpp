// dvrtool export: a recording to a video file through the real engine, composed as the viewer
// composes its AVI export (the split screen with labels, or one channel full-frame), as fast as
// the machine goes: the engine runs on a clock that never really waits.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <memory>
#include <optional>
#include <set>
#include <thread>

#include "audio/audio_converter.h"
#include "cli.h"
#include "codec/frame_decoder.h"
#include "commands.h"
#include "display/qt/offscreen_presenter.h"
#include "engine/viewer_engine.h"
#include "evidence_files.h"
#include "export/avi_writer.h"
#include "export/export_rate.h"
#include "frame_walk.h"
#include "headless_qt.h"
#include "media/ndf_time.h"
#include "media/variant.h"
#include "platform/clock.h"
#include "platform/file.h"
#include "platform/notices.h"
#include "time_range.h"

namespace dvrtool {
namespace {

constexpr int kProbeFrames = 4000;

struct ExportOptions {
  SourceOptions source;
  std::string output;
  std::string codec;
  int quality = 0;
  int64_t bit_rate = 0;
  int key_frame_interval = 0;
  int split = 0;  // 0: by the recording's channels
  int page = 0;
  int channel = -1;
  std::string start, end;
  bool no_labels = false;
  bool no_audio = false;
  bool keep_partial = false;
  std::string audio_format;
};

// What the export needs to know before it starts: channels, picture height, pacing, audio.
struct Probe {
  std::set<int> channels;
  int height = 224;
  int pacing = 0;
  bool audio = false;
};

Probe ProbeRecording(const std::string& path, const SourceOptions& source) {
  dvr::platform::StderrNotices notices;
  dvr::media::RecordingReader reader(notices);
  SourceOptions options = source;
  options.path = path;
  OpenSource(reader, options);
  dvr::codec::FrameDecoder decoder;
  decoder.Init(reader.Variant());
  FrameWalk walk(reader, false, false);
  Probe probe;
  for (int n = 0; n < kProbeFrames;) {
    const FrameWalk::Step step = walk.Next();
    if (step == FrameWalk::Step::kEnd) break;
    if (step == FrameWalk::Step::kBadBlock) continue;
    const dvr::media::MediaFrame& frame = walk.Frame();
    if (n++ == 0) probe.pacing = frame.pacing;
    if (frame.is_audio) {
      probe.audio = true;
      continue;
    }
    if (decoder.ParseHeader(frame.payload.data(), frame.length) == 0) continue;
    probe.height = static_cast<int>(decoder.PictureHeight());
    if (decoder.dual()) {
      if (!decoder.a_absent()) probe.channels.insert(decoder.channel_a());
      if (!decoder.b_absent()) probe.channels.insert(decoder.channel_b());
    } else {
      probe.channels.insert(decoder.Channel());
    }
  }
  return probe;
}

std::string Clock(double seconds) {
  const auto s = static_cast<int64_t>(seconds);
  char text[32];
  std::snprintf(text, sizeof text, "%02" PRId64 ":%02" PRId64 ":%02" PRId64, s / 3600, s / 60 % 60, s % 60);
  return text;
}

int SplitFor(size_t channels) { return channels >= 10 ? 16 : channels >= 5 ? 9 : channels >= 2 ? 4 : 1; }

void RunExport(const ExportOptions& options) {
  if (options.output.empty()) UsageError("-o OUT is required");
  if (options.split != 0 && options.split != 1 && options.split != 4 && options.split != 9 && options.split != 16) {
    UsageError("--split takes 1, 4, 9 or 16");
  }
  if (options.channel < -1 || options.channel > 15) UsageError("--channel takes 0..15");
  if (options.quality < 0 || options.quality > 51) UsageError("--quality takes 1..31 (H.264: 0..51)");
  if (options.quality > 0 && options.bit_rate > 0) UsageError("give --quality or --bitrate, not both");
  if (options.bit_rate < 0 || options.key_frame_interval < 0) UsageError("--bitrate and --keyint must not be negative");
  if (options.page < 0) UsageError("--page must not be negative");
  const std::string codec = options.codec.empty() ? dvr::exporting::DefaultVideoEncoderFor(options.output) : options.codec;
  const auto encoders = dvr::exporting::AvailableVideoEncoders();
  if (std::find(encoders.begin(), encoders.end(), codec) == encoders.end()) {
    std::string list;
    for (const auto& name : encoders) list += (list.empty() ? "" : ", ") + name;
    UsageError("unknown video encoder '" + codec + "' (this build has " + list + ")");
  }
  const int variant = ResolveVariant(options.source.variant);
  dvr::platform::StderrNotices notices;
  int audio_format = dvr::audio::SelectAudioFormat(dvr::audio::BuildAudioFormat(), notices);
  if (!options.audio_format.empty()) {
    const auto code = dvr::audio::ParseAudioFormat(options.audio_format);
    if (!code) UsageError("unknown audio format '" + options.audio_format + "'");
    audio_format = *code;
  }

  // A time span is cut out first (whole blocks), and that is exported.
  std::string source_path = options.source.path;
  bool source_is_disk = options.source.disk;
  std::string range_copy;
  std::optional<dvr::exporting::EvidenceFacts> evidence;  // of a time span's export
  if (!options.start.empty() || !options.end.empty()) {
    const uint32_t start = options.start.empty() ? 0 : TimeField(options.start, "--start");
    const uint32_t stop = options.end.empty() ? UINT32_MAX : TimeField(options.end, "--end");
    if (start > stop) UsageError("--start lies after --end");
    dvr::media::RecordingReader reader(notices);
    OpenSource(reader, options.source);
    const auto [from, to] = ByteRangeForTimes(reader, options.source, start, stop);
    const uint64_t last = std::min(to, reader.Size() - 1);
    range_copy = options.output + ".range.NDF";
    if (!reader.ExportRange(from, last, range_copy)) {
      Fail("cannot cut the time span out into " + range_copy + " (at most 1 GiB, in a writable folder)");
    }
    evidence.emplace();
    evidence->source_path = options.source.path;
    evidence->source_size = reader.Size();
    evidence->first_byte = from;
    evidence->last_byte = last;
    dvr::exporting::ReadRecordingFacts(range_copy, variant, *evidence);
    source_path = range_copy;
    source_is_disk = false;
  }
  struct RemoveCopy {
    std::string path;
    ~RemoveCopy() {
      if (!path.empty()) dvr::platform::RemoveFile(path);
    }
  } remove_copy{range_copy};
  SourceOptions probe_source = options.source;
  probe_source.disk = source_is_disk;
  const Probe probe = ProbeRecording(source_path, probe_source);
  if (probe.channels.empty()) Fail("no picture in " + options.source.path + " can be decoded");

  HeadlessQt qt;
  dvr::platform::ManualClock clock;  // pacing waits take no time
  dvr::display::OffscreenPresenter screen(640, 448);
  dvr::engine::ViewerEngine engine(screen, nullptr, notices, clock);
  const int channel_count = static_cast<int>(probe.channels.size());
  const int split = options.channel >= 0 ? 1 : options.split ? options.split : SplitFor(*probe.channels.rbegin() + 1);
  engine.Setup(variant, audio_format, 16, dvr::audio::kSampleRate, 4);
  engine.SetMode(dvr::engine::kPlayerMode, 16);
  SetViewerLabels(screen);
  if (options.no_labels) screen.SetLabelsEnabled(false);
  if (!screen.SetSplit(split, options.channel >= 0 ? options.channel : options.page)) {
    UsageError("--page " + std::to_string(options.page) + " is not a page of the " + std::to_string(split) + " split");
  }

  dvr::exporting::AviWriter& writer = engine.Avi();
  dvr::exporting::VideoEncoderChoice choice;
  choice.codec = codec;
  choice.quality = options.quality;
  choice.bit_rate = options.bit_rate;
  choice.key_frame_interval = options.key_frame_interval;
  writer.SetVideoEncoder(choice);
  writer.SetWithAudio(!options.no_audio && probe.audio);
  const int width = 640, height = 2 * probe.height;
  const auto header = dvr::exporting::ExportFrameHeader(width, height);
  const dvr::exporting::FrameRate rate =
      dvr::exporting::PlayerExportRate(channel_count, probe.height, variant, probe.pacing);
  const int opened = writer.Open(options.output, 24, width, height, &header, rate);
  if (opened != dvr::exporting::kAviOk) {
    Fail("cannot export to " + options.output + " (result " + std::to_string(opened) + ")");
  }
  engine.SetExportActive(true);
  if (!engine.OpenRecording(source_path, source_is_disk)) {
    writer.Close();
    Fail("cannot open " + options.source.path);
  }

  CatchInterrupts();
  const bool progress = isatty(STDERR_FILENO) != 0;
  const auto begun = std::chrono::steady_clock::now();
  bool ended = false;
  for (int round = 0;; ++round) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ended = engine.State() == dvr::engine::kPaused || engine.State() == dvr::engine::kStopped;
    if (progress && (round % 10 == 0 || ended)) {
      const double done = engine.Size() ? static_cast<double>(engine.Position()) / engine.Size() : 1;
      const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count();
      const auto counters = engine.Counters();
      const auto covered = static_cast<double>(SecondsBetween(counters.first_shown, counters.last_shown));
      std::fprintf(stderr, "\r%5.1f%%  %s of recording  %5.1fx  %s left ", 100 * done, Clock(covered).c_str(),
                   wall > 0 ? covered / wall : 0.0, Clock(done > 0 ? wall / done - wall : 0).c_str());
    }
    if (ended || Interrupted()) break;
  }
  if (progress) std::fputc('\n', stderr);
  screen.FlushExportFrame();  // the last pictures, which no later picture pushed out
  engine.SetExportActive(false);
  engine.CloseRecording();
  const uint32_t frames = writer.FramesWritten();
  const uint32_t samples = writer.AudioPosition();
  const uint32_t failures = writer.WriteFailures();
  writer.Close();
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count();
  const auto counters = engine.Counters();
  const double covered = std::max<double>(1, static_cast<double>(SecondsBetween(counters.first_shown, counters.last_shown)));
  if (Interrupted() && !options.keep_partial) {
    dvr::platform::RemoveFile(options.output);
    Fail("interrupted; " + options.output + " removed (--keep-partial keeps it)");
  }
  if (frames == 0) Fail("no picture was exported; " + options.output + " not written");
  if (failures > 0 && !options.keep_partial) {
    dvr::platform::RemoveFile(options.output);
    Fail(std::to_string(failures) + " frames could not be written; " + options.output + " removed");
  }
  const double seconds = frames / rate.PerSecond();
  if (options.source.json) {
    PrintLine(JsonLine()
                  .Add("type", "summary")
                  .Add("output", options.output)
                  .Add("codec", codec)
                  .Add("width", width)
                  .Add("height", height)
                  .Add("frame_rate", rate.PerSecond())
                  .Add("frames", frames)
                  .Add("audio_samples", samples)
                  .Add("seconds", seconds)
                  .Add("wall_seconds", wall)
                  .Add("recording_seconds", covered)
                  .Add("speed", wall > 0 ? covered / wall : 0.0)
                  .Add("ended", ended ? "end" : "interrupted")
                  .Text());
  } else {
    char text[300];
    std::snprintf(text, sizeof text,
                  "%s: %s %dx%d at %g frames/s, %u frames (%s), %u audio samples; %.2f s wall, "
                  "%.1fx real time",
                  options.output.c_str(), codec.c_str(), width, height, rate.PerSecond(), frames,
                  Clock(seconds).c_str(), samples, wall, wall > 0 ? covered / wall : 0.0);
    PrintLine(text);
  }
  if (evidence) {
    // What went into the video: the pictures composed into it, not all the span holds.
    evidence->video_channels = counters.exported_channels;
    evidence->first_picture = counters.first_exported;
    evidence->last_picture = counters.last_exported;
    if (options.no_audio) evidence->audio_channels = 0;
    WriteEvidenceFiles(options.output, *evidence, options.source.json);
  }
}

}  // namespace

void AddExportCommand(CLI::App& app) {
  auto options = std::make_shared<ExportOptions>();
  CLI::App* command = app.add_subcommand("export", "export a recording to AVI (or MP4, MKV) as the viewer composes it");
  AddSourceOptions(*command, options->source);
  command->add_option("-o,--output", options->output, "the video file: .avi, or .mp4, .mkv, .mov")->required();
  command->add_option("--codec", options->codec, "video encoder: mjpeg (AVI default), mpeg4, ffv1, huffyuv, rawvideo, libx264");
  command->add_option("--quality", options->quality, "1 (best) .. 31, for H.264 the CRF 0..51");
  command->add_option("--bitrate", options->bit_rate, "video bits per second instead of a quality");
  command->add_option("--keyint", options->key_frame_interval, "frames from one key frame to the next");
  command->add_option("--split", options->split, "tiles: 1, 4, 9 or 16 (default: by the recording's channels)");
  command->add_option("--page", options->page, "the page of the split to export (default 0)");
  command->add_option("--channel", options->channel, "export this channel (0..15) alone, full-frame");
  command->add_option("--start", options->start, "first time, \"YYYY-MM-DD HH:MM:SS\" local");
  command->add_option("--end", options->end, "last time, \"YYYY-MM-DD HH:MM:SS\" local");
  command->add_flag("--no-labels", options->no_labels, "no channel labels on the pictures");
  command->add_flag("--no-audio", options->no_audio, "no audio stream");
  command->add_option("--audio-format", options->audio_format, "the recording's audio format (default the build's)");
  command->add_flag("--keep-partial", options->keep_partial, "keep the file of an interrupted or failed export");
  command->callback([options] { RunExport(*options); });
}

}  // namespace dvrtool
