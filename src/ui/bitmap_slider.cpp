#include "ui/bitmap_slider.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "ui/focus_rectangle.h"
#include "ui/skin_pixmap.h"

namespace dvr::ui {
namespace {

int ClampInto(int64_t value, int minimum, int maximum) {
  if (maximum <= minimum) return minimum;
  return static_cast<int>(std::clamp<int64_t>(value, minimum, maximum));
}

QSize LogicalSize(const QPixmap& pixmap) {
  return pixmap.deviceIndependentSize().toSize();
}

int AlongOf(Qt::Orientation orientation, QSize size) {
  return orientation == Qt::Horizontal ? size.width() : size.height();
}

int AcrossOf(Qt::Orientation orientation, QSize size) {
  return orientation == Qt::Horizontal ? size.height() : size.width();
}

// A rectangle given along and across the slider.
QRectF Oriented(Qt::Orientation orientation, qreal along, qreal across, qreal along_size,
                qreal across_size) {
  if (orientation == Qt::Horizontal) return QRectF(along, across, along_size, across_size);
  return QRectF(across, along, across_size, along_size);
}

// The channel over the slider's whole length, centred across it: its two ends (half its thickness
// each) as they are, its middle stretched between them.
void DrawChannel(QPainter& painter, const QPixmap& channel, Qt::Orientation orientation,
                 QSize widget) {
  const QSize size = LogicalSize(channel);
  const int bitmap_length = AlongOf(orientation, size);
  const int thickness = AcrossOf(orientation, size);
  const int length = AlongOf(orientation, widget);
  const int end = std::min({thickness / 2, bitmap_length / 2, length / 2});
  const int across = (AcrossOf(orientation, widget) - thickness) / 2;
  const qreal ratio = channel.devicePixelRatio();
  const auto piece = [&](int target_along, int target_length, int source_along, int source_length) {
    // QPainter reads an empty source as "the rest of the pixmap": skip empty pieces instead.
    if (target_length <= 0 || source_length <= 0) return;
    painter.drawPixmap(
        Oriented(orientation, target_along, across, target_length, thickness), channel,
        Oriented(orientation, source_along * ratio, 0, source_length * ratio, thickness * ratio));
  };
  piece(0, end, 0, end);
  piece(end, length - 2 * end, end, bitmap_length - 2 * end);
  piece(length - end, end, bitmap_length - end, end);
}

QPixmap Keyed(const QPixmap& pixmap, const KeyColour& key) {
  if (!key.transparent || pixmap.isNull()) return pixmap;
  if (key.colour) return WithKeyColourTransparent(pixmap, *key.colour);
  const QImage image = pixmap.toImage();
  const QPoint pixel = key.pixel * pixmap.devicePixelRatio();
  if (!image.valid(pixel)) return pixmap;
  return WithKeyColourTransparent(pixmap, image.pixelColor(pixel));
}

}  // namespace

BitmapSlider::BitmapSlider(Qt::Orientation orientation, QWidget* parent)
    : QWidget(parent), orientation_(orientation) {
  setFocusPolicy(Qt::StrongFocus);
}

void BitmapSlider::SetRange(int minimum, int maximum, bool redraw) {
  const bool changed = minimum != minimum_ || maximum != maximum_;
  minimum_ = minimum;
  maximum_ = maximum;
  position_ = ClampInto(position_, minimum_, maximum_);
  if (redraw && changed) update();
}

void BitmapSlider::SetPosition(int position) {
  position_ = ClampInto(position, minimum_, maximum_);
  UpdateIfMoved();
}

void BitmapSlider::SetPageSize(int page_size) {
  page_size_ = page_size;
}

void BitmapSlider::SetMargins(int left, int top, int right, int bottom) {
  margin_left_ = left;
  margin_top_ = top;
  margin_right_ = right;
  margin_bottom_ = bottom;
  update();
}

void BitmapSlider::SetChannelBitmaps(const QPixmap& channel, const QPixmap& active, KeyColour key) {
  channel_ = Keyed(channel, key);
  active_channel_ = channel.isNull() ? QPixmap() : Keyed(active, key);
  update();
}

void BitmapSlider::SetThumbBitmaps(const QPixmap& thumb, const QPixmap& active, KeyColour key) {
  thumb_ = Keyed(thumb, key);
  active_thumb_ = thumb.isNull() ? QPixmap() : Keyed(active, key);
  update();
}

void BitmapSlider::SetTooltip(const QString& text) {
  setToolTip(text);
}

void BitmapSlider::SetDrawFocusRectangle(bool on) {
  if (on == draw_focus_) return;
  draw_focus_ = on;
  if (hasFocus()) update();
}

SliderGeometry BitmapSlider::Geometry() const {
  const bool horizontal = orientation_ == Qt::Horizontal;
  return {.length = AlongOf(orientation_, size()),
          .start_margin = horizontal ? margin_left_ : margin_top_,
          .end_margin = horizontal ? margin_right_ : margin_bottom_,
          .thumb = AlongOf(orientation_, LogicalSize(thumb_)),
          .minimum = minimum_,
          .maximum = maximum_};
}

int BitmapSlider::ThumbPixel() const {
  return PixelForPosition(Geometry(), position_);
}

void BitmapSlider::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const int thumb_pixel = ThumbPixel();
  painted_pixel_ = thumb_pixel;
  if (!channel_.isNull()) {
    const int length = AlongOf(orientation_, size());
    const int across = AcrossOf(orientation_, size());
    const QPixmap& before_thumb = active_channel_.isNull() ? channel_ : active_channel_;
    painter.setClipRect(Oriented(orientation_, 0, 0, thumb_pixel, across));
    DrawChannel(painter, before_thumb, orientation_, size());
    painter.setClipRect(Oriented(orientation_, thumb_pixel, 0, length - thumb_pixel, across));
    DrawChannel(painter, channel_, orientation_, size());
    painter.setClipping(false);
  }
  const QPixmap& thumb = dragging_ && !active_thumb_.isNull() ? active_thumb_ : thumb_;
  if (!thumb.isNull()) {
    const QSize thumb_size = LogicalSize(thumb);
    const int along = thumb_pixel - AlongOf(orientation_, thumb_size) / 2;
    const int across = orientation_ == Qt::Horizontal ? margin_top_ : margin_left_;
    painter.drawPixmap(Oriented(orientation_, along, across, AlongOf(orientation_, thumb_size),
                                AcrossOf(orientation_, thumb_size)),
                       thumb, QRectF(QPointF(0, 0), thumb.size()));
  }
  if (draw_focus_ && hasFocus()) DrawFocusRectangle(painter, *this, rect());
}

