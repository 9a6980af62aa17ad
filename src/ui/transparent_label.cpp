#include "ui/transparent_label.h"

#include <QPainter>

namespace dvr::ui {

TransparentLabel::TransparentLabel(QWidget* parent)
    : QWidget(parent), colour_(palette().color(QPalette::WindowText)) {}

void TransparentLabel::SetText(const QString& text) {
  if (text == text_) return;
  text_ = text;
  update();
}

void TransparentLabel::SetTextColour(QColor colour) {
  if (colour == colour_) return;
  colour_ = colour;
  update();
}

// Only the text: the parent paints under it first on every update, so no fill and no copy of the
// background is needed (a copy would go stale when the parent or the layout changes).
void TransparentLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(colour_);
  painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text_);
}

}  // namespace dvr::ui
