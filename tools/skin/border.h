#pragma once
// The window's frame, title bar and control panel in one bitmap. The window puts its four 100 x 100
// quarters in its corners (the right and bottom ones a pixel up and left, the last row and column
// in the colour of the bitmap's bottom-right pixel) and stretches the 20-pixel strips at x = 100
// and y = 100 along its edges. So the bitmap is drawn as a 201 x 201 window whose outline is its
// last row and column, and nothing in it changes along x in columns 90..130 or along y between
// the title bar and the control panel.
#include <QImage>
#include <QSize>

namespace dvr::skin {

inline constexpr QSize kBorderSize{200, 200};

QImage DrawBorder(int scale);

}  // namespace dvr::skin
