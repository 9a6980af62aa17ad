#pragma once
// What the skin's widget tests build and look at: solid-coloured bitmaps at a pixel ratio, pixels
// of a grabbed widget in its own (logical) coordinates, and the paints a widget receives.
#include <gtest/gtest.h>

#include <QEvent>
#include <QPainter>
#include <QPixmap>
#include <QTest>
#include <QWidget>

#include <vector>

namespace dvr::test {

// A horizontal strip of solid frames of `frame` logical pixels, drawn at `ratio`.
inline QPixmap SolidStrip(const std::vector<QRgb>& colours, QSize frame, qreal ratio = 1) {
  QPixmap strip(qRound(frame.width() * colours.size() * ratio), qRound(frame.height() * ratio));
  strip.setDevicePixelRatio(ratio);
  QPainter painter(&strip);
  for (size_t i = 0; i < colours.size(); ++i) {
    painter.fillRect(QRect(QPoint(static_cast<int>(i) * frame.width(), 0), frame),
                     QColor(colours[i]));
  }
  return strip;
}

// The widget as it draws itself, read at logical coordinates whatever the screen's ratio.
class Grabbed {
 public:
  explicit Grabbed(QWidget& widget)
      : image_(widget.grab().toImage()), ratio_(image_.devicePixelRatio()) {}
  QRgb At(int x, int y) const { return image_.pixel(QPoint(x, y) * ratio_); }
  QRgb At(QPoint point) const { return At(point.x(), point.y()); }
  qreal Ratio() const { return ratio_; }
  // The smallest rectangle of device pixels holding every pixel brighter than half.
  QRect BrightBox() const {
    QRect box;
    for (int y = 0; y < image_.height(); ++y) {
      for (int x = 0; x < image_.width(); ++x) {
        if (qGray(image_.pixel(x, y)) > 128) box |= QRect(x, y, 1, 1);
      }
    }
    return box;
  }

 private:
  QImage image_;
  qreal ratio_;
};

// Counts the paint events a widget receives.
class PaintCounter final : public QObject {
 public:
  explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
  int Count() const { return count_; }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++count_;
    return false;
  }

 private:
  int count_ = 0;
};

// A shown top-level window for widgets under test, with a small sentinel child. A window paints
// all its pending updates together, so once an update of the sentinel has been painted, so has
// every update asked for before it: a test can then tell "no repaint" from "not yet".
class TestWindow {
 public:
  TestWindow() : sentinel_(new QWidget(&window_)), sentinel_paints_(*sentinel_) {
    window_.resize(480, 120);
    sentinel_->setGeometry(470, 110, 10, 10);
  }
  QWidget* Widget() { return &window_; }
  void Show() {
    window_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
  }
  void SettlePaints() {
    const int before = sentinel_paints_.Count();
    sentinel_->update();
    ASSERT_TRUE(QTest::qWaitFor([&] { return sentinel_paints_.Count() > before; }));
  }

 private:
  QWidget window_;
  QWidget* sentinel_;
  PaintCounter sentinel_paints_;
};

}  // namespace dvr::test
