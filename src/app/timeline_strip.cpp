#include "app/timeline_strip.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace dvr::app {
namespace {

const QColor kBackground(0x10, 0x14, 0x18);
const QColor kRecorded(0x2f, 0x7d, 0xd1);
const QColor kBad(0xd1, 0x4b, 0x2f);
const QColor kBlank(0x6b, 0x6b, 0x6b);
const QColor kPosition(0xff, 0xff, 0xff);
const QColor kMarks(0xf2, 0xc9, 0x4c);
const QColor kText(0xe0, 0xe0, 0xe0);
constexpr int kMarksAlpha = 89;  // 35 %

// The bands fill the strip but for a rim of background, so that they read as a bar over any
// picture behind the strip.
constexpr int kBandTop = 3;
constexpr int kBandHeight = TimelineStrip::kHeight - 2 * kBandTop;
// Bad and blank stretches are often far shorter than a pixel; they stay visible at this width.
constexpr int kStretchMinimumWidth = 2;
constexpr int kFlagSize = 5;
constexpr int kTextPixels = 9;
constexpr int kTextMargin = 4;
// One notch of the wheel (120 eighths of a degree) shows this share of the time shown before.
constexpr double kZoomPerNotch = 0.8;

QColor ColourOf(BandKind kind) {
  switch (kind) {
    case BandKind::kBad:
      return kBad;
    case BandKind::kBlank:
      return kBlank;
    case BandKind::kRecorded:
      break;
  }
  return kRecorded;
}

}  // namespace

TimelineStrip::TimelineStrip(QWidget* parent) : QWidget(parent) {
  setFixedHeight(kHeight);
  setMouseTracking(true);
  setFocusPolicy(Qt::ClickFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  QFont small = font();
  small.setPixelSize(kTextPixels);
  setFont(small);
  view_.SetWidth(width());
}

void TimelineStrip::SetMap(std::shared_ptr<const media::TimeMap> map) {
  if (map == map_ && !progress_) return;
  map_ = std::move(map);
  progress_.reset();
  bands_ = map_ ? TimelineBands(*map_) : std::vector<TimeBand>{};
  uint32_t first = 0, last = 0;
  if (map_ && !map_->spans.empty()) {
    first = UINT32_MAX;
    for (const media::RecordedSpan& span : map_->spans) {
      first = std::min(first, span.start_time);
      last = std::max(last, span.end_time);
    }
  }
  // A finer map of the same recorded time keeps the zoom the user chose.
  if (first != view_.RangeFirst() || last != view_.RangeLast()) view_.SetRange(first, last);
  Refresh();
}

void TimelineStrip::SetProgress(int percent) {
  progress_ = std::clamp(percent, 0, 100);
  Refresh();
}

void TimelineStrip::SetPosition(std::optional<uint32_t> time) {
  position_ = time;
  Refresh();
}

void TimelineStrip::SetMarks(std::optional<uint32_t> in, std::optional<uint32_t> out) {
  mark_in_ = in;
  mark_out_ = out;
  Refresh();
}

bool TimelineStrip::ShowsTimes() const {
  return !progress_ && map_ && !map_->spans.empty();
}

// A pixel column, or one just outside the strip for any time out of view, so that moving out of
// view does not count as a change.
std::optional<int> TimelineStrip::PixelOf(std::optional<uint32_t> time) const {
  if (!time || !ShowsTimes()) return std::nullopt;
  return std::clamp(view_.XForTime(*time), -1, view_.Width());
}

TimelineStrip::Scene TimelineStrip::CurrentScene() const {
  Scene scene;
  scene.progress = progress_;
  if (progress_) return scene;
  scene.map = map_.get();
  if (!ShowsTimes()) return scene;
  scene.view = view_;
  scene.position_x = PixelOf(position_);
  scene.mark_in_x = PixelOf(mark_in_);
  scene.mark_out_x = PixelOf(mark_out_);
  scene.hover_x = hover_x_;
  return scene;
}

void TimelineStrip::Refresh() {
  Scene scene = CurrentScene();
  if (scene == shown_) return;
  shown_ = scene;
  update();
}

QString TimelineStrip::TimeTextAt(int x) const {
  return QString::fromStdString(TimelineTimeText(view_.TimeAtX(x)));
}

void TimelineStrip::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), kBackground);
  if (progress_) {
    DrawProgress(painter);
    return;
  }
  if (!ShowsTimes()) return;
  DrawBands(painter);
  DrawMarks(painter);
  DrawPosition(painter);
  DrawHoverTime(painter);
}

void TimelineStrip::DrawBands(QPainter& painter) const {
  for (const TimeBand& band : bands_) {
    if (band.end < view_.ViewStart() || band.start > view_.ViewEnd()) continue;
    int left = std::max(view_.XForTime(band.start), 0);
    int right = std::min(view_.XForTime(band.end) + 1, width());
    if (band.kind != BandKind::kRecorded && right - left < kStretchMinimumWidth) {
      left = std::max(0, (left + right - kStretchMinimumWidth) / 2);
      right = std::min(width(), left + kStretchMinimumWidth);
    }
    painter.fillRect(QRect(left, kBandTop, std::max(1, right - left), kBandHeight),
                     ColourOf(band.kind));
  }
}

