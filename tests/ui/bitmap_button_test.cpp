// The bitmap button: its size from the strip, the frame each state shows as drawn, the mask, the
// caption's pressed offset, and the three kinds' checking rules.
#include <gtest/gtest.h>

#include <QEnterEvent>
#include <QSignalSpy>

#include "ui/bitmap_button.h"
#include "widget_probe.h"

namespace dvr::test {
namespace {

using ui::BitmapButton;

constexpr QRgb kNormal = qRgb(200, 0, 0), kPressed = qRgb(0, 200, 0), kHover = qRgb(0, 0, 200),
               kDisabled = qRgb(120, 120, 0), kCyan = qRgb(0, 200, 200);
const std::vector<QRgb> kFrames = {kNormal, kPressed, kHover, kDisabled};

// A widget that fills itself with one colour, for what shows through a button.
class Backdrop final : public QWidget {
 public:
  using QWidget::QWidget;
  QColor colour = QColor(kCyan);

 protected:
  void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), colour); }
};

TEST(BitmapButton, OneFrameOfTheStripIsTheButtonsSize) {
  BitmapButton button;
  button.SetBitmap(SolidStrip(kFrames, QSize(14, 14)), false, 0, false);
  EXPECT_EQ(button.size(), QSize(14, 14));
  EXPECT_EQ(button.sizeHint(), QSize(14, 14));
  button.SetBitmap(SolidStrip({kNormal, kPressed, kHover, kDisabled, 0}, QSize(14, 14)), false, 0,
                   true);
  EXPECT_EQ(button.FrameSize(), QSize(14, 14));
  button.SetBitmap(SolidStrip(kFrames, QSize(20, 12), 2), false, 0, false);
  EXPECT_EQ(button.FrameSize(), QSize(20, 12));  // a 2x strip, same logical frame
  EXPECT_EQ(button.size(), QSize(20, 12));
  button.SetBitmap(QPixmap(3, 14), false, 0, false);
  EXPECT_TRUE(button.FrameSize().isEmpty());
}

class BitmapButtonDrawing : public testing::TestWithParam<qreal> {
 protected:
  void SetUp() override {
    window_.Show();
    check_box_->SetBitmap(SolidStrip(kFrames, QSize(30, 20), GetParam()), false, 0, false);
    check_box_->move(10, 10);
  }
  QRgb Shown() { return Grabbed(*check_box_).At(15, 10); }

  TestWindow window_;
  BitmapButton* check_box_ = new BitmapButton(BitmapButton::kCheckBox, window_.Widget());
};

TEST_P(BitmapButtonDrawing, EachStateShowsItsFrame) {
  QEvent leave(QEvent::Leave);  // wherever the pointer was when the window came up
  QCoreApplication::sendEvent(check_box_, &leave);
  EXPECT_EQ(Shown(), kNormal);
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QCoreApplication::sendEvent(check_box_, &enter);
  EXPECT_EQ(Shown(), kHover);
  QCoreApplication::sendEvent(check_box_, &leave);
  EXPECT_EQ(Shown(), kNormal);

  QTest::mousePress(check_box_, Qt::LeftButton);
  EXPECT_EQ(Shown(), kPressed);
  QTest::mouseMove(check_box_, QPoint(60, 60));  // held and dragged off: not pressed any more
  EXPECT_EQ(Shown(), kNormal);
  QTest::mouseRelease(check_box_, Qt::LeftButton, {}, QPoint(60, 60));
  EXPECT_FALSE(check_box_->isChecked());

  QTest::mouseClick(check_box_, Qt::LeftButton);
  EXPECT_EQ(Shown(), kPressed);  // checked
  check_box_->setEnabled(false);
  EXPECT_EQ(Shown(), kDisabled);
}