void BitmapSlider::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  if (focusPolicy() & Qt::ClickFocus) setFocus(Qt::MouseFocusReason);
  dragging_ = true;
  const int along = Along(event->position().toPoint());
  const int centre = ThumbPixel();
  // Held off its centre the thumb keeps that offset under the pointer; a press on the channel
  // away from it brings its centre there.
  const bool on_thumb = std::abs(along - centre) <= Geometry().thumb / 2;
  grab_offset_ = on_thumb ? along - centre : 0;
  MoveThumbTo(along - grab_offset_);
  update();
}

void BitmapSlider::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_) MoveThumbTo(Along(event->position().toPoint()) - grab_offset_);
}

void BitmapSlider::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !dragging_) {
    event->ignore();
    return;
  }
  EndDrag();
}

void BitmapSlider::EndDrag() {
  dragging_ = false;
  update();
  emit Set(position_);
}

void BitmapSlider::keyPressEvent(QKeyEvent* event) {
  if (!isEnabled()) {
    event->ignore();
    return;
  }
  int64_t target = position_;
  switch (event->key()) {
    case Qt::Key_PageUp:
      target -= page_size_;
      break;
    case Qt::Key_PageDown:
      target += page_size_;
      break;
    case Qt::Key_End:
      target = maximum_;
      break;
    case Qt::Key_Home:
      target = minimum_;
      break;
    case Qt::Key_Right:
    case Qt::Key_Down:
      target += 1;
      break;
    case Qt::Key_Left:
    case Qt::Key_Up:
      target -= 1;
      break;
    default:
      event->ignore();
      return;
  }
  position_ = ClampInto(target, minimum_, maximum_);
  UpdateIfMoved();
  emit Set(position_);
}

bool BitmapSlider::event(QEvent* event) {
  // Hidden, disabled or losing the focus to a popup or a message box under the pointer, the slider
  // gets no release: the drag ends here, or the owner would take it for a drag forever and stop
  // moving the thumb.
  if (dragging_ && (event->type() == QEvent::Hide || event->type() == QEvent::FocusOut ||
                    (event->type() == QEvent::EnabledChange && !isEnabled()))) {
    EndDrag();
  }
  if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
    // Focus shows only as the optional focus rectangle: without it, nothing to repaint.
    if (draw_focus_) update();
    return true;
  }
  return QWidget::event(event);
}

int BitmapSlider::Along(QPoint point) const {
  return orientation_ == Qt::Horizontal ? point.x() : point.y();
}

void BitmapSlider::MoveThumbTo(int pixel) {
  const SliderGeometry geometry = Geometry();
  const int clamped = std::clamp(pixel, FirstThumbPixel(geometry), LastThumbPixel(geometry));
  if (clamped == PixelForPosition(geometry, position_)) return;
  position_ = PositionForPixel(geometry, clamped);
  UpdateIfMoved();
  emit Tracked(position_);
}

void BitmapSlider::UpdateIfMoved() {
  if (ThumbPixel() != painted_pixel_) update();
}

}  // namespace dvr::ui
