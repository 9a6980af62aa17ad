#pragma once
// Screen layouts: one picture, the 2 x 2, 3 x 3 and 4 x 4 tiles, and the recorder's quad screen.
#include "glyph.h"

namespace dvr::skin {

// A square of `columns` x `columns` tiles (1..4).
Glyph TilesGlyph(int columns);
// A screen outline cut into four: the recorder's own split key, distinct from the local tiles.
Glyph QuadScreenGlyph();

}  // namespace dvr::skin
