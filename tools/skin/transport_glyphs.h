#pragma once
// The media-player transport marks. Reverse forms are the Mirrored() forward ones.
#include "glyph.h"

namespace dvr::skin {

Glyph PlayGlyph();
Glyph PauseGlyph();
Glyph StopGlyph();
Glyph FastForwardGlyph();
// One frame on: a triangle against a bar.
Glyph StepForwardGlyph();
Glyph RecordGlyph();

}  // namespace dvr::skin
