#pragma once
// One picture per camera channel. A frame that codes only some macroblocks keeps the rest from
// the previous picture of its own channel: decoding every channel into one shared buffer would
// paint one camera's leftovers into another's picture.
//
// A picture changes only when a frame decodes completely; a frame that fails halfway leaves the
// channel's picture as it was.
#include <array>
#include <cstdint>
#include <vector>

#include "codec/frame_decoder.h"

namespace dvr::codec {

inline constexpr int kChannels = 16;

class ChannelPictures {
 public:
  ChannelPictures();

  // Decodes a frame that `decoder` has just parsed into the picture of its channel
  // (decoder.Channel(); for a two-channel picture its first channel). Returns that picture
  // (PictureWidth() x PictureHeight() x 3/2 bytes), or nullptr when the frame does not decode.
  const uint8_t* Decode(FrameDecoder& decoder, const uint8_t* frame, uint32_t length);

  // The channel's current picture and its size (black 640 x 224 before any frame).
  const uint8_t* Picture(int channel) const { return pictures_[Index(channel)].data(); }
  uint32_t Width(int channel) const { return sizes_[Index(channel)].width; }
  uint32_t Height(int channel) const { return sizes_[Index(channel)].height; }

 private:
  struct Size {
    uint32_t width = 640, height = 224;
  };
  static size_t Index(int channel) { return static_cast<size_t>(channel) & (kChannels - 1); }

  std::array<std::vector<uint8_t>, kChannels> pictures_;
  std::array<Size, kChannels> sizes_;
  std::vector<uint8_t> scratch_;  // the next picture while it is decoded
};

// Fills a picture with black: Y 0, Cb and Cr 128.
void FillBlack(uint8_t* picture, uint32_t width, uint32_t height);

}  // namespace dvr::codec
