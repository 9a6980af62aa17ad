#include "synth_recording.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "audio/audio_format.h"
#include "audio/synthetic_tone.h"
#include "codec/frame_decoder.h"
#include "codec/frame_encoder.h"
#include "codec/synthetic_scene.h"
#include "media/ndf_format.h"
#include "media/ndf_packer.h"
#include "media/ndf_time.h"
#include "media/variant.h"
#include "platform/file.h"
#include "platform/local_time.h"

namespace dvrtool {
namespace {

constexpr int kFullFrameEvery = 30;      // pictures of one channel between full pictures

// The player's wait per picture for this variant and picture height, in microseconds.
int FrameIntervalMicros(int variant, bool pal) {
  const bool slow = variant == 0 || variant == 2;
  if (!pal) return slow ? 33333 : 16666;
  return slow ? 25000 : 12500;
}

std::string ClockText(uint32_t time_field, int32_t bias) {
  const std::string text = dvr::media::FormatFrameTime(dvr::media::ConvertTime(time_field, bias));
  return text.substr(11);  // HH:MM:SS
}

// One camera: its scene and the picture it sent last (what a partial frame differs from).
struct Camera {
  std::unique_ptr<dvr::codec::SyntheticScene> scene;
  std::vector<uint8_t> last;
  uint64_t pictures = 0;
};

}  // namespace

bool WriteSyntheticRecording(const std::string& path, const SynthSettings& s, SynthSummary& summary) {
  dvr::platform::File file;
  if (!file.Create(path)) return false;
  dvr::media::NdfPacker packer(file, s.variant == dvr::media::kBigEndianVariant);
  const uint32_t height = s.pal ? 272 : 224;
  const double intervals = 1e6 / (s.fps * FrameIntervalMicros(s.variant, s.pal));
  summary.pacing = static_cast<int>(std::clamp(std::lround(intervals) - 1, long{0}, long{127}));
  const auto pacing = static_cast<uint8_t>(summary.pacing);
  const int32_t bias = dvr::platform::StandardBiasSeconds();
  // Layout 3 carries no channel: such a recorder sends one camera.
  const int channels = dvr::codec::HeaderLayout(s.variant) == 3 ? 1 : s.channels;

  std::vector<Camera> cameras(static_cast<size_t>(channels));
  for (int c = 0; c < channels; ++c) {
    cameras[static_cast<size_t>(c)].scene = std::make_unique<dvr::codec::SyntheticScene>(c, 640, height, s.seed);
  }
  dvr::codec::FrameEncoder encoder;
  std::vector<uint8_t> picture(dvr::codec::kMaxPictureBytes), frame;
  frame.reserve(dvr::media::kFrameCapacity);

  const auto pictures = static_cast<uint64_t>(s.seconds * s.fps);
  const int audio_channels = s.audio ? s.audio_channels : 0;
  const double audio_period = static_cast<double>(dvr::audio::kToneFrameSamples) / dvr::audio::kSampleRate;
  uint64_t audio_index = 0;
  bool ok = true;
  for (uint64_t k = 0; k < pictures && ok; ++k) {
    const double now = static_cast<double>(k) / s.fps;
    for (; audio_channels > 0 && static_cast<double>(audio_index) * audio_period <= now; ++audio_index) {
      const uint32_t time = s.start + static_cast<uint32_t>(static_cast<double>(audio_index) * audio_period);
      for (int channel = 0; channel < audio_channels && ok; ++channel) {
        dvr::audio::MakeToneFrame(frame, channel, audio_index * dvr::audio::kToneFrameSamples);
        ok = packer.Append(frame.data(), frame.size(), time, pacing);
        ++summary.audio_frames;
      }
    }
    const int channel = static_cast<int>(k % static_cast<uint64_t>(channels));
    Camera& camera = cameras[static_cast<size_t>(channel)];
    const uint32_t time = s.start + static_cast<uint32_t>(now);
    camera.scene->Render(now, ClockText(time, bias), picture.data());

    dvr::codec::EncodeOptions options;
    options.variant = s.variant;
    options.channel = channel;
    options.quality = s.quality;
    options.counter = static_cast<uint16_t>(k);
    options.full_frame = !s.partial || camera.pictures % kFullFrameEvery == 0;
    frame.clear();
    encoder.Encode(picture.data(), 640, height, options, camera.last.empty() ? nullptr : camera.last.data(), frame);
    if (s.partial) camera.last = picture;
    ++camera.pictures;
    ok = ok && packer.Append(frame.data(), frame.size(), time, pacing);
    ++summary.video_frames;
  }
  if (!ok || !packer.Finish()) {
    file.Close();
    dvr::platform::RemoveFile(path);
    return false;
  }
  summary.bytes = packer.Total();
  return true;
}

}  // namespace dvrtool
