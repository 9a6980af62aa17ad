// The timeline strip as it draws itself and as the mouse drives it: spans, gaps, stretches,
// position and marks in their colours, clicks to a time, wheel zoom, drag and Home, the
// progress while the map is built, and repaints only for visible changes.
#include "app/timeline_strip.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <QWheelEvent>

#include <cstdlib>
#include <filesystem>

#include "ui/widget_probe.h"

namespace dvr::test {
namespace {

using app::TimelineStrip;

const QColor kBackground(0x10, 0x14, 0x18);
const QColor kRecorded(0x2f, 0x7d, 0xd1);
const QColor kBad(0xd1, 0x4b, 0x2f);
const QColor kBlank(0x6b, 0x6b, 0x6b);
const QColor kMarks(0xf2, 0xc9, 0x4c);
constexpr int kWidth = 400;
constexpr int kMiddle = TimelineStrip::kHeight / 2;
constexpr double kSecondsPerPixel = 3000.0 / kWidth;

bool Is(QRgb pixel, const QColor& colour) {
  return std::abs(qRed(pixel) - colour.red()) <= 4 &&
         std::abs(qGreen(pixel) - colour.green()) <= 4 &&
         std::abs(qBlue(pixel) - colour.blue()) <= 4;
}

// 1000..1999 and 3000..3999 recorded, a bad stretch inside the first (about 1400..1450), a blank
// one after the second.
std::shared_ptr<const media::TimeMap> Recorded() {
  auto map = std::make_shared<media::TimeMap>();
  map->block_count = 2100;
  map->spans = {{1000, 1999, 0, 1000}, {3000, 3999, 1000, 2000}};
  map->gaps = {{1999, 3000}};
  map->bad = {{400, 450, false}, {2000, 2100, true}};
  return map;
}

class TimelineStripTest : public testing::Test {
 protected:
  void SetUp() override {
    strip_ = new TimelineStrip(window_.Widget());
    strip_->setGeometry(0, 0, kWidth, TimelineStrip::kHeight);
    window_.Show();
  }

