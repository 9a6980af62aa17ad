#pragma once
// The last picture of every slot (planar YUV 4:2:0), its size, its time and whether it has one
// since the last clear. Not thread safe: the presenter's lock guards it.
#include <array>
#include <cstdint>
#include <vector>

#include "display/split_layout.h"
#include "media/ndf_time.h"

namespace dvr::display {

class SlotStore {
 public:
  SlotStore();

  // Sizes a slot takes: 320 or 640 wide, 112, 136, 224 or 272 high.
  static bool AcceptedSize(int width, int height);

  // Copies the picture into the slot; false (nothing stored) for a slot outside 0 .. count - 1
  // or a size not accepted.
  bool Store(int slot, int slot_count, const media::FrameTime& time, const uint8_t* picture,
             int width, int height);
  // Every slot forgets that it has a picture (the pictures themselves stay).
  void ForgetPictures() { has_picture_.fill(false); }

  const uint8_t* Picture(int slot) const { return pictures_[Index(slot)].data(); }
  int Width(int slot) const { return widths_[Index(slot)]; }
  int Height(int slot) const { return heights_[Index(slot)]; }
  bool HasPicture(int slot) const { return has_picture_[Index(slot)]; }
  const media::FrameTime& Time(int slot) const { return times_[Index(slot)]; }

 private:
  static size_t Index(int slot) { return static_cast<size_t>(slot) % kMaxSlots; }

  std::array<std::vector<uint8_t>, kMaxSlots> pictures_;
  std::array<int, kMaxSlots> widths_, heights_;
  std::array<bool, kMaxSlots> has_picture_{};
  std::array<media::FrameTime, kMaxSlots> times_{};
};

}  // namespace dvr::display
