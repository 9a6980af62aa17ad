// The bitmap slider driven by mouse and keys as a person would, its repaints, and what it draws.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>

#include <functional>
#include <QSignalSpy>

#include "ui/bitmap_slider.h"
#include "widget_probe.h"

namespace dvr::test {
namespace {

using ui::BitmapSlider;

constexpr QRgb kChannel = qRgb(0, 0, 200), kActiveChannel = qRgb(0, 200, 0),
               kChannelEnd = qRgb(200, 200, 0), kThumb = qRgb(200, 0, 0),
               kActiveThumb = qRgb(200, 0, 200), kKey = qRgb(255, 0, 255);

// A window that keeps the keys its children pass on.
class KeyRecorder final : public QWidget {
 public:
  std::vector<int> keys;

 protected:
  void keyPressEvent(QKeyEvent* event) override { keys.push_back(event->key()); }
};

// A 0..100 slider 110 pixels long with a 10-pixel thumb: position p has its thumb at p + 5.
class BitmapSliderTest : public testing::Test {
 protected:
  void SetUp() override {
    slider_->setGeometry(10, 10, 110, 20);
    slider_->SetThumbBitmaps(SolidStrip({kThumb}, QSize(10, 10)), QPixmap());
    slider_->SetChannelBitmaps(SolidStrip({kChannel}, QSize(40, 6)), QPixmap());
    slider_->SetRange(0, 100);
    window_.Show();
  }
  QPoint At(int pixel) const { return QPoint(pixel, 10); }

