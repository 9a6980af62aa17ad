#include "ui/skin_dialog.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWindow>
#include <QtMath>

#include <algorithm>

namespace dvr::ui {
namespace {

// A piece of the border bitmap in its logical pixels, as a rectangle of its device pixels.
QRectF Source(const QPixmap& pixmap, int x, int y, int width, int height) {
  const qreal ratio = pixmap.devicePixelRatio();
  return QRectF(x * ratio, y * ratio, width * ratio, height * ratio);
}

}  // namespace

SkinDialog::SkinDialog(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), grip_(new QWidget(this)) {
  // The grip draws nothing and takes no press: the press reaches this window, which resizes.
  grip_->setCursor(Qt::SizeFDiagCursor);
  grip_->hide();
}

void SkinDialog::SetSkinBitmap(const QPixmap& border) {
  border_ = border;
  ComposeBorder();
  if (corner_width_ > 0 && !border_.isNull()) setMask(RoundedRegion(size(), corner_width_, corner_height_));
  update();
}

void SkinDialog::SetCorners(int width, int height) {
  corner_width_ = std::max(0, width);
  corner_height_ = std::max(0, height);
  if (!border_.isNull()) setMask(RoundedRegion(size(), corner_width_, corner_height_));
}

void SkinDialog::SetDraggable(bool on) {
  draggable_ = on;
}

void SkinDialog::SetResizeCorner(int size) {
  resize_corner_ = std::max(0, size);
  PlaceGrip();
}

void SkinDialog::PlaceGrip() {
  grip_->setGeometry(width() - resize_corner_, height() - resize_corner_, resize_corner_,
                     resize_corner_);
  grip_->setVisible(resize_corner_ > 0);
  grip_->raise();
}

QRegion SkinDialog::RoundedRegion(QSize size, int corner_width, int corner_height) {
  if (corner_width <= 0 || corner_height <= 0) return QRegion(QRect(QPoint(0, 0), size));
  QPainterPath path;
  path.addRoundedRect(QRectF(0, 0, size.width(), size.height()), corner_width / 2.0,
                      corner_height / 2.0);
  return QRegion(path.toFillPolygon().toPolygon());
}

// The border at the window's size: the bitmap's quarters in the corners (the right and bottom ones
// one pixel in), its middle strips stretched along the edges. Made once per size, so that a paint
// is one copy of the part it repaints.
void SkinDialog::ComposeBorder() {
  composed_ = QPixmap();
  if (border_.isNull() || width() <= 0 || height() <= 0) return;
  const qreal ratio = devicePixelRatioF();
  composed_ = QPixmap(QSize(qCeil(width() * ratio), qCeil(height() * ratio)));
  composed_.setDevicePixelRatio(ratio);
  // The last row and column are outside every piece: they take the border's outermost colour.
  const QImage corner = border_.toImage();
  composed_.fill(corner.pixelColor(corner.width() - 1, corner.height() - 1));

  const QSize bitmap = border_.deviceIndependentSize().toSize();
  const int w = bitmap.width(), h = bitmap.height();
  const int half_w = w / 2, half_h = h / 2;
  const int right = width() - half_w - 1, bottom = height() - half_h - 1;
  QPainter painter(&composed_);
  painter.drawPixmap(QRectF(0, 0, half_w, half_h), border_, Source(border_, 0, 0, half_w, half_h));
  painter.drawPixmap(QRectF(right, 0, half_w, half_h), border_,
                     Source(border_, half_w, 0, half_w, half_h));
  painter.drawPixmap(QRectF(0, bottom, half_w, half_h), border_,
                     Source(border_, 0, half_h, half_w, half_h));
  painter.drawPixmap(QRectF(right, bottom, half_w, half_h), border_,
                     Source(border_, half_w, half_h, half_w, half_h));
  const int across = width() - w, down = height() - h;
  if (across > 0) {
    painter.drawPixmap(QRectF(half_w, 0, across, half_h), border_,
                       Source(border_, half_w, 0, w / 10, half_h));
    painter.drawPixmap(QRectF(half_w, bottom, across, half_h), border_,
                       Source(border_, half_w, half_h, w / 10, half_h));
  }
  if (down > 0) {
    painter.drawPixmap(QRectF(0, half_h, half_w, down), border_,
                       Source(border_, 0, half_h, half_w, h / 10));
    painter.drawPixmap(QRectF(right, half_h, half_w, down), border_,
                       Source(border_, half_w, half_h, half_w, h / 10));
  }
}

void SkinDialog::paintEvent(QPaintEvent* event) {
  if (composed_.isNull()) {
    QWidget::paintEvent(event);
    return;
  }
  if (composed_.devicePixelRatio() != devicePixelRatioF()) ComposeBorder();  // moved to another screen
  QPainter painter(this);
  for (const QRect& rect : event->region()) {
    painter.drawPixmap(rect, composed_, Source(composed_, rect.x(), rect.y(), rect.width(), rect.height()));
  }
}

void SkinDialog::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  PlaceGrip();
  if (border_.isNull()) return;
  ComposeBorder();
  if (corner_width_ > 0) setMask(RoundedRegion(size(), corner_width_, corner_height_));
  update();
}

bool SkinDialog::InResizeCorner(QPoint point) const {
  return resize_corner_ > 0 && point.x() >= width() - resize_corner_ &&
         point.y() >= height() - resize_corner_;
}

void SkinDialog::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  const QPoint at = event->position().toPoint();
  if (InResizeCorner(at)) {
    // The window system resizes where it can (and keeps the minimum size); else we follow.
    if (QWindow* window = windowHandle(); window && window->startSystemResize(Qt::RightEdge | Qt::BottomEdge)) {
      return;
    }
    drag_ = Drag::kResize;
    drag_offset_ = QPoint(width(), height()) - at;
  } else if (draggable_) {
    // The move begins when the pointer moves: a window system that took the pointer at the press
    // would swallow the second click of a double click.
    drag_ = Drag::kPressed;
    drag_offset_ = at;
  }
}

void SkinDialog::mouseMoveEvent(QMouseEvent* event) {
  const QPoint global = event->globalPosition().toPoint();
  switch (drag_) {
    case Drag::kPressed:
      if ((event->position().toPoint() - drag_offset_).manhattanLength() <
          QApplication::startDragDistance()) {
        return;
      }
      if (QWindow* window = windowHandle(); window && window->startSystemMove()) {
        drag_ = Drag::kNone;
        return;
      }
      drag_ = Drag::kMove;
      move(global - drag_offset_);
      return;
    case Drag::kMove:
      move(global - drag_offset_);
      return;
    case Drag::kResize: {
      const QPoint corner = global - mapToGlobal(QPoint(0, 0)) + drag_offset_;
      resize(std::max(corner.x(), minimumWidth()), std::max(corner.y(), minimumHeight()));
      return;
    }
    case Drag::kNone:
      return;
  }
}

void SkinDialog::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) drag_ = Drag::kNone;
  QWidget::mouseReleaseEvent(event);
}

}  // namespace dvr::ui
