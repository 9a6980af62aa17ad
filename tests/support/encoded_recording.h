#pragma once
// Recordings with real, decodable pictures, built frame by frame for engine tests.
#include <cstdint>
#include <vector>

#include "codec/frame_encoder.h"
#include "support/ndf_builder.h"

namespace dvr::test {

class EncodedRecording {
 public:
  explicit EncodedRecording(int variant = 4, uint32_t height = 224);

  // A picture of `channel`'s scene at `seconds`, encoded with these options (channel and variant
  // filled in).
  EncodedRecording& Video(int channel, double seconds, codec::EncodeOptions options = {});
  // An audio frame: start code, two skipped bytes, `samples` A-law codes.
  EncodedRecording& Audio(unsigned channel, size_t samples);
  // Any bytes, such as a hand-made frame.
  EncodedRecording& Raw(const std::vector<uint8_t>& bytes);

  size_t Frames() const { return frames_; }
  // The NDF image: a closing frame start code after the last frame, so that it is delivered too.
  std::vector<uint8_t> Build(uint32_t first_time = 1700000000, uint8_t pacing = 1) const;

 private:
  int variant_;
  uint32_t height_;
  NdfBuilder builder_;
  size_t frames_ = 0;
};

}  // namespace dvr::test
