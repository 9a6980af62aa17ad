#include "digits.h"

#include "canvas.h"
#include "glyph.h"

namespace dvr::skin {
namespace {

// Centre lines of the strokes inside x -3..3, y -4..4; square caps carry them to the box's edges.
QPainterPath DigitLines(int digit) {
  switch (digit) {
    case 1: {
      QPainterPath lines = Polyline({{-2, -2}, {0, -4}, {0, 4}});
      lines.addPath(Polyline({{-2, 4}, {2, 4}}));
      return lines;
    }
    case 2:
      return Polyline({{-3, -4}, {3, -4}, {3, 0}, {-3, 0}, {-3, 4}, {3, 4}});
    case 3: {
      QPainterPath lines = Polyline({{-3, -4}, {3, -4}, {3, 4}, {-3, 4}});
      lines.addPath(Polyline({{-2, 0}, {3, 0}}));
      return lines;
    }
    case 4: {
      QPainterPath lines = Polyline({{-3, -4}, {-3, 0}, {3, 0}});
      lines.addPath(Polyline({{3, -4}, {3, 4}}));
      return lines;
    }
    default:
      return {};
  }
}

}  // namespace

QPainterPath DigitArea(int digit) {
  return Stroked(DigitLines(digit), kStroke, Qt::SquareCap, Qt::MiterJoin);
}

}  // namespace dvr::skin
