#pragma once
// The channel digits 1 to 4 in a segment style, the display of a recorder: the camera keys and the
// status sprite's channel states use them. 8 x 10 pixels centred on (0, 0), strokes 2 pixels wide
// on whole pixels, so that they stay pixel-exact when drawn without antialiasing.
#include <QPainterPath>

namespace dvr::skin {

inline constexpr int kFirstDigit = 1;
inline constexpr int kLastDigit = 4;

// The filled area of `digit` (1..4); empty for any other number.
QPainterPath DigitArea(int digit);

}  // namespace dvr::skin
