#include "display/presenter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "codec/channel_pictures.h"
#include "display/labels.h"
#include "platform/clock.h"
#include "support/recording_presenter.h"

namespace dvr::display {
namespace {

media::FrameTime Time(int hour, int minute, int second) {
  media::FrameTime t;
  t.year = 2009;
  t.month = 3;
  t.day = 15;
  t.hour = static_cast<uint16_t>(hour);
  t.minute = static_cast<uint16_t>(minute);
  t.second = static_cast<uint16_t>(second);
  return t;
}

TEST(Labels, ChannelNameAndTime) {
  const auto t = Time(14, 5, 9);
  EXPECT_EQ(LabelText(2, t, true, true, "%Y/%m/%d %H:%M:%S"), "CH3 2009/03/15 14:05:09");
  EXPECT_EQ(LabelText(0, t, true, false, "%Y"), "CH1 ");
  EXPECT_EQ(LabelText(15, t, false, true, "%Y"), "CH16 ");  // a cleared slot shows no time
  EXPECT_EQ(LabelText(1, media::FrameTime{}, true, true, "%Y"), "CH2 ");
  EXPECT_EQ(LabelText(1, t, true, true, ""), "CH2 ");
  EXPECT_EQ(LabelText(1, t, true, true, std::string(130, 'x')), "CH2 ");  // too long: no time
  EXPECT_EQ(StoredLabelColour(0), 0x050505u);
  EXPECT_EQ(StoredLabelColour(1), 1u);
}

TEST(SlotStore, TakesOnlyTheSizesOfTheRecorder) {
  EXPECT_TRUE(SlotStore::AcceptedSize(640, 272));
  EXPECT_TRUE(SlotStore::AcceptedSize(320, 136));
  EXPECT_FALSE(SlotStore::AcceptedSize(352, 224));
  EXPECT_FALSE(SlotStore::AcceptedSize(640, 288));
}

class PresenterTest : public ::testing::Test {
 protected:
  PresenterTest() : presenter_(clock_), picture_(codec::kMaxPictureBytes, 77) {
    presenter_.SetSlotCount(4);
    presenter_.SetLabelsEnabled(true);
  }
  platform::ManualClock clock_;
  test::RecordingPresenter presenter_;
  std::vector<uint8_t> picture_;
};

TEST_F(PresenterTest, PicturesOutsideTheSlotsOrSizesAreRejected) {
  EXPECT_FALSE(presenter_.ShowPicture(0, Time(1, 2, 3), picture_.data(), 352, 224));
  EXPECT_FALSE(presenter_.ShowPicture(4, Time(1, 2, 3), picture_.data(), 640, 224));
  EXPECT_FALSE(presenter_.ShowPicture(-1, Time(1, 2, 3), picture_.data(), 640, 224));
  EXPECT_TRUE(presenter_.Pictures().empty());
  EXPECT_EQ(presenter_.Presents(), 0);
}

TEST_F(PresenterTest, OnlyVisibleSlotsAreDrawnButAllAreKept) {
  ASSERT_TRUE(presenter_.SetSplit(1, 0));  // slot 0 alone
  const int presents = presenter_.Presents();
  EXPECT_TRUE(presenter_.ShowPicture(2, Time(1, 2, 3), picture_.data(), 640, 224));
  EXPECT_TRUE(presenter_.Pictures().empty());  // stored, not drawn
  EXPECT_EQ(presenter_.Presents(), presents);
  ASSERT_TRUE(presenter_.SetSplit(1, 2));  // its page: drawn from the store
  ASSERT_EQ(presenter_.Pictures().size(), 1u);
  EXPECT_EQ(presenter_.Pictures()[0].tile, (Rect{0, 0, 640, 448}));
  EXPECT_EQ(presenter_.LabelsDrawn().back(), "CH3 2009/03/15 01:02:03");
}

TEST_F(PresenterTest, ClearShowsEmptyLabelledSlots) {
  ASSERT_TRUE(presenter_.SetSplit(4, 0));
  presenter_.ShowPicture(1, Time(1, 2, 3), picture_.data(), 640, 224);
  presenter_.ClearPictures();
  const auto labels = presenter_.LabelsDrawn();
  ASSERT_GE(labels.size(), 4u);
  EXPECT_THAT(std::vector<std::string>(labels.end() - 4, labels.end()),
              ::testing::ElementsAre("CH1 ", "CH2 ", "CH3 ", "CH4 "));
  presenter_.SetLabelsEnabled(false);
  const size_t before = presenter_.LabelsDrawn().size();
  presenter_.RedrawAll();
  EXPECT_EQ(presenter_.LabelsDrawn().size(), before);
}

TEST_F(PresenterTest, DoubleClickZoomsAndReturns) {
  ASSERT_TRUE(presenter_.SetSplit(4, 0));
  EXPECT_TRUE(presenter_.DoubleClick(400, 300));  // slot 3
  EXPECT_EQ(presenter_.GetSplit(), std::make_pair(1, 3));
  EXPECT_TRUE(presenter_.DoubleClick(10, 10));
  EXPECT_EQ(presenter_.GetSplit(), std::make_pair(4, 0));
}

}  // namespace
}  // namespace dvr::display