  int X(uint32_t time) const { return strip_->View().XForTime(time); }
  uint64_t ViewSeconds() const {
    return uint64_t{strip_->View().ViewEnd()} - strip_->View().ViewStart() + 1;
  }
  int Count(const QColor& colour) {
    const Grabbed shown(*strip_);
    int count = 0;
    for (int x = 0; x < kWidth; ++x) {
      for (int y = 0; y < TimelineStrip::kHeight; ++y) count += Is(shown.At(x, y), colour);
    }
    return count;
  }
  // Pixels bright enough to be text, in the columns [from, to).
  int TextPixels(int from, int to) {
    const Grabbed shown(*strip_);
    int count = 0;
    for (int x = from; x < to; ++x) {
      for (int y = 0; y < TimelineStrip::kHeight; ++y) count += qGray(shown.At(x, y)) > 150;
    }
    return count;
  }
  void Mouse(QEvent::Type type, int x, Qt::MouseButton button, Qt::MouseButtons held) {
    const QPointF local(x, kMiddle);
    QMouseEvent event(type, local, strip_->mapToGlobal(local), button, held, Qt::NoModifier);
    QApplication::sendEvent(strip_, &event);
  }
  void Wheel(int x, int eighths_of_degree) {
    const QPointF local(x, kMiddle);
    QWheelEvent event(local, strip_->mapToGlobal(local), QPoint(), QPoint(0, eighths_of_degree),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(strip_, &event);
  }

  TestWindow window_;
  TimelineStrip* strip_ = nullptr;
};

TEST_F(TimelineStripTest, DrawsSpansGapsStretchesPositionAndMarks) {
  strip_->SetMap(Recorded());
  strip_->SetPosition(1700);
  strip_->SetMarks(3200, 3600);
  EXPECT_EQ(strip_->View().ViewStart(), 1000u);
  EXPECT_EQ(strip_->View().ViewEnd(), 3999u);
  const Grabbed shown(*strip_);
  EXPECT_TRUE(Is(shown.At(X(1200), kMiddle), kRecorded));
  EXPECT_TRUE(Is(shown.At(X(1200), 0), kBackground));  // a rim above the bar
  EXPECT_TRUE(Is(shown.At(X(2500), kMiddle), kBackground));
  EXPECT_TRUE(Is(shown.At(X(1425), kMiddle), kBad));
  EXPECT_TRUE(Is(shown.At(kWidth - 1, kMiddle), kBlank));
  EXPECT_TRUE(Is(shown.At(X(1700), kMiddle), Qt::white));
  EXPECT_TRUE(Is(shown.At(X(1700), 0), Qt::white));
  // The marked span: tinted spans and rim between the marks, a staff at each.
  const QRgb tinted = shown.At(X(3400), kMiddle);
  EXPECT_FALSE(Is(tinted, kRecorded));
  EXPECT_GT(qRed(tinted), 100);
  EXPECT_GT(qBlue(tinted), 140);
  EXPECT_FALSE(Is(shown.At(X(3400), 0), kBackground));
  EXPECT_TRUE(Is(shown.At(X(3100), kMiddle), kRecorded));
  EXPECT_TRUE(Is(shown.At(X(3200), kMiddle), kMarks));
  EXPECT_TRUE(Is(shown.At(X(3600), kMiddle), kMarks));
}

TEST_F(TimelineStripTest, NothingOpenIsBlankAndProgressReplacesTheSpans) {
  EXPECT_EQ(Count(kBackground), kWidth * TimelineStrip::kHeight);
  strip_->SetMap(Recorded());
  strip_->SetProgress(42);
  EXPECT_EQ(Count(kRecorded), 0);
  EXPECT_GT(TextPixels(0, kWidth / 2), 20);
  QSignalSpy clicked(strip_, &TimelineStrip::TimeClicked);
  QTest::mouseClick(strip_, Qt::LeftButton, {}, QPoint(100, kMiddle));
  EXPECT_EQ(clicked.count(), 0);

  strip_->SetMap(Recorded());
  EXPECT_GT(Count(kRecorded), 0);
  EXPECT_EQ(TextPixels(0, kWidth), 0);
  strip_->SetMap(nullptr);
  EXPECT_EQ(Count(kBackground), kWidth * TimelineStrip::kHeight);
}

TEST_F(TimelineStripTest, AClickGoesToTheTimeUnderThePointer) {
  strip_->SetMap(Recorded());
  QSignalSpy clicked(strip_, &TimelineStrip::TimeClicked);
  for (const int x : {0, 100, 399}) {
    QTest::mouseClick(strip_, Qt::LeftButton, {}, QPoint(x, kMiddle));
    ASSERT_EQ(clicked.count(), 1);
    const double expected = 1000 + (x + 0.5) * kSecondsPerPixel;
    EXPECT_NEAR(clicked.takeFirst().at(0).toUInt(), expected, kSecondsPerPixel) << x;
  }
}

TEST_F(TimelineStripTest, WheelZoomsAroundThePointerDragPansHomeShowsAll) {
  strip_->SetMap(Recorded());
  const uint32_t under = strip_->View().TimeAtX(100);
  Wheel(100, 120);
  EXPECT_LT(ViewSeconds(), 3000u);
  EXPECT_EQ(strip_->View().TimeAtX(100), under);
  for (int i = 0; i < 30; ++i) Wheel(100, 120);
  EXPECT_EQ(ViewSeconds(), app::TimelineView::kMinimumSeconds);
  EXPECT_EQ(strip_->View().TimeAtX(100), under);
  for (int i = 0; i < 40; ++i) Wheel(100, -120);
  EXPECT_TRUE(strip_->View().ShowsAll());

  // A drag to the right while zoomed brings earlier time into view and goes to no time.
  Wheel(300, 360);
  const uint32_t start = strip_->View().ViewStart();
  const double seconds_per_pixel = double(ViewSeconds()) / kWidth;
  QSignalSpy clicked(strip_, &TimelineStrip::TimeClicked);
  Mouse(QEvent::MouseButtonPress, 200, Qt::LeftButton, Qt::LeftButton);
  Mouse(QEvent::MouseMove, 230, Qt::NoButton, Qt::LeftButton);
  Mouse(QEvent::MouseMove, 260, Qt::NoButton, Qt::LeftButton);
  Mouse(QEvent::MouseButtonRelease, 260, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(clicked.count(), 0);
  EXPECT_NEAR(double(start) - strip_->View().ViewStart(), 60 * seconds_per_pixel, 1);

  // A finer map of the same time keeps the zoom; one of other times shows all of it.
  const uint32_t panned = strip_->View().ViewStart();
  strip_->SetMap(Recorded());
  EXPECT_EQ(strip_->View().ViewStart(), panned);
  auto longer = std::make_shared<media::TimeMap>(*Recorded());
  longer->spans.push_back({5000, 5999, 2100, 3100});
  strip_->SetMap(longer);
  EXPECT_TRUE(strip_->View().ShowsAll());
  strip_->SetMap(Recorded());
  Wheel(300, 360);

  QTest::keyClick(strip_, Qt::Key_Home);
  EXPECT_TRUE(strip_->View().ShowsAll());
  Wheel(300, 360);
  QTest::mouseDClick(strip_, Qt::LeftButton, {}, QPoint(300, kMiddle));
  EXPECT_TRUE(strip_->View().ShowsAll());
}

TEST_F(TimelineStripTest, TimeUnderThePointerAsTextAndTooltip) {
  strip_->SetMap(Recorded());
  strip_->SetPosition(1700);
  strip_->SetMarks(3200, 3600);
  EXPECT_EQ(TextPixels(X(2100), X(2900)), 0);
  Mouse(QEvent::MouseMove, X(2000), Qt::NoButton, Qt::NoButton);
  EXPECT_GT(TextPixels(X(2100), X(2900)), 20);

  const QPoint at(X(2000), kMiddle);
  QHelpEvent help(QEvent::ToolTip, at, strip_->mapToGlobal(at));
  QApplication::sendEvent(strip_, &help);
  const QString expected =
      QString::fromStdString(app::TimelineTimeText(strip_->View().TimeAtX(at.x())));
  EXPECT_TRUE(expected.startsWith("1970-01-01 00:33:")) << expected.toStdString();
  EXPECT_EQ(QToolTip::text(), expected);

  const std::filesystem::path folder(TIMELINE_SCREENSHOT_DIR);
  std::filesystem::create_directories(folder);
  EXPECT_TRUE(
      strip_->grab().save(QString::fromStdString((folder / "timeline-strip.png").string())));

  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(strip_, &leave);
  EXPECT_EQ(TextPixels(X(2100), X(2900)), 0);
}

TEST_F(TimelineStripTest, RepaintsOnlyWhenSomethingShownChanges) {
  strip_->SetMap(Recorded());
  strip_->SetPosition(1700);
  strip_->SetMarks(3200, 3600);
  const PaintCounter paints(*strip_);
  window_.SettlePaints();
  const int before = paints.Count();
  strip_->SetPosition(1701);  // the same pixels
  strip_->SetMarks(3201, 3601);
  window_.SettlePaints();
  EXPECT_EQ(paints.Count(), before);
  strip_->SetPosition(1700 + 2 * kSecondsPerPixel);
  window_.SettlePaints();
  EXPECT_EQ(paints.Count(), before + 1);
  strip_->SetProgress(5);
  strip_->SetProgress(5);
  window_.SettlePaints();
  EXPECT_EQ(paints.Count(), before + 2);
}

}  // namespace
}  // namespace dvr::test
