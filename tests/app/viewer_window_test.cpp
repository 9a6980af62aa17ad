// The viewer as a person uses it: a recording opened and played in four labelled tiles, still
// images saved from the menu's command.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QTest>

#include <filesystem>

#include "app/still_command.h"
#include "app/viewer_window.h"
#include "display/window_pictures.h"
#include "support/temp_dir.h"
#include "viewer_recording.h"

namespace dvr::test {
namespace {

class ViewerWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    window_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
  }

  TempDir dir_;
  app::ViewerWindow window_{false};
};

TEST_F(ViewerWindowTest, ARecordingPlaysInFourLabelledTiles) {
  ASSERT_TRUE(window_.Open(WriteViewerRecording(dir_, 4, 3, 5)));
  display::DisplayWindow& display = window_.Display();
  const auto all_tiles_shown = [&] {
    const QImage still = display.Still();
    const int w = still.width() / 2, h = still.height() / 2;
    for (int tile = 0; tile < 4; ++tile) {
      const QRect area((tile % 2) * w, (tile / 2) * h, w, h);
      if (still.pixel(area.center()) == qRgb(0, 0, 0) ||
          LabelPixels(still, QRect(area.topLeft(), QSize(w, 22))) < 20) {
        return false;
      }
    }
    return true;
  };
  EXPECT_TRUE(QTest::qWaitFor(all_tiles_shown, 10000));
  EXPECT_EQ(window_.Engine().GetSplit(), std::make_pair(4, 0));
}

TEST_F(ViewerWindowTest, EveryStillIsKeptAndTheClipboardHasTheLast) {
  window_.SetStillFolder(dir_.File("stills"));
  const std::string first = window_.SaveStillImage(), second = window_.SaveStillImage();
  ASSERT_FALSE(first.empty());
  ASSERT_FALSE(second.empty());
  EXPECT_NE(first, second);
  EXPECT_TRUE(std::filesystem::exists(first));
  EXPECT_TRUE(std::filesystem::exists(second));
}

TEST_F(ViewerWindowTest, AStillThatCannotBeWrittenIsReported) {
  dir_.Write("taken", {1});  // a file where the folder would be
  window_.SetStillFolder(dir_.File("taken"));
  EXPECT_TRUE(window_.SaveStillImage().empty());
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return !window_.findChildren<QMessageBox*>().isEmpty(); }, 2000));
}

TEST(StillImagePath, ATakenNameGetsTheNextFreeSuffix) {
  TempDir dir;
  const platform::CalendarTime time{2009, 3, 15, 14, 5, 9, 0};
  EXPECT_EQ(app::FreeStillImagePath(dir.Path(), time), dir.File("20090315-140509.bmp"));
  dir.Write("20090315-140509.bmp", {1});
  dir.Write("20090315-140509_1.bmp", {1});
  EXPECT_EQ(app::FreeStillImagePath(dir.Path(), time), dir.File("20090315-140509_2.bmp"));
}

}  // namespace
}  // namespace dvr::test
