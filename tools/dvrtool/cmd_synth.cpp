// dvrtool synth: writes a recording laid out as a DVR lays it out (channels interleaved, pacing
// counts matching the frame rate, true block times, optional A-law audio), so that tests, demos
// and benchmarks never need files from elsewhere.
//
// The pictures are placeholders until the encoder exists: a frame header in the variant's layout
// and one slice per macroblock row with noise for data.
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

#include "cli.h"
#include "commands.h"
#include "media/ndf_format.h"
#include "media/ndf_packer.h"
#include "media/ndf_time.h"
#include "media/variant.h"
#include "platform/file.h"
#include "platform/local_time.h"

namespace dvrtool {
namespace {

using dvr::media::kAudioStartFirst;

struct SynthOptions {
  std::string output;
  int channels = 4;
  double seconds = 10;
  double fps = 0;  // pictures per second of the whole recording; 0: 30, or 25 with --pal
  bool pal = false;
  std::string variant;
  int quality = 4;
  bool audio = false;
  uint64_t seed = 1;
  std::string start;
};

constexpr int kAudioSampleRate = 8000;
constexpr int kAudioFrameSamples = 400;  // 50 ms

class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
  uint64_t Next() {
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return state_ * 0x2545F4914F6CDD1Dull;
  }
  void Fill(std::vector<uint8_t>& out, size_t n) {
    for (size_t i = 0; i < n; i += 8) {
      const uint64_t bits = Next();
      for (size_t b = 0; b < 8 && i + b < n; ++b) out.push_back(static_cast<uint8_t>(bits >> 8 * b));
    }
  }

