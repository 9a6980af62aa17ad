// The borderless window: its border drawn from the bitmap's quarters and stretched strips, its
// rounded outline, and moving and resizing by the pointer where no window system does it (the
// offscreen platform, an X server without a window manager).
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>

#include "ui/skin_dialog.h"

namespace dvr::ui {
namespace {

// A 200 x 200 border whose pieces are told apart by their colours: the four quarters, the strips
// at x = 100 (top and bottom half) stretched along the top and bottom edges, and the strips at
// y = 100 (left and right half) stretched along the sides.
QPixmap MarkedBorder() {
  QPixmap border(200, 200);
  QPainter painter(&border);
  painter.fillRect(0, 0, 100, 100, Qt::red);
  painter.fillRect(100, 0, 100, 100, Qt::green);
  painter.fillRect(0, 100, 100, 100, Qt::blue);
  painter.fillRect(100, 100, 100, 100, Qt::yellow);
  painter.fillRect(100, 0, 20, 100, Qt::cyan);
  painter.fillRect(100, 120, 20, 80, Qt::magenta);
  painter.fillRect(0, 100, 100, 20, Qt::gray);
  painter.fillRect(120, 100, 80, 20, Qt::darkGray);
  return border;
}

void SendMouse(QWidget& widget, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent event(type, QPointF(at), QPointF(widget.mapToGlobal(at)), button, held, Qt::NoModifier);
  QApplication::sendEvent(&widget, &event);
}

// A move to a point given in screen coordinates (the window may have moved under the pointer).
void SendMoveTo(QWidget& widget, QPoint global) {
  QMouseEvent event(QEvent::MouseMove, QPointF(widget.mapFromGlobal(global)), QPointF(global),
                    Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&widget, &event);
}

class SkinDialogDrawing : public testing::Test {
 protected:
  void SetUp() override {
    dialog_.SetSkinBitmap(MarkedBorder());
    dialog_.SetCorners(12, 12);
    dialog_.setMinimumSize(578, 486);
    dialog_.setGeometry(40, 30, 600, 500);
    dialog_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog_));
  }

  SkinDialog dialog_;
};

TEST_F(SkinDialogDrawing, TheBorderIsTheBitmapsQuartersAndStretchedStrips) {
  const QImage picture = dialog_.grab().toImage().convertToFormat(QImage::Format_RGB32);
  const qreal ratio = picture.devicePixelRatio();
  auto at = [&](int x, int y) { return QColor(picture.pixel(int(x * ratio), int(y * ratio))); };
  EXPECT_EQ(at(5, 5), QColor(Qt::red));
  EXPECT_EQ(at(600 - 50, 5), QColor(Qt::green));       // the top-right quarter, one pixel in
  EXPECT_EQ(at(5, 500 - 20), QColor(Qt::blue));
  EXPECT_EQ(at(600 - 30, 500 - 30), QColor(Qt::yellow));
  EXPECT_EQ(at(300, 5), QColor(Qt::cyan));             // the top strip stretched
  EXPECT_EQ(at(300, 500 - 20), QColor(Qt::magenta));   // the bottom strip stretched
  EXPECT_EQ(at(5, 250), QColor(Qt::gray));             // the left strip stretched
  EXPECT_EQ(at(600 - 5, 250), QColor(Qt::darkGray));
  // The right and bottom quarters sit one pixel in: the last column and row take the bitmap's
  // bottom-right colour rather than staying unpainted.
  EXPECT_EQ(at(300, 499), QColor(Qt::yellow));
  EXPECT_EQ(at(599, 250), QColor(Qt::yellow));
  // The edges are drawn after the corners: the top edge ends over the right quarter's first column.
  EXPECT_EQ(at(600 - 101, 5), QColor(Qt::cyan));
  EXPECT_EQ(at(600 - 60, 5), QColor(Qt::green));
}

TEST_F(SkinDialogDrawing, AResizedWindowKeepsItsRoundedCorners) {
  dialog_.setMinimumSize(0, 0);
  dialog_.resize(600, 400);
  for (const QRegion& region : {dialog_.mask(), SkinDialog::RoundedRegion({600, 400}, 12, 12)}) {
    for (const QPoint corner : {QPoint(0, 0), QPoint(599, 0), QPoint(0, 399), QPoint(599, 399),
                                QPoint(1, 1), QPoint(598, 398)}) {
      EXPECT_FALSE(region.contains(corner)) << corner.x() << "," << corner.y();
    }
    for (const QPoint inside : {QPoint(6, 0), QPoint(0, 6), QPoint(300, 0), QPoint(599, 200),
                                QPoint(300, 399), QPoint(300, 200), QPoint(5, 5), QPoint(594, 394)}) {
      EXPECT_TRUE(region.contains(inside)) << inside.x() << "," << inside.y();
    }
  }
  // Without a corner ellipse the window is its whole rectangle.
  EXPECT_EQ(SkinDialog::RoundedRegion({600, 400}, 0, 0), QRegion(0, 0, 600, 400));
}

