#pragma once
// A shown video window of 640 x 448 with 16 slots in a 4 split, labels on, as the viewer sets it.
#include <gtest/gtest.h>

#include <QTest>

#include "display/qt/display_window.h"
#include "window_pictures.h"

namespace dvr::test {

class DisplayWindowFixture : public testing::Test {
 protected:
  void SetUp() override {
    window_.resize(640, 448);
    window_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
    window_.SetSlotCount(16);
    window_.SetLabelsEnabled(true);
    window_.SetLabelFont(16, 0, 500, false, "Arial");
    window_.SetLabelTextColor(0x80FFFF);
    window_.SetLabelOutlineColor(0);
    window_.SetSplit(4, 0);
    Settle();
  }

  static media::FrameTime Time() { return {2009, 3, 0, 15, 14, 5, 9, 0}; }
  // Slots 0 .. count - 1, each in its own colour.
  void ShowSlots(int count) {
    for (int slot = 0; slot < count; ++slot) {
      const auto picture = SlotPicture(slot);
      ASSERT_TRUE(window_.ShowPicture(slot, Time(), picture.data(), 640, 224));
    }
  }
  // A tile of the 4 split in canvas pixels.
  QRect Tile(int position) const {
    const qreal ratio = window_.devicePixelRatioF();
    const int width = qRound(640 * ratio) / 2, height = qRound(448 * ratio) / 2;
    return QRect((position % 2) * width, (position / 2) * height, width, height);
  }

  display::DisplayWindow window_;
};

}  // namespace dvr::test
