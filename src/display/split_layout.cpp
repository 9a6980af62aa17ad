#include "display/split_layout.h"

#include <algorithm>
#include <cmath>

namespace dvr::display {

bool SplitLayout::SetSplit(int split, int page) {
  if (split < 1 || split > slot_count_) return false;
  if (page == -1) {
    if (split == split_) {
      page = page_ + 1;
      if (page >= PagesFor(split)) page = 0;
    } else {
      page = 0;
    }
  }
  split_ = split;
  page_ = page;
  if (split != 1) {
    last_multi_split_ = split;
    last_multi_page_ = page;
  }
  return true;
}

void SplitLayout::LayoutSlots(int width, int height) {
  int d = static_cast<int>(std::sqrt(static_cast<double>(split_)));
  if (d * d != split_ || d == 0) ++d;
  const int tile_width = width / d, tile_height = height / d;
  const int extra_columns = width - d * tile_width, extra_rows = height - d * tile_height;
  int slot = 0;
  for (int page = 0; page < PagesFor(split_); ++page) {
    for (int k = 0; k < split_ && slot < slot_count_ && slot < kMaxSlots; ++k, ++slot) {
      const int column = k % d, row = k / d;
      Rect& r = rects_[static_cast<size_t>(slot)];
      r.left = column * tile_width + std::min(column, extra_columns);
      r.right = r.left + tile_width + (column < extra_columns ? 1 : 0);
      r.top = row * tile_height + std::min(row, extra_rows);
      r.bottom = r.top + tile_height + (row < extra_rows ? 1 : 0);
      visible_[static_cast<size_t>(slot)] = page == page_;
    }
  }
}

std::optional<std::pair<int, int>> SplitLayout::DoubleClickTarget(int x, int y) const {
  if (split_ == 4 || split_ == 9 || split_ == 16) {
    for (int slot = 0; slot < slot_count_ && slot < kMaxSlots; ++slot) {
      if (visible_[static_cast<size_t>(slot)] && rects_[static_cast<size_t>(slot)].Contains(x, y)) {
        return std::make_pair(1, slot);
      }
    }
    return {};
  }
  return std::make_pair(last_multi_split_, last_multi_page_);
}

}  // namespace dvr::display
