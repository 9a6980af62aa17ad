#include "key_glyphs.h"

#include "canvas.h"
#include "digits.h"

namespace dvr::skin {

Glyph CameraBadgeGlyph(int digit) {
  QPainterPath badge;
  badge.addRoundedRect(QRectF(-7, -7, 14, 14), 3, 3);
  return {badge.subtracted(DigitArea(digit))};
}

Glyph MenuGlyph() {
  Glyph glyph;
  for (qreal y : {-5, 0, 5}) glyph.push_back(Stroked(Polyline({{-7, y}, {7, y}}), kStroke));
  return glyph;
}

Glyph ChevronUpGlyph() {
  return {Stroked(Polyline({{-6, 3}, {0, -3}, {6, 3}}), kStroke)};
}

Glyph EnterGlyph() {
  const QPainterPath tail = Polyline({{6, -6}, {6, 2}, {-3, 2}});
  const QPainterPath head = Polygon({{-7, 2}, {-2, -2.5}, {-2, 6.5}});
  return {Stroked(tail, kStroke, Qt::SquareCap), head};
}

Glyph MinimizeGlyph() {
  return {Box(-5, -1, 5, 1)};
}

Glyph CloseGlyph() {
  QPainterPath cross = Polyline({{-4.5, -4.5}, {4.5, 4.5}});
  cross.addPath(Polyline({{-4.5, 4.5}, {4.5, -4.5}}));
  return {Stroked(cross, kStroke)};
}

}  // namespace dvr::skin
