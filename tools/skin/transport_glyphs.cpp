#include "transport_glyphs.h"

#include "canvas.h"

namespace dvr::skin {
namespace {

// A triangle pointing right with its base at `base_x`, its tip at `tip_x`.
QPainterPath RightTriangle(qreal base_x, qreal tip_x, qreal half_height) {
  return Polygon({{base_x, -half_height}, {tip_x, 0}, {base_x, half_height}});
}

}  // namespace

Glyph PlayGlyph() {
  // The box sits a pixel right of centre, the triangle's centroid a pixel left: the eye takes
  // the middle of the two as the middle.
  return {RightTriangle(-5, 7, 7)};
}

Glyph PauseGlyph() {
  return {Box(-6, -6, -2, 6), Box(2, -6, 6, 6)};
}

Glyph StopGlyph() {
  return {Box(-6, -6, 6, 6)};
}

Glyph FastForwardGlyph() {
  return {RightTriangle(-7, 0, 6), RightTriangle(0, 7, 6)};
}

Glyph StepForwardGlyph() {
  return {RightTriangle(-6, 3, 6), Box(4, -6, 6, 6)};
}

Glyph RecordGlyph() {
  return {Disc({0, 0}, 6)};
}

}  // namespace dvr::skin