TEST_F(SkinDialogDrawing, APressAnywhereMovesTheWindowWithThePointer) {
  const QPoint start = dialog_.pos();
  const QPoint grip = dialog_.mapToGlobal(QPoint(300, 10));
  SendMouse(dialog_, QEvent::MouseButtonPress, {300, 10}, Qt::LeftButton);
  SendMoveTo(dialog_, grip + QPoint(30, 20));
  SendMoveTo(dialog_, grip + QPoint(-15, 45));
  EXPECT_EQ(dialog_.pos(), start + QPoint(-15, 45));
  SendMouse(dialog_, QEvent::MouseButtonRelease, dialog_.mapFromGlobal(grip + QPoint(-15, 45)), {});
  SendMoveTo(dialog_, grip + QPoint(100, 100));  // let go: the window stays
  EXPECT_EQ(dialog_.pos(), start + QPoint(-15, 45));

  // A press and a wobble shorter than the drag distance (a click, a double click) moves nothing.
  SendMouse(dialog_, QEvent::MouseButtonPress, {300, 10}, Qt::LeftButton);
  SendMoveTo(dialog_, dialog_.mapToGlobal(QPoint(302, 11)));
  EXPECT_EQ(dialog_.pos(), start + QPoint(-15, 45));
  // Past the drag distance the window follows the pointer from where it was pressed.
  SendMoveTo(dialog_, dialog_.mapToGlobal(QPoint(350, 60)));
  EXPECT_EQ(dialog_.pos(), start + QPoint(35, 95));
  SendMouse(dialog_, QEvent::MouseButtonRelease, {300, 10}, {});

  dialog_.SetDraggable(false);
  SendMouse(dialog_, QEvent::MouseButtonPress, {300, 10}, Qt::LeftButton);
  SendMoveTo(dialog_, dialog_.mapToGlobal(QPoint(400, 80)));
  SendMouse(dialog_, QEvent::MouseButtonRelease, {400, 80}, {});
  EXPECT_EQ(dialog_.pos(), start + QPoint(35, 95));
}

TEST_F(SkinDialogDrawing, TheResizeCornerFollowsThePointerDownToTheMinimum) {
  dialog_.SetResizeCorner(16);
  const QPoint origin = dialog_.mapToGlobal(QPoint(0, 0));

  // Over the corner the pointer shows the diagonal resize cursor; elsewhere (and over a child
  // next to the corner) the usual one.
  QWidget* grip = dialog_.childAt(595, 495);
  ASSERT_NE(grip, nullptr);
  EXPECT_EQ(grip->cursor().shape(), Qt::SizeFDiagCursor);
  EXPECT_EQ(dialog_.childAt(583, 495), nullptr);
  EXPECT_EQ(dialog_.cursor().shape(), Qt::ArrowCursor);

  SendMouse(*grip, QEvent::MouseButtonPress, {11, 11}, Qt::LeftButton);  // reaches the window
  SendMoveTo(dialog_, origin + QPoint(705, 615));
  EXPECT_EQ(dialog_.size(), QSize(710, 620));  // the pointer keeps its place in the corner
  SendMoveTo(dialog_, origin + QPoint(100, 100));
  EXPECT_EQ(dialog_.size(), QSize(578, 486));
  EXPECT_EQ(dialog_.mapToGlobal(QPoint(0, 0)), origin);  // resizing never moves the window
  SendMouse(dialog_, QEvent::MouseButtonRelease, {100, 100}, {});
  EXPECT_EQ(dialog_.mask(), SkinDialog::RoundedRegion({578, 486}, 12, 12));
  EXPECT_EQ(dialog_.childAt(575, 483), grip);  // the corner went with the window

  // Just outside the corner a press moves the window instead.
  dialog_.resize(600, 500);
  const QPoint before = dialog_.pos();
  SendMouse(dialog_, QEvent::MouseButtonPress, {583, 495}, Qt::LeftButton);
  SendMoveTo(dialog_, dialog_.mapToGlobal(QPoint(583, 495)) + QPoint(20, 0));
  SendMouse(dialog_, QEvent::MouseButtonRelease, {583, 495}, {});
  EXPECT_EQ(dialog_.size(), QSize(600, 500));
  EXPECT_EQ(dialog_.pos(), before + QPoint(20, 0));
}

}  // namespace
}  // namespace dvr::ui
