#pragma once
// The one typeface of the skin, for its few words (the status sprite's link states, "AVI").
#include <QFont>

#include "canvas.h"

namespace dvr::skin {

inline constexpr const char* kLabelFamily = "Liberation Sans";

// The bold label face at `pixel_size` logical pixels; pixel-exact edges turn its antialiasing off.
QFont LabelFont(int pixel_size, Edges edges);
// Whether the label face is installed: without it the words would come out in some other face.
bool LabelFontInstalled();

}  // namespace dvr::skin
