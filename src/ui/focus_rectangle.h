#pragma once
// The style's focus rectangle, for the skin's controls that draw everything themselves.
#include <QPainter>
#include <QRect>
#include <QWidget>

namespace dvr::ui {

void DrawFocusRectangle(QPainter& painter, const QWidget& widget, const QRect& rect);

}  // namespace dvr::ui