TEST_P(BitmapButtonDrawing, WhiteInTheMaskShowsTheParent) {
  auto* backdrop = new Backdrop(window_.Widget());
  backdrop->setGeometry(0, 0, 100, 50);
  auto* button = new BitmapButton(BitmapButton::kPushButton, backdrop);
  QPixmap strip =
      SolidStrip({kNormal, kPressed, kHover, kDisabled, qRgb(0, 0, 0)}, QSize(20, 10), GetParam());
  QPainter(&strip).fillRect(QRect(80, 0, 10, 10), Qt::white);  // the mask's left half
  button->SetBitmap(strip, false, 0, true);
  button->move(40, 20);
  backdrop->show();
  const Grabbed shown(*backdrop);
  EXPECT_EQ(shown.At(44, 25), kCyan);
  EXPECT_EQ(shown.At(55, 25), kNormal);
}

TEST_P(BitmapButtonDrawing, ThePressedCaptionMovesDownRightByAPixel) {
  check_box_->SetBitmap(SolidStrip({0, 0, 0, 0}, QSize(60, 24), GetParam()), false, 0, false);
  check_box_->SetTextColour(Qt::white);
  check_box_->setText("Hi");
  const Grabbed normal(*check_box_);
  check_box_->setChecked(true);
  const Grabbed checked(*check_box_);
  ASSERT_FALSE(normal.BrightBox().isEmpty());
  EXPECT_NEAR(normal.BrightBox().center().x() / normal.Ratio(), 30, 2);  // centred
  EXPECT_NEAR(normal.BrightBox().center().y() / normal.Ratio(), 12, 2);
  const int shift = qRound(normal.Ratio());
  EXPECT_EQ(checked.BrightBox(), normal.BrightBox().translated(shift, shift));
}

INSTANTIATE_TEST_SUITE_P(StripRatio, BitmapButtonDrawing, testing::Values(1.0, 2.0));

TEST(BitmapButton, RadioSiblingsKeepOneCheckedCheckBoxesTogglePushButtonsNeverCheck) {
  QWidget parent;
  BitmapButton radio1(BitmapButton::kRadioButton, &parent),
      radio2(BitmapButton::kRadioButton, &parent);
  BitmapButton radio3(BitmapButton::kRadioButton, &parent);
  BitmapButton check_box(BitmapButton::kCheckBox, &parent),
      push(BitmapButton::kPushButton, &parent);
  QWidget panel(&parent);
  BitmapButton elsewhere(BitmapButton::kRadioButton, &panel);  // another group
  for (BitmapButton* button : {&radio1, &radio2, &radio3, &check_box, &push}) {
    button->SetBitmap(SolidStrip(kFrames, QSize(10, 10)), false, 0, false);
  }
  elsewhere.setChecked(true);
  check_box.setChecked(true);

  QTest::mouseClick(&radio1, Qt::LeftButton);
  QTest::mouseClick(&radio2, Qt::LeftButton);
  QTest::mouseClick(&radio2, Qt::LeftButton);
  EXPECT_FALSE(radio1.isChecked());
  EXPECT_TRUE(radio2.isChecked());
  radio3.setChecked(true);
  EXPECT_FALSE(radio2.isChecked());
  EXPECT_TRUE(radio3.isChecked());
  EXPECT_TRUE(elsewhere.isChecked());
  EXPECT_TRUE(check_box.isChecked());

  QTest::mouseClick(&check_box, Qt::LeftButton);
  EXPECT_FALSE(check_box.isChecked());
  QTest::mouseClick(&check_box, Qt::LeftButton);
  EXPECT_TRUE(check_box.isChecked());

  QSignalSpy clicks(&push, &QAbstractButton::clicked);
  QTest::mouseClick(&push, Qt::LeftButton);
  QTest::keyClick(&push, Qt::Key_Space);
  push.setChecked(true);
  EXPECT_EQ(clicks.count(), 2);
  EXPECT_FALSE(push.isChecked());
}

}  // namespace
}  // namespace dvr::test
