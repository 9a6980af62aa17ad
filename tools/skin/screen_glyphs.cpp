#include "screen_glyphs.h"

#include <QRectF>

#include <algorithm>
#include <span>
#include <utility>

#include "canvas.h"

namespace dvr::skin {
namespace {

using Span = std::pair<qreal, qreal>;

// The tiles' edges along one axis, on whole pixels so that every gap stays sharp at 1x. Four
// tiles need 16 pixels and a wider middle gap to keep to whole pixels and stay centred.
constexpr Span kOne[] = {{-7, 7}};
constexpr Span kTwo[] = {{-7, -1}, {1, 7}};
constexpr Span kThree[] = {{-7, -3}, {-2, 2}, {3, 7}};
constexpr Span kFour[] = {{-8, -5}, {-4, -1}, {1, 4}, {5, 8}};

std::span<const Span> TileSpans(int columns) {
  switch (columns) {
    case 2:
      return kTwo;
    case 3:
      return kThree;
    case 4:
      return kFour;
    default:
      return kOne;
  }
}

}  // namespace

Glyph TilesGlyph(int columns) {
  Glyph glyph;
  for (const Span& row : TileSpans(columns)) {
    for (const Span& column : TileSpans(columns)) {
      const QRectF tile(QPointF(column.first, row.first), QPointF(column.second, row.second));
      const qreal corner = std::min<qreal>(2, tile.width() / 4);
      QPainterPath path;
      path.addRoundedRect(tile, corner, corner);
      glyph.push_back(path);
    }
  }
  return glyph;
}

Glyph QuadScreenGlyph() {
  QPainterPath frame;
  frame.addRoundedRect(QRectF(-6, -6, 12, 12), 1.5, 1.5);
  QPainterPath cross = Polyline({{0, -6}, {0, 6}});
  cross.addPath(Polyline({{-6, 0}, {6, 0}}));
  return {Stroked(frame, kStroke), Stroked(cross, kStroke)};
}

}  // namespace dvr::skin
