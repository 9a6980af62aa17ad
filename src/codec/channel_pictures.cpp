#include "codec/channel_pictures.h"

#include <cstring>

namespace dvr::codec {

void FillBlack(uint8_t* picture, uint32_t width, uint32_t height) {
  const size_t luma = size_t{width} * height;
  std::memset(picture, 0, luma);
  std::memset(picture + luma, 128, luma / 2);
}

ChannelPictures::ChannelPictures() : scratch_(kMaxPictureBytes) {
  for (auto& picture : pictures_) {
    picture.resize(kMaxPictureBytes);
    FillBlack(picture.data(), Size{}.width, Size{}.height);
  }
}

const uint8_t* ChannelPictures::Decode(FrameDecoder& decoder, const uint8_t* frame, uint32_t length) {
  const size_t channel = Index(decoder.Channel());
  const uint32_t width = decoder.PictureWidth(), height = decoder.PictureHeight();
  const size_t bytes = size_t{width} * height * 3 / 2;
  if (bytes == 0 || bytes > scratch_.size()) return nullptr;
  Size& size = sizes_[channel];
  const bool same_size = size.width == width && size.height == height;
  if (!decoder.full_frame()) {
    // A partial frame builds on the channel's picture; one of another size gives nothing to keep.
    if (same_size) {
      std::memcpy(scratch_.data(), pictures_[channel].data(), bytes);
    } else {
      FillBlack(scratch_.data(), width, height);
    }
  }
  if (!decoder.DecodeFrame(frame, length, scratch_.data())) return nullptr;
  pictures_[channel].swap(scratch_);
  size = {width, height};
  return pictures_[channel].data();
}

}  // namespace dvr::codec