// The marked span as a tinted overlay, with a flag on a staff at each mark in view: the mark in
// points right into the span, the mark out left.
void TimelineStrip::DrawMarks(QPainter& painter) const {
  const std::optional<int> in = shown_.mark_in_x, out = shown_.mark_out_x;
  if (in && out) {
    const int left = std::max(std::min(*in, *out), 0);
    const int right = std::min(std::max(*in, *out) + 1, width());
    QColor tint = kMarks;
    tint.setAlpha(kMarksAlpha);
    painter.fillRect(QRect(left, 0, right - left, height()), tint);
  }
  const bool reversed = in && out && *out < *in;
  const auto flag = [&](std::optional<int> x, bool points_right) {
    if (!x || *x < 0 || *x >= width()) return;
    painter.fillRect(QRect(*x, 0, 1, height()), kMarks);
    const int tip = points_right ? *x + kFlagSize + 1 : *x - kFlagSize;
    const QPolygon pennant({QPoint(*x, 0), QPoint(tip, 0), QPoint(*x, kFlagSize + 1)});
    painter.setPen(Qt::NoPen);
    painter.setBrush(kMarks);
    painter.drawPolygon(pennant);
  };
  flag(in, !reversed);
  flag(out, reversed);
}

void TimelineStrip::DrawPosition(QPainter& painter) const {
  const std::optional<int> x = shown_.position_x;
  if (!x || *x < 0 || *x >= width()) return;
  painter.fillRect(QRect(*x, 0, 1, height()), kPosition);
}

// A faint line under the pointer and its time on a dark plate beside it, on whichever side fits.
void TimelineStrip::DrawHoverTime(QPainter& painter) const {
  if (!hover_x_) return;
  QColor line = kText;
  line.setAlpha(128);
  painter.fillRect(QRect(*hover_x_, 0, 1, height()), line);
  const QString text = TimeTextAt(*hover_x_);
  const QFontMetrics metrics(font());
  const int text_width = metrics.horizontalAdvance(text);
  const int plate_width = text_width + 2 * kTextMargin;
  int left = *hover_x_ + kTextMargin;
  if (left + plate_width > width()) left = std::max(0, *hover_x_ - kTextMargin - plate_width);
  QColor plate = kBackground;
  plate.setAlpha(200);
  painter.fillRect(QRect(left, 1, plate_width, height() - 2), plate);
  painter.setPen(kText);
  painter.drawText(QRect(left + kTextMargin, 0, text_width, height()), Qt::AlignVCenter, text);
}

void TimelineStrip::DrawProgress(QPainter& painter) const {
  painter.setPen(kText);
  painter.drawText(rect().adjusted(kTextMargin, 0, -kTextMargin, 0),
                   Qt::AlignVCenter | Qt::AlignLeft,
                   tr("Mapping recorded time... %1%").arg(*progress_));
}

void TimelineStrip::resizeEvent(QResizeEvent*) {
  view_.SetWidth(width());
  Refresh();
}

void TimelineStrip::mousePressEvent(QMouseEvent* event) {
  if (!ShowsTimes() || event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  pressed_ = true;
  dragging_ = false;
  press_x_ = event->position().toPoint().x();
  press_view_ = view_;
}

void TimelineStrip::mouseMoveEvent(QMouseEvent* event) {
  const int x = event->position().toPoint().x();
  hover_x_ = x;
  if (pressed_ && (event->buttons() & Qt::LeftButton)) {
    const int dx = x - press_x_;
    if (std::abs(dx) >= QApplication::startDragDistance()) dragging_ = true;
    if (dragging_) {
      view_ = press_view_;
      view_.Pan(dx);
    }
  }
  Refresh();
}

void TimelineStrip::mouseReleaseEvent(QMouseEvent* event) {
  if (!pressed_ || event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  const bool click = !dragging_;
  pressed_ = dragging_ = false;
  if (click && ShowsTimes()) emit TimeClicked(view_.TimeAtX(event->position().toPoint().x()));
}

void TimelineStrip::mouseDoubleClickEvent(QMouseEvent* event) {
  if (!ShowsTimes() || event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  // The first click of the pair already went to its time; the second only shows everything.
  pressed_ = dragging_ = false;
  view_.ShowAll();
  Refresh();
}

void TimelineStrip::wheelEvent(QWheelEvent* event) {
  const int notches_eighths = event->angleDelta().y();
  if (!ShowsTimes() || notches_eighths == 0) {
    event->ignore();
    return;
  }
  const int x = event->position().toPoint().x();
  view_.ZoomAround(x, std::pow(kZoomPerNotch, notches_eighths / 120.0));
  hover_x_ = x;
  Refresh();
}

void TimelineStrip::keyPressEvent(QKeyEvent* event) {
  if (event->key() != Qt::Key_Home || !ShowsTimes()) {
    QWidget::keyPressEvent(event);
    return;
  }
  view_.ShowAll();
  Refresh();
}

void TimelineStrip::leaveEvent(QEvent* event) {
  hover_x_.reset();
  Refresh();
  QWidget::leaveEvent(event);
}

bool TimelineStrip::event(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QWidget::event(event);
  const auto* help = static_cast<QHelpEvent*>(event);
  if (ShowsTimes()) {
    // Held only while the pointer stays on its pixel column, so that the next one gets its time.
    const QRect column(help->pos().x(), 0, 1, height());
    QToolTip::showText(help->globalPos(), TimeTextAt(help->pos().x()), this, column);
  } else {
    QToolTip::hideText();
  }
  return true;
}

}  // namespace dvr::app
