#include "display/split_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace dvr::display {
namespace {

std::vector<Rect> Tiles(SplitLayout& layout, int width, int height, int count) {
  layout.LayoutSlots(width, height);
  std::vector<Rect> rects;
  for (int slot = 0; slot < count; ++slot) rects.push_back(layout.SlotRect(slot));
  return rects;
}

TEST(SplitLayout, TilesCoverTheAreaExactly) {
  SplitLayout layout;
  layout.SetSlotCount(4);
  ASSERT_TRUE(layout.SetSplit(4, 0));
  EXPECT_EQ(Tiles(layout, 640, 448, 4),
            (std::vector<Rect>{{0, 0, 320, 224}, {320, 0, 640, 224}, {0, 224, 320, 448}, {320, 224, 640, 448}}));
  // Leftover pixels go one each to the first columns and rows.
  EXPECT_EQ(Tiles(layout, 641, 449, 4),
            (std::vector<Rect>{{0, 0, 321, 225}, {321, 0, 641, 225}, {0, 225, 321, 449}, {321, 225, 641, 449}}));

  layout.SetSlotCount(9);
  ASSERT_TRUE(layout.SetSplit(9, 0));
  const auto nine = Tiles(layout, 640, 480, 9);
  EXPECT_EQ(nine[0], (Rect{0, 0, 214, 160}));
  EXPECT_EQ(nine[1], (Rect{214, 0, 427, 160}));
  EXPECT_EQ(nine[2], (Rect{427, 0, 640, 160}));
  EXPECT_EQ(nine[8], (Rect{427, 320, 640, 480}));
}

TEST(SplitLayout, PagesAndTheStepToTheNextOne) {
  SplitLayout layout;
  layout.SetSlotCount(16);
  ASSERT_TRUE(layout.SetSplit(9, 0));
  layout.LayoutSlots(640, 480);
  for (int slot = 0; slot < 16; ++slot) EXPECT_EQ(layout.SlotVisible(slot), slot < 9) << slot;
  ASSERT_TRUE(layout.SetSplit(9, -1));
  layout.LayoutSlots(640, 480);
  EXPECT_FALSE(layout.SlotVisible(8));
  EXPECT_TRUE(layout.SlotVisible(9));
  EXPECT_EQ(layout.SlotRect(9), layout.SlotRect(0));   // page 1 starts in the first position
  EXPECT_EQ(layout.SlotRect(15), (Rect{0, 320, 214, 480}));  // seventh position; two stay empty
  ASSERT_TRUE(layout.SetSplit(9, -1));
  EXPECT_EQ(layout.GetSplit(), std::make_pair(9, 0));  // wrapped
}

TEST(SplitLayout, SplitsBeyondTheSlotsAreRefused) {
  SplitLayout layout;
  layout.SetSlotCount(4);
  ASSERT_TRUE(layout.SetSplit(4, 0));
  EXPECT_FALSE(layout.SetSplit(9, -1));
  EXPECT_FALSE(layout.SetSplit(0, 0));
  EXPECT_FALSE(layout.SetSplit(-1, 0));
  EXPECT_EQ(layout.GetSplit(), std::make_pair(4, 0));
  // The single-screen command walks through the slots; its first press changes the split.
  for (int slot = 0; slot < 4; ++slot) {
    ASSERT_TRUE(layout.SetSplit(1, -1));
    EXPECT_EQ(layout.GetSplit(), std::make_pair(1, slot));
  }
  ASSERT_TRUE(layout.SetSplit(1, -1));
  EXPECT_EQ(layout.GetSplit(), std::make_pair(1, 0));
}

TEST(SplitLayout, DoubleClickOpensTheTileAndReturnsToItsPage) {
  SplitLayout layout;
  layout.SetSlotCount(16);
  ASSERT_TRUE(layout.SetSplit(4, 2));  // slots 8..11
  layout.LayoutSlots(640, 448);
  const auto target = layout.DoubleClickTarget(10, 300);  // bottom left: slot 10
  ASSERT_TRUE(target);
  EXPECT_EQ(*target, std::make_pair(1, 10));
  ASSERT_TRUE(layout.SetSplit(target->first, target->second));
  layout.LayoutSlots(640, 448);
  const auto back = layout.DoubleClickTarget(320, 200);
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, std::make_pair(4, 2));
  ASSERT_TRUE(layout.SetSplit(back->first, back->second));
  layout.LayoutSlots(640, 448);
  EXPECT_FALSE(layout.DoubleClickTarget(700, 10));  // outside every tile: nothing changes
}

}  // namespace
}  // namespace dvr::display
