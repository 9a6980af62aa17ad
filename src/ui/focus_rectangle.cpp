#include "ui/focus_rectangle.h"

#include <QStyle>
#include <QStyleOptionFocusRect>

namespace dvr::ui {

void DrawFocusRectangle(QPainter& painter, const QWidget& widget, const QRect& rect) {
  QStyleOptionFocusRect option;
  option.initFrom(&widget);
  option.rect = rect;
  widget.style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, &widget);
}

}  // namespace dvr::ui
