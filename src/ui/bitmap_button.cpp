#include "ui/bitmap_button.h"

#include <qdrawutil.h>
#include <QEnterEvent>
#include <QPainter>

#include <algorithm>

#include "ui/focus_rectangle.h"
#include "ui/skin_pixmap.h"

namespace dvr::ui {
namespace {

constexpr int kCaptionFlags = Qt::AlignCenter | Qt::TextSingleLine;

// Frame `index` of a strip whose frames are `frame` logical pixels each.
QPixmap CutFrame(const QPixmap& strip, QSize frame, int index) {
  const qreal ratio = strip.devicePixelRatio();
  const QRect source(qRound(index * frame.width() * ratio), 0, qRound(frame.width() * ratio),
                     qRound(frame.height() * ratio));
  QPixmap cut = strip.copy(source);
  cut.setDevicePixelRatio(ratio);
  return cut;
}

}  // namespace

BitmapButton::BitmapButton(Kind kind, QWidget* parent)
    : QAbstractButton(parent), kind_(kind), text_colour_(palette().color(QPalette::ButtonText)) {
  setCheckable(kind != kPushButton);
  if (kind == kRadioButton) {
    // Qt's own auto-exclusion reaches into every descendant of the parent and cannot be undone by
    // setChecked(false); the group here is exactly the radio siblings.
    connect(this, &QAbstractButton::toggled, this, [this](bool checked) {
      if (checked) UncheckOtherRadioButtons();
    });
  }
}

void BitmapButton::SetBitmap(const QPixmap& strip, bool draw_edge, int text_margin,
                             bool mask_frame) {
  draw_edge_ = draw_edge;
  text_margin_ = std::max(0, text_margin);
  const int frame_count = mask_frame ? 5 : 4;
  const QSizeF logical = strip.deviceIndependentSize();
  const QSize frame(static_cast<int>(logical.width()) / frame_count,
                    static_cast<int>(logical.height()));
  frames_ = {};
  frame_size_ = QSize();
  if (!strip.isNull() && !frame.isEmpty()) {
    frame_size_ = frame;
    const QPixmap mask = mask_frame ? CutFrame(strip, frame, 4) : QPixmap();
    for (int index = 0; index < static_cast<int>(frames_.size()); ++index) {
      const QPixmap cut = CutFrame(strip, frame, index);
      frames_[index] = mask_frame ? ThroughMask(cut, mask) : cut;
    }
    resize(frame_size_);
  }
  updateGeometry();
  update();
}

void BitmapButton::SetTooltip(const QString& text) {
  setToolTip(text);
}

void BitmapButton::SetTextColour(QColor colour) {
  if (colour == text_colour_) return;
  text_colour_ = colour;
  update();
}

BitmapButton::Frame BitmapButton::CurrentFrame() const {
  if (!isEnabled()) return kDisabledFrame;
  if (isDown() || isChecked()) return kPressedFrame;
  if (mouse_over_) return kHoverFrame;
  return kNormalFrame;
}

QSize BitmapButton::sizeHint() const {
  return frame_size_;
}

void BitmapButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const Frame frame = CurrentFrame();
  if (!frames_[frame].isNull()) painter.drawPixmap(0, 0, frames_[frame]);
  if (draw_edge_) qDrawShadePanel(&painter, rect(), palette(), frame == kPressedFrame);

  const int inset = text_margin_ + 2;
  const QRect caption = rect().adjusted(inset, 0, -inset, 0);
  painter.setFont(font());
  if (frame == kDisabledFrame) {
    // Engraved: a light copy under the grey text, one pixel down and right of it.
    painter.setPen(palette().color(QPalette::Light));
    painter.drawText(caption, kCaptionFlags, text());
    painter.setPen(palette().color(QPalette::Disabled, QPalette::Text));
    painter.drawText(caption.translated(-1, -1), kCaptionFlags, text());
  } else {
    painter.setPen(text_colour_);
    painter.drawText(frame == kPressedFrame ? caption.translated(1, 1) : caption, kCaptionFlags,
                     text());
  }
  if (hasFocus() && text_margin_ > 0) {
    DrawFocusRectangle(painter, *this,
                       rect().adjusted(text_margin_, text_margin_, -text_margin_, -text_margin_));
  }
}

void BitmapButton::enterEvent(QEnterEvent* event) {
  mouse_over_ = true;
  update();
  QAbstractButton::enterEvent(event);
}

void BitmapButton::leaveEvent(QEvent* event) {
  mouse_over_ = false;
  update();
  QAbstractButton::leaveEvent(event);
}

void BitmapButton::nextCheckState() {
  if (kind_ == kRadioButton) {
    setChecked(true);  // a click never unchecks a radio button
  } else {
    QAbstractButton::nextCheckState();
  }
}

void BitmapButton::UncheckOtherRadioButtons() {
  if (parentWidget() == nullptr) return;
  const auto siblings = parentWidget()->findChildren<BitmapButton*>(Qt::FindDirectChildrenOnly);
  for (BitmapButton* sibling : siblings) {
    if (sibling != this && sibling->kind_ == kRadioButton) sibling->setChecked(false);
  }
}

}  // namespace dvr::ui
