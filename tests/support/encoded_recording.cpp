#include "support/encoded_recording.h"

#include <string>

#include "codec/synthetic_scene.h"
#include "media/variant.h"

namespace dvr::test {

EncodedRecording::EncodedRecording(int variant, uint32_t height)
    : variant_(variant), height_(height), builder_(variant == media::kBigEndianVariant) {}

EncodedRecording& EncodedRecording::Video(int channel, double seconds, codec::EncodeOptions options) {
  const codec::SyntheticScene scene(channel, 640, height_, 1);
  std::vector<uint8_t> picture(640 * height_ * 3 / 2), frame;
  scene.Render(seconds, "00:00:00", picture.data());
  options.variant = variant_;
  options.channel = channel;
  codec::FrameEncoder().Encode(picture.data(), 640, height_, options, nullptr, frame);
  builder_.Append(frame);
  ++frames_;
  return *this;
}

EncodedRecording& EncodedRecording::Audio(unsigned channel, size_t samples) {
  builder_.Append(AudioFrame(channel, samples));
  ++frames_;
  return *this;
}

EncodedRecording& EncodedRecording::Raw(const std::vector<uint8_t>& bytes) {
  builder_.Append(bytes);
  return *this;
}

std::vector<uint8_t> EncodedRecording::Build(uint32_t first_time, uint8_t pacing) const {
  NdfBuilder closed = builder_;
  closed.Append({0x00, 0x00, 0x01, 0xF8});
  return closed.Build(first_time, pacing);
}

}  // namespace dvr::test
