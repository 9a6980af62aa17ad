#pragma once
// A picture that looks like a camera's: a gradient background tinted per channel, a textured wall,
// fixed sensor noise, objects moving across, the channel number in large digits and a running
// clock. Test content for the encoder, the demo and the benchmarks.
#include <cstdint>
#include <string>
#include <vector>

namespace dvr::codec {

class SyntheticScene {
 public:
  SyntheticScene(int channel, uint32_t width, uint32_t height, uint64_t seed);

  // Draws the scene at `seconds` since it began, with `clock` ("HH:MM:SS") printed on it, into
  // `picture` (planar YUV 4:2:0, width x height x 3/2 bytes).
  void Render(double seconds, const std::string& clock, uint8_t* picture) const;

  uint32_t Width() const { return width_; }
  uint32_t Height() const { return height_; }

 private:
  int channel_;
  uint32_t width_, height_;
  std::vector<uint8_t> background_;  // luma with texture and noise, drawn once
  uint8_t tint_cb_, tint_cr_;
};

}  // namespace dvr::codec