 private:
  uint64_t state_;
};

// Nothing inside a frame may look like the start of the next one.
void ScrubStartCodes(std::vector<uint8_t>& frame) {
  for (size_t i = 4; i < frame.size(); ++i) {
    if (frame[i - 3] == 0 && frame[i - 2] == 0 && frame[i - 1] == 1 &&
        dvr::media::KindOfStartCode(frame[i]) != dvr::media::FrameKind::kNone) {
      frame[i - 1] = 0x03;
    }
  }
}

// G.711 A-law of a 16-bit sample.
uint8_t LinearToALaw(int sample) {
  static constexpr int kSegmentEnds[8] = {0x1F, 0x3F, 0x7F, 0xFF, 0x1FF, 0x3FF, 0x7FF, 0xFFF};
  int value = sample >> 3;
  int mask = 0xD5;
  if (value < 0) {
    mask = 0x55;
    value = -value - 1;
  }
  int segment = 0;
  while (segment < 8 && value > kSegmentEnds[segment]) ++segment;
  if (segment == 8) return static_cast<uint8_t>(0x7F ^ mask);
  const int mantissa = (segment < 2 ? value >> 1 : value >> segment) & 0x0F;
  return static_cast<uint8_t>(((segment << 4) | mantissa) ^ mask);
}

// Frame interval the player uses for this variant and picture height, in microseconds.
int FrameIntervalMicros(int variant, bool pal) {
  const bool slow = variant == 0 || variant == 2;
  if (!pal) return slow ? 33333 : 16666;
  return slow ? 25000 : 12500;
}

void AppendVideoFrame(std::vector<uint8_t>& frame, int variant, int channel, int quality, bool pal,
                      uint16_t counter, Random& random) {
  const bool flagged_start = variant != 0 && variant != 2;  // full frame, told by F9
  frame = {0x00, 0x00, 0x01, flagged_start ? dvr::media::kVideoStartFlagged : dvr::media::kVideoStart};
  switch (variant) {
    case 0: frame.push_back(static_cast<uint8_t>(0x80 | quality << 3 | (channel & 3))); break;
    case 2:
      frame.push_back(static_cast<uint8_t>(0x80 | quality << 3));
      frame.push_back(static_cast<uint8_t>(counter >> 8));
      frame.push_back(static_cast<uint8_t>(counter));
      break;
    case 5:
      frame.push_back(static_cast<uint8_t>(quality << 4 | channel));
      frame.push_back(0x00);  // a single-channel picture
      break;
    default: frame.push_back(static_cast<uint8_t>(quality << 4 | channel)); break;
  }
  const int rows = pal ? 17 : 14;
  for (int row = 0; row < rows; ++row) {
    frame.insert(frame.end(), {0x00, 0x00, 0x01, static_cast<uint8_t>(row << 3)});
    random.Fill(frame, 500 + random.Next() % 400);
  }
  ScrubStartCodes(frame);
}

void AppendAudioFrame(std::vector<uint8_t>& frame, int channel, uint64_t first_sample) {
  frame = {0x00, 0x00, 0x01, static_cast<uint8_t>(kAudioStartFirst + channel), 0x00, 0x00};
  const double frequency = 440.0 * (channel + 1);
  for (int i = 0; i < kAudioFrameSamples; ++i) {
    const double t = static_cast<double>(first_sample + static_cast<uint64_t>(i)) / kAudioSampleRate;
    frame.push_back(LinearToALaw(static_cast<int>(8000 * std::sin(2 * M_PI * frequency * t))));
  }
  ScrubStartCodes(frame);
}

void RunSynth(const SynthOptions& options) {
  const int variant = ResolveVariant(options.variant);
  if (options.channels < 1 || options.channels > 16) UsageError("--channels takes 1..16");
  if (variant == 0 && options.channels > 4) UsageError("variant 0 carries channels 0..3 only");
  if (!(options.seconds > 0 && options.seconds <= 86400)) UsageError("--seconds takes (0, 86400]");
  if (options.quality < 1 || options.quality > 14) UsageError("--quality takes 1..14");
  const double fps = options.fps > 0 ? options.fps : options.pal ? 25 : 30;
  if (fps > 1000) UsageError("--fps takes at most 1000");

  const int32_t bias = dvr::platform::StandardBiasSeconds();
  uint32_t start = 0;
  if (options.start.empty()) {
    start = static_cast<uint32_t>(std::time(nullptr));
  } else {
    const auto time = dvr::media::ParseFrameTime(options.start);
    const auto field = time ? dvr::media::ToTimeField(*time, bias) : std::nullopt;
    if (!field) UsageError("--start wants \"YYYY-MM-DD HH:MM:SS\", not '" + options.start + "'");
    start = *field;
  }

  dvr::platform::File file;
  if (!file.Create(options.output)) Fail("cannot create " + options.output);
  dvr::media::NdfPacker packer(file, variant == dvr::media::kBigEndianVariant);
  const double pictures_per_interval = 1e6 / (fps * FrameIntervalMicros(variant, options.pal));
  const auto pacing = static_cast<uint8_t>(
      std::clamp(std::lround(pictures_per_interval) - 1, long{0}, long{127}));

  Random random(options.seed);
  std::vector<uint8_t> frame;
  frame.reserve(dvr::media::kFrameCapacity);
  const auto video_frames = static_cast<uint64_t>(options.seconds * fps);
  const int audio_channels = options.audio ? std::min(options.channels, 4) : 0;
  const double audio_period = static_cast<double>(kAudioFrameSamples) / kAudioSampleRate;
  uint64_t audio_index = 0, audio_frames = 0;
  bool ok = true;
  for (uint64_t k = 0; k < video_frames && ok; ++k) {
    const double now = static_cast<double>(k) / fps;
    // Audio that falls before this picture goes first, every audio channel in turn.
    for (; audio_channels > 0 && static_cast<double>(audio_index) * audio_period <= now;
         ++audio_index) {
      for (int channel = 0; channel < audio_channels && ok; ++channel) {
        AppendAudioFrame(frame, channel, audio_index * kAudioFrameSamples);
        const auto time = start + static_cast<uint32_t>(static_cast<double>(audio_index) * audio_period);
        ok = packer.Append(frame.data(), frame.size(), time, pacing);
        ++audio_frames;
      }
    }
    AppendVideoFrame(frame, variant, static_cast<int>(k % static_cast<uint64_t>(options.channels)),
                     options.quality, options.pal, static_cast<uint16_t>(k), random);
    ok = ok && packer.Append(frame.data(), frame.size(), start + static_cast<uint32_t>(now), pacing);
  }
  if (!ok || !packer.Finish()) {
    file.Close();
    dvr::platform::RemoveFile(options.output);
    Fail("cannot write " + options.output);
  }
  char text[240];
  std::snprintf(text, sizeof text,
                "wrote %s: %" PRIu64 " video frames on %d channels, %" PRIu64
                " audio frames, %" PRIu64 " bytes, pacing %u",
                options.output.c_str(), video_frames, options.channels, audio_frames,
                packer.Total(), pacing);
  PrintLine(text);
}

}  // namespace

void AddSynthCommand(CLI::App& app) {
  auto options = std::make_shared<SynthOptions>();
  CLI::App* command = app.add_subcommand("synth", "write a synthetic recording");
  command->add_option("-o,--output", options->output, "recording to write")->required();
  command->add_option("--channels", options->channels, "camera channels 1..16 (default 4)");
  command->add_option("--seconds", options->seconds, "length in seconds (default 10)");
  command->add_option("--fps", options->fps,
                      "pictures per second over all channels (default 30, or 25 with --pal)");
  command->add_flag("--pal", options->pal, "PAL-type pictures (272 lines) instead of NTSC (224)");
  command->add_option("--variant", options->variant, "video variant 0..6 or its name");
  command->add_option("--quality", options->quality, "quality index 1..14 (default 4)");
  command->add_flag("--audio", options->audio, "add A-law audio, one tone per audio channel");
  command->add_option("--seed", options->seed, "seed of the picture noise (default 1)");
  command->add_option("--start", options->start,
                      "time of the first block, \"YYYY-MM-DD HH:MM:SS\" local (default now)");
  command->callback([options] { RunSynth(*options); });
}

}  // namespace dvrtool