  TestWindow window_;
  BitmapSlider* slider_ = new BitmapSlider(Qt::Horizontal, window_.Widget());
  QSignalSpy tracked_{slider_, &BitmapSlider::Tracked};
  QSignalSpy set_{slider_, &BitmapSlider::Set};
};

TEST_F(BitmapSliderTest, ADragTracksEveryThumbMoveAndSetsOnceOnRelease) {
  QTest::mousePress(slider_, Qt::LeftButton, {}, At(5));
  EXPECT_TRUE(slider_->Dragging());
  for (int pixel : {20, 40, 40, 60, 300}) QTest::mouseMove(slider_, At(pixel));
  QTest::mouseRelease(slider_, Qt::LeftButton, {}, At(300));
  EXPECT_FALSE(slider_->Dragging());
  ASSERT_EQ(tracked_.count(), 4);  // the repeated pixel moves nothing
  EXPECT_EQ(tracked_.at(0).at(0).toInt(), 15);
  EXPECT_EQ(tracked_.at(3).at(0).toInt(), 100);  // clamped at the end
  ASSERT_EQ(set_.count(), 1);
  EXPECT_EQ(set_.at(0).at(0).toInt(), 100);
}

// Hidden, disabled or losing the focus to a popup or a message box during a drag, the slider never
// sees the release: the drag ends all the same.
TEST_F(BitmapSliderTest, ADragEndsWhenTheReleaseGoesElsewhere) {
  const std::function<void()> interruptions[] = {
      [this] { slider_->hide(); },
      [this] { slider_->setEnabled(false); },
      [this] {
        QFocusEvent lost(QEvent::FocusOut, Qt::PopupFocusReason);
        QApplication::sendEvent(slider_, &lost);
      },
  };
  for (const auto& interrupt : interruptions) {
    QTest::mousePress(slider_, Qt::LeftButton, {}, At(5));
    QTest::mouseMove(slider_, At(30));
    interrupt();
    EXPECT_FALSE(slider_->Dragging());
    ASSERT_EQ(set_.count(), 1);
    EXPECT_EQ(set_.takeFirst().at(0).toInt(), 25);
    slider_->show();
    slider_->setEnabled(true);
    slider_->SetPosition(70);  // followed again
    EXPECT_EQ(slider_->Position(), 70);
    slider_->SetPosition(0);
  }
}

TEST_F(BitmapSliderTest, TheThumbKeepsItsGrabOffsetAndAPressOnTheChannelCentresIt) {
  slider_->SetPosition(50);
  QTest::mousePress(slider_, Qt::LeftButton, {}, At(58));  // 3 pixels right of the centre
  EXPECT_EQ(slider_->Position(), 50);
  EXPECT_EQ(tracked_.count(), 0);
  QTest::mouseMove(slider_, At(68));
  EXPECT_EQ(slider_->Position(), 60);
  QTest::mouseRelease(slider_, Qt::LeftButton, {}, At(68));

  QTest::mousePress(slider_, Qt::LeftButton, {}, At(90));
  EXPECT_EQ(slider_->Position(), 85);
  EXPECT_EQ(slider_->ThumbPixel(), 90);
  QTest::mouseRelease(slider_, Qt::LeftButton, {}, At(90));
  EXPECT_EQ(set_.count(), 2);
}

TEST_F(BitmapSliderTest, KeysStepPageAndJumpWithinTheRange) {
  slider_->SetPageSize(30);
  slider_->SetPosition(50);
  const std::vector<std::pair<Qt::Key, int>> presses = {
      {Qt::Key_PageDown, 80}, {Qt::Key_PageDown, 100}, {Qt::Key_Right, 100}, {Qt::Key_Left, 99},
      {Qt::Key_Up, 98},       {Qt::Key_Down, 99},      {Qt::Key_Home, 0},    {Qt::Key_Left, 0},
      {Qt::Key_PageDown, 30}, {Qt::Key_PageUp, 0},     {Qt::Key_End, 100}};
  for (const auto& [key, position] : presses) {
    QTest::keyClick(slider_, key);
    EXPECT_EQ(slider_->Position(), position) << "key " << key;
  }
  EXPECT_EQ(set_.count(), static_cast<int>(presses.size()));
  EXPECT_EQ(set_.last().at(0).toInt(), 100);
}

TEST_F(BitmapSliderTest, OtherKeysGoToTheParent) {
  KeyRecorder parent;
  slider_->setParent(&parent);
  QTest::keyClick(slider_, Qt::Key_A);
  QTest::keyClick(slider_, Qt::Key_Home);
  EXPECT_EQ(parent.keys, std::vector<int>{Qt::Key_A});
  EXPECT_EQ(set_.count(), 1);
}

TEST_F(BitmapSliderTest, ThePositionStaysInsideTheRange) {
  slider_->SetPosition(-5);
  EXPECT_EQ(slider_->Position(), 0);
  slider_->SetPosition(500);
  EXPECT_EQ(slider_->Position(), 100);
  slider_->SetRange(10, 40);
  EXPECT_EQ(slider_->Position(), 40);
  slider_->SetRange(60, 60);
  slider_->SetPosition(70);
  EXPECT_EQ(slider_->Position(), 60);
  slider_->SetRange(60, 20);  // empty: the minimum
  EXPECT_EQ(slider_->Position(), 60);
  QTest::keyClick(slider_, Qt::Key_End);
  EXPECT_EQ(slider_->Position(), 60);
  slider_->resize(8, 20);  // shorter than the thumb
  QTest::mousePress(slider_, Qt::LeftButton, {}, At(4));
  QTest::mouseMove(slider_, At(7));
  EXPECT_EQ(slider_->Position(), 60);
}

TEST_F(BitmapSliderTest, OnlyAMoveOfAWholePixelRepaints) {
  slider_->SetRange(0, 1000);  // ten positions a pixel
  slider_->SetPosition(500);
  window_.SettlePaints();
  PaintCounter paints(*slider_);
  slider_->SetPosition(509);
  window_.SettlePaints();
  EXPECT_EQ(paints.Count(), 0);
  slider_->SetPosition(510);
  window_.SettlePaints();
  EXPECT_EQ(paints.Count(), 1);
}

TEST_F(BitmapSliderTest, AVerticalSliderWorksAlongItsHeight) {
  auto* vertical = new BitmapSlider(Qt::Vertical, window_.Widget());
  vertical->setGeometry(200, 0, 20, 110);
  vertical->SetThumbBitmaps(SolidStrip({kThumb}, QSize(16, 10)), QPixmap());
  vertical->SetRange(0, 100);
  vertical->show();
  QTest::mousePress(vertical, Qt::LeftButton, {}, QPoint(10, 80));
  EXPECT_EQ(vertical->Position(), 75);
  QTest::mouseRelease(vertical, Qt::LeftButton, {}, QPoint(10, 80));
  QTest::keyClick(vertical, Qt::Key_Down);
  EXPECT_EQ(vertical->Position(), 76);
}

class BitmapSliderDrawing : public BitmapSliderTest, public testing::WithParamInterface<qreal> {};

TEST_P(BitmapSliderDrawing, ChannelEndsActivePartAndThumb) {
  const qreal ratio = GetParam();
  QPixmap channel = SolidStrip({kChannelEnd, kChannel, kChannelEnd}, QSize(3, 6), ratio);
  QPixmap active = SolidStrip({kChannelEnd, kActiveChannel, kChannelEnd}, QSize(3, 6), ratio);
  slider_->SetChannelBitmaps(channel, active);
  slider_->SetThumbBitmaps(SolidStrip({kThumb}, QSize(10, 10), ratio),
                           SolidStrip({kActiveThumb}, QSize(10, 10), ratio));
  slider_->SetMargins(0, 2, 0, 0);
  slider_->SetPosition(50);

  const Grabbed idle(*slider_);
  EXPECT_EQ(idle.At(1, 10), kChannelEnd);  // the channel is centred across: rows 7..12
  EXPECT_EQ(idle.At(108, 12), kChannelEnd);
  EXPECT_NE(idle.At(30, 6), kActiveChannel);
  EXPECT_EQ(idle.At(30, 7), kActiveChannel);  // before the thumb
  EXPECT_EQ(idle.At(80, 12), kChannel);       // after it
  EXPECT_EQ(idle.At(55, 2), kThumb);          // from the top margin
  EXPECT_EQ(idle.At(51, 11), kThumb);
  EXPECT_NE(idle.At(55, 1), kThumb);

  QTest::mousePress(slider_, Qt::LeftButton, {}, At(55));
  EXPECT_EQ(Grabbed(*slider_).At(55, 5), kActiveThumb);
  QTest::mouseRelease(slider_, Qt::LeftButton, {}, At(55));
  EXPECT_EQ(Grabbed(*slider_).At(55, 5), kThumb);
}

TEST_P(BitmapSliderDrawing, AKeyColourTakenFromAPixelIsTransparent) {
  QPixmap thumb = SolidStrip({kKey}, QSize(10, 10), GetParam());
  QPainter(&thumb).fillRect(QRect(3, 3, 4, 4), QColor(kThumb));
  slider_->SetThumbBitmaps(thumb, QPixmap(),
                           {.transparent = true, .colour = std::nullopt, .pixel = QPoint(0, 0)});
  slider_->SetPosition(50);
  const Grabbed shown(*slider_);
  EXPECT_EQ(shown.At(55, 5), kThumb);
  EXPECT_EQ(shown.At(51, 9), kChannel);
}

INSTANTIATE_TEST_SUITE_P(BitmapRatio, BitmapSliderDrawing, testing::Values(1.0, 2.0));

}  // namespace
}  // namespace dvr::test
