// The video in the main window: a recording in four labelled tiles, all sixteen channels in the
// sixteen-way split and on the pages of the four-way one, still images.
#include <gtest/gtest.h>

#include <QTest>

#include <filesystem>

#include "app/command_ids.h"
#include "app/main_window_fixture.h"
#include "app/still_command.h"
#include "display/window_pictures.h"
#include "support/temp_dir.h"
#include "viewer_recording.h"

namespace dvr::test {
namespace {

TEST_F(MainWindowTest, ARecordingPlaysInFourLabelledTiles) {
  app::MainWindow& window = StartWindow({WriteViewerRecording(dir_, 4, 3, 5)});
  display::DisplayWindow& display = window.Display();
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
  EXPECT_EQ(window.Engine().GetSplit(), std::make_pair(4, 0));
}

TEST_F(MainWindowTest, Split16AndItsPagesShowEveryChannelOfASixteenChannelRecording) {
  app::MainWindow& window = StartWindow({WriteViewerRecording(dir_, 16, 3, 5)});
  window.RunCommand(app::kCmdSplit16);
  const auto every_tile_shown = [&] {
    const QImage still = window.Display().Still();
    const int w = still.width() / 4, h = still.height() / 4;
    for (int tile = 0; tile < 16; ++tile) {
      if (still.pixel(QRect((tile % 4) * w, (tile / 4) * h, w, h).center()) == qRgb(0, 0, 0)) return false;
    }
    return true;
  };
  EXPECT_TRUE(QTest::qWaitFor(every_tile_shown, 10000));
  // Split 4 pages through all sixteen: the fourth page shows channels 13 to 16.
  window.Engine().SetSplit(4, 3);
  EXPECT_TRUE(QTest::qWaitFor([&] {
    const QImage still = window.Display().Still();
    return still.pixel(still.width() * 3 / 4, still.height() * 3 / 4) != qRgb(0, 0, 0);
  }, 10000));
}

TEST_F(MainWindowTest, AStillThatCannotBeWrittenIsReported) {
  app::MainWindow& window = StartWindow();
  dir_.Write("captures", {1});  // a file where the folder would be
  window.RunCommand(app::kCmdStillImage);
  EXPECT_TRUE(window.LastStillPath().empty());
  EXPECT_TRUE(NoticeContains("Cannot save the still image"));
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
