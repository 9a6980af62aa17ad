#include "display/slot_store.h"

#include <cstring>

#include "codec/channel_pictures.h"
#include "codec/frame_decoder.h"

namespace dvr::display {

SlotStore::SlotStore() {
  widths_.fill(640);
  heights_.fill(224);
  for (auto& picture : pictures_) {
    picture.resize(codec::kMaxPictureBytes);
    codec::FillBlack(picture.data(), 640, 224);
  }
}

bool SlotStore::AcceptedSize(int width, int height) {
  return (width == 320 || width == 640) &&
         (height == 112 || height == 136 || height == 224 || height == 272);
}

bool SlotStore::Store(int slot, int slot_count, const media::FrameTime& time, const uint8_t* picture,
                      int width, int height) {
  if (slot < 0 || slot >= slot_count || slot >= kMaxSlots || !AcceptedSize(width, height)) return false;
  const size_t i = Index(slot);
  std::memcpy(pictures_[i].data(), picture, static_cast<size_t>(width) * static_cast<size_t>(height) * 3 / 2);
  widths_[i] = width;
  heights_[i] = height;
  has_picture_[i] = true;
  times_[i] = time;
  return true;
}

}  // namespace dvr::display
