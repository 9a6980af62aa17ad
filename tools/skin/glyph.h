#pragma once
// A glyph: areas filled one after another in one ink, centred on (0, 0), in logical pixels. Glyphs
// of the 28-pixel buttons fit a 14 x 14 box (16 for the densest grid); lines are kStroke wide and
// sit on whole pixels so that they stay crisp at 1x.
#include <QColor>
#include <QPainterPath>
#include <QPointF>

#include <vector>

class QPainter;

namespace dvr::skin {

using Glyph = std::vector<QPainterPath>;

inline constexpr qreal kStroke = 2;

// The glyph reflected left to right (play becomes play reversed).
Glyph Mirrored(const Glyph& glyph);
// The glyph reflected top to bottom.
Glyph Flipped(const Glyph& glyph);

// Fills the glyph's parts in `ink` with the glyph's centre at `centre`.
void FillGlyph(QPainter& painter, const Glyph& glyph, QPointF centre, QColor ink);

}  // namespace dvr::skin
