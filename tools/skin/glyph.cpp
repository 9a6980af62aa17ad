#include "glyph.h"

#include <QPainter>
#include <QTransform>

namespace dvr::skin {
namespace {

Glyph Transformed(const Glyph& glyph, const QTransform& transform) {
  Glyph result;
  for (const QPainterPath& part : glyph) result.push_back(transform.map(part));
  return result;
}

}  // namespace

Glyph Mirrored(const Glyph& glyph) {
  return Transformed(glyph, QTransform::fromScale(-1, 1));
}

Glyph Flipped(const Glyph& glyph) {
  return Transformed(glyph, QTransform::fromScale(1, -1));
}

void FillGlyph(QPainter& painter, const Glyph& glyph, QPointF centre, QColor ink) {
  painter.save();
  painter.translate(centre);
  for (const QPainterPath& part : glyph) painter.fillPath(part, ink);
  painter.restore();
}

}  // namespace dvr::skin
