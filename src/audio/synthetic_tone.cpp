#include "audio/synthetic_tone.h"

#include <cmath>

#include "audio/audio_format.h"
#include "media/ndf_format.h"

namespace dvr::audio {
namespace {

// Nothing inside an audio frame may look like the start of the next frame.
void ScrubStartCodes(std::vector<uint8_t>& frame) {
  for (size_t i = 4; i < frame.size(); ++i) {
    if (frame[i - 3] == 0 && frame[i - 2] == 0 && frame[i - 1] == 1 &&
        media::KindOfStartCode(frame[i]) != media::FrameKind::kNone) {
      frame[i - 1] = 0x03;
    }
  }
}

}  // namespace

uint8_t CompressALaw(int sample) {
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

void MakeToneFrame(std::vector<uint8_t>& frame, int channel, uint64_t first_sample) {
  frame.assign({0x00, 0x00, 0x01, static_cast<uint8_t>(media::kAudioStartFirst + channel), 0x00, 0x00});
  const double frequency = 440.0 * (channel + 1);
  for (int i = 0; i < kToneFrameSamples; ++i) {
    const double t = static_cast<double>(first_sample + static_cast<uint64_t>(i)) / kSampleRate;
    frame.push_back(CompressALaw(static_cast<int>(8000 * std::sin(2 * M_PI * frequency * t))));
  }
  ScrubStartCodes(frame);
}

}  // namespace dvr::audio
