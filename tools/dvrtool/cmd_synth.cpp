// dvrtool synth: a synthetic recording, so that tests, demos and benchmarks never need files from
// elsewhere.
#include <cinttypes>
#include <cstdio>
#include <ctime>
#include <memory>

#include "cli.h"
#include "commands.h"
#include "media/ndf_time.h"
#include "platform/local_time.h"
#include "synth_recording.h"

namespace dvrtool {
namespace {

struct SynthOptions {
  std::string output;
  SynthSettings settings;
  std::string variant;
  std::string start;
};

void RunSynth(SynthOptions options) {
  SynthSettings& s = options.settings;
  s.variant = ResolveVariant(options.variant);
  if (s.channels < 1 || s.channels > 16) UsageError("--channels takes 1..16");
  if (s.variant == 0 && s.channels > 4) UsageError("variant 0 carries channels 0..3 only");
  if (!(s.seconds > 0 && s.seconds <= 86400)) UsageError("--seconds takes (0, 86400]");
  if (s.quality < 1 || s.quality > 14) UsageError("--quality takes 1..14");
  if (s.audio_channels < 1 || s.audio_channels > 4) UsageError("--audio-channels takes 1..4");
  if (s.fps <= 0) s.fps = s.pal ? 25 : 30;
  if (s.fps > 1000) UsageError("--fps takes at most 1000");
  if (options.start.empty()) {
    s.start = static_cast<uint32_t>(std::time(nullptr));
  } else {
    const auto time = dvr::media::ParseFrameTime(options.start);
    const auto field = time ? dvr::media::ToTimeField(*time, dvr::platform::StandardBiasSeconds())
                            : std::nullopt;
    if (!field) UsageError("--start wants \"YYYY-MM-DD HH:MM:SS\", not '" + options.start + "'");
    s.start = *field;
  }
  SynthSummary summary;
  if (!WriteSyntheticRecording(options.output, s, summary)) Fail("cannot write " + options.output);
  char text[240];
  std::snprintf(text, sizeof text,
                "wrote %s: %" PRIu64 " pictures of 640x%d on %d channels, %" PRIu64
                " audio frames, %" PRIu64 " bytes, pacing %d",
                options.output.c_str(), summary.video_frames, s.pal ? 272 : 224, s.channels,
                summary.audio_frames, summary.bytes, summary.pacing);
  PrintLine(text);
}

}  // namespace

void AddSynthCommand(CLI::App& app) {
  auto options = std::make_shared<SynthOptions>();
  SynthSettings& s = options->settings;
  s.fps = 0;
  CLI::App* command = app.add_subcommand("synth", "write a synthetic recording");
  command->add_option("-o,--output", options->output, "recording to write")->required();
  command->add_option("--channels", s.channels, "camera channels 1..16 (default 4)");
  command->add_option("--seconds", s.seconds, "length in seconds (default 10)");
  command->add_option("--fps", s.fps, "pictures per second over all channels (default 30, 25 with --pal)");
  command->add_flag("--pal", s.pal, "PAL-type pictures, 640x272 (default NTSC-type, 640x224)");
  command->add_option("--variant", options->variant, "video variant 0..6 or its name");
  command->add_option("--quality", s.quality, "quality index 1..14 (default 4; lower is finer)");
  command->add_flag("--partial", s.partial, "code only what changed, a full picture every 30 per channel");
  command->add_flag("--audio", s.audio, "add A-law audio: a tone of 440 Hz x (audio channel + 1)");
  command->add_option("--audio-channels", s.audio_channels, "audio channels 1..4 (default 1)");
  command->add_option("--seed", s.seed, "seed of the scenes (default 1)");
  command->add_option("--start", options->start,
                      "time of the first block, \"YYYY-MM-DD HH:MM:SS\" local (default now)");
  command->callback([options] { RunSynth(*options); });
}

}  // namespace dvrtool
