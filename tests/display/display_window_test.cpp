// The video window on its software path, driven as a person would: pictures from the engine's
// side, the mouse through QTest, still images read back.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QTest>

#include "display/qt/gl_error_text.h"
#include "display_window_fixture.h"
#include "export/still_image.h"
#include "support/temp_dir.h"

namespace dvr::test {
namespace {

using display::DisplayWindow;

class DisplayWindowTest : public DisplayWindowFixture {};

TEST_F(DisplayWindowTest, WithoutAWindowSystemTheSoftwarePathIsUsedAndSaysWhy) {
  if (QGuiApplication::platformName() != "offscreen")
    GTEST_SKIP() << "checks the offscreen platform";
  EXPECT_TRUE(window_.UseDirectDraw());
  EXPECT_FALSE(window_.OpenGlActive());
  EXPECT_EQ(window_.LastError(), display::kNoWindowSystemText);
}

TEST_F(DisplayWindowTest, EachSlotShowsInItsTileWithItsLabel) {
  ShowSlots(4);
  const QImage still = window_.Still();
  ASSERT_EQ(still.size(), QSize(640, 448));
  for (int slot = 0; slot < 4; ++slot) {
    const QRect tile = Tile(slot);
    EXPECT_TRUE(Near(still.pixel(tile.center()), SlotColour(slot))) << "slot " << slot;
    EXPECT_GT(LabelPixels(still, QRect(tile.topLeft(), QSize(tile.width(), 22))), 20)
        << "slot " << slot;
  }
}

TEST_F(DisplayWindowTest, PicturesTheSlotsDoNotTakeChangeNothing) {
  ShowSlots(4);
  const QImage before = window_.Still();
  const auto wide = SlotPicture(7, 352, 224);
  EXPECT_FALSE(window_.ShowPicture(0, Time(), wide.data(), 352, 224));
  window_.SetSlotCount(4);
  const auto picture = SlotPicture(7);
  EXPECT_FALSE(window_.ShowPicture(4, Time(), picture.data(), 640, 224));
  window_.RedrawAll();
  EXPECT_EQ(window_.Still(), before);
}

TEST_F(DisplayWindowTest, APictureOffThePageWaitsForItsPage) {
  ShowSlots(4);
  const QImage page0 = window_.Still();
  const auto picture = SlotPicture(5);
  ASSERT_TRUE(window_.ShowPicture(5, Time(), picture.data(), 640, 224));
  EXPECT_EQ(window_.Still(), page0);
  ASSERT_TRUE(window_.SetSplit(4, -1));
  EXPECT_EQ(window_.GetSplit(), std::make_pair(4, 1));
  const QImage page1 = window_.Still();
  EXPECT_TRUE(Near(page1.pixel(Tile(1).center()), SlotColour(5)));  // slot 5: second tile of page 1
  EXPECT_EQ(page1.pixel(Tile(0).center()), qRgb(0, 0, 0));          // slot 4: no picture yet
}

TEST_F(DisplayWindowTest, ClearingLeavesBlackTilesWithLabelsWithoutTime) {
  ShowSlots(4);
  const QRect label_area(0, 0, 320, 22);
  const int with_time = LabelRightEdge(window_.Still(), label_area);
  window_.ClearPictures();
  const QImage cleared = window_.Still();
  for (int slot = 0; slot < 4; ++slot) EXPECT_EQ(cleared.pixel(Tile(slot).center()), qRgb(0, 0, 0));
  const int without_time = LabelRightEdge(cleared, label_area);
  EXPECT_GT(without_time, 10);  // "CH1 " is still there
  EXPECT_LT(without_time, with_time - 50);
}

TEST_F(DisplayWindowTest, TheCanvasFollowsTheWindowAndAZeroSizeKeepsThePictures) {
  ShowSlots(4);
  window_.resize(800, 600);
  Settle();
  QImage still = window_.Still();
  ASSERT_EQ(still.size(), QSize(800, 600));
  EXPECT_TRUE(Near(still.pixel(600, 450), SlotColour(3)));

  window_.resize(0, 0);
  Settle();
  window_.resize(640, 448);
  Settle();
  still = window_.Still();
  ASSERT_EQ(still.size(), QSize(640, 448));
  for (int slot = 0; slot < 4; ++slot)
    EXPECT_TRUE(Near(still.pixel(Tile(slot).center()), SlotColour(slot)));
}

TEST_F(DisplayWindowTest, SwitchingThePathKeepsEveryPicture) {
  ShowSlots(4);
  const QImage before = window_.Still();
  window_.SetUseDirectDraw(false);
  EXPECT_FALSE(window_.UseDirectDraw());
  EXPECT_EQ(window_.Still(), before);
  window_.SetUseDirectDraw(true);
  EXPECT_TRUE(window_.UseDirectDraw());
  EXPECT_EQ(window_.Still(), before);
}

TEST_F(DisplayWindowTest, TheStillImageIsWhatTheWindowShows) {
  ShowSlots(4);
  Settle();
  const QImage shown = window_.grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(shown, window_.Still());
}

TEST_F(DisplayWindowTest, AStillGoesToTheClipboardAndToABitmapOfTheSamePixels) {
  ShowSlots(4);
  TempDir dir;
  const std::string path = dir.File("still.bmp");
  ASSERT_TRUE(window_.SaveSnapshot(path));
  const QImage file(QString::fromStdString(path), "BMP");
  ASSERT_FALSE(file.isNull());
  EXPECT_EQ(file.convertToFormat(QImage::Format_RGB32), window_.Still());
  const auto bytes = ReadFileBytes(path);
  ASSERT_GT(bytes.size(), 54u);
  EXPECT_EQ(bytes[10], 54);  // 24 bits: the pixels follow the two headers
  EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
            window_.Still());
}

TEST_F(DisplayWindowTest, AStillThatCannotBeWrittenIsAFailure) {
  ShowSlots(1);
  TempDir dir;
  EXPECT_FALSE(window_.SaveSnapshot(dir.File("no-such-folder/still.bmp")));
}

// The mouse report the DVR's mouse remote control sends.
class MouseTest : public DisplayWindowTest {
 protected:
  display::MouseReport Report() { return window_.Mouse().Peek(); }
  void Move(QPoint at, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMouseEvent move(QEvent::MouseMove, at, window_.mapToGlobal(at), Qt::NoButton, buttons,
                     modifiers);
    QCoreApplication::sendEvent(&window_, &move);
  }
};

TEST_F(MouseTest, LeftDragAndReleaseThenRightDoubleClick) {
  QTest::mousePress(&window_, Qt::LeftButton, {}, QPoint(10, 20));
  EXPECT_EQ(Report().state, 1);
  Move({30, 40}, Qt::LeftButton);
  EXPECT_EQ(Report().state, 1);
  EXPECT_EQ(Report().x, 30);
  QTest::mouseRelease(&window_, Qt::LeftButton, {}, QPoint(31, 41));
  EXPECT_EQ(Report().state, 0);
  EXPECT_EQ(Report().width, 640);
  EXPECT_EQ(Report().height, 448);
  QTest::mouseDClick(&window_, Qt::RightButton, {}, QPoint(50, 60));
  EXPECT_EQ(Report().state, 4);
  EXPECT_TRUE(Report().pending);
}

TEST_F(MouseTest, AMoveWithAModifierOnlyMovesTheReport) {
  Move({5, 5}, Qt::NoButton);
  EXPECT_EQ(Report().state, 0);
  Move({100, 90}, Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_EQ(Report().state, 0);
  EXPECT_EQ(Report().x, 100);
  EXPECT_EQ(Report().y, 90);
}

// The window around the picture decides whether a right click opens its menu (the DVR's mouse
// remote control may own the right button); the picture passes the click on and still reports
// the drag.
TEST_F(MouseTest, ARightClickGoesToTheParentAndTheDragIsStillReported) {
  int menus = 0;
  QWidget parent;
  parent.setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(&parent, &QWidget::customContextMenuRequested, [&menus] { ++menus; });
  window_.setParent(&parent);
  parent.resize(640, 448);
  parent.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
  QTest::mousePress(&window_, Qt::RightButton, {}, QPoint(100, 100));
  QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(100, 100),
                         window_.mapToGlobal(QPoint(100, 100)));
  QCoreApplication::sendEvent(&window_, &menu);
  Move({150, 120}, Qt::RightButton);
  EXPECT_EQ(Report().state, 2);
  EXPECT_EQ(Report().x, 150);
  EXPECT_EQ(menus, 1);
  window_.setParent(nullptr);
}

TEST_F(MouseTest, DoubleClickOpensTheChannelAndComesBackToTheSamePage) {
  ShowSlots(16);
  window_.SetSplit(4, 1);  // slots 4 .. 7
  int told = 0;
  window_.OnDoubleClick([&told] { ++told; });
  QTest::mouseDClick(&window_, Qt::LeftButton, {}, Tile(2).center());
  EXPECT_EQ(window_.GetSplit(), std::make_pair(1, 6));
  EXPECT_EQ(Report().state, 3);
  EXPECT_TRUE(Near(window_.Still().pixel(600, 400), SlotColour(6)));
  QTest::mouseDClick(&window_, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(window_.GetSplit(), std::make_pair(4, 1));
  EXPECT_TRUE(Near(window_.Still().pixel(Tile(3).center()), SlotColour(7)));
  EXPECT_EQ(told, 2);
}

// Also run with QT_SCALE_FACTOR=2 (a test of its own in CTest).
TEST_F(MouseTest, PixelRatioMouseAndTilesAgree) {
  const qreal ratio = window_.devicePixelRatioF();
  ShowSlots(4);
  const QImage still = window_.Still();
  EXPECT_EQ(still.size(), QSize(qRound(640 * ratio), qRound(448 * ratio)));
  // The middle of the third tile in window coordinates is the middle of its tile on the canvas.
  QTest::mouseDClick(&window_, Qt::LeftButton, {}, QPoint(160, 336));
  EXPECT_EQ(window_.GetSplit(), std::make_pair(1, 2));
  EXPECT_EQ(Report().width, still.width());
  EXPECT_EQ(Report().x, qRound(160 * ratio));
}

}  // namespace
}  // namespace dvr::test
