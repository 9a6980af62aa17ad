#pragma once
// The recorder's remote-control keys that are not transport marks, and the title bar's buttons.
#include "glyph.h"

namespace dvr::skin {

// A camera-channel badge with the digit (1..4) cut out of it.
Glyph CameraBadgeGlyph(int digit);
Glyph MenuGlyph();
Glyph ChevronUpGlyph();
// A return arrow: enter / OK.
Glyph EnterGlyph();

// The title bar's 20-pixel buttons.
Glyph MinimizeGlyph();
Glyph CloseGlyph();

}  // namespace dvr::skin
