#pragma once
// Where each picture slot goes: the slot count, the split (tiles per page: 1, 4, 9 or 16 in a
// square grid), the page on screen, each tile's pixel rectangle, and the double-click switch
// between one slot full-window and the multi-tile page it came from. Not thread safe: the
// presenter's lock guards it.
#include <array>
#include <optional>
#include <utility>

namespace dvr::display {

inline constexpr int kMaxSlots = 16;

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Contains(int x, int y) const { return left <= x && x < right && top <= y && y < bottom; }
  bool operator==(const Rect&) const = default;
};

class SplitLayout {
 public:
  void SetSlotCount(int count) { slot_count_ = count; }
  int SlotCount() const { return slot_count_; }

  // Fails for a split below 1 or above the slot count. A page of -1 steps to the next page of
  // the same split (wrapping to 0), or to page 0 of a new split.
  bool SetSplit(int split, int page);
  std::pair<int, int> GetSplit() const { return {split_, page_}; }
  int Pages() const { return PagesFor(split_); }

  // The tiles of every slot for a drawing area of width x height.
  void LayoutSlots(int width, int height);
  const Rect& SlotRect(int slot) const { return rects_[static_cast<size_t>(slot)]; }
  bool SlotVisible(int slot) const { return visible_[static_cast<size_t>(slot)]; }

  // The (split, page) a left double-click at (x, y) switches to: from a 4, 9 or 16 split the
  // visible slot under the point alone, from the single view back to the last multi-tile page.
  // Nothing when the click is outside every visible tile. Needs a LayoutSlots first.
  std::optional<std::pair<int, int>> DoubleClickTarget(int x, int y) const;

 private:
  int PagesFor(int split) const { return (slot_count_ + split - 1) / split; }

  int slot_count_ = 1;
  int page_ = 0;
  int split_ = 1;
  int last_multi_split_ = 1;
  int last_multi_page_ = 0;
  std::array<Rect, kMaxSlots> rects_{};
  std::array<bool, kMaxSlots> visible_{};
};

// The last mouse event over the picture, for the DVR's mouse remote control. Written on the
// window's thread, read and cleared by the network client's.
struct MouseReport {
  int state = 0;  // 0 moving, 1 left held, 2 right held, 3 left double-click, 4 right double-click
  int x = 0, y = 0;
  int width = 0, height = 0;
  bool pending = false;
};

}  // namespace dvr::display
