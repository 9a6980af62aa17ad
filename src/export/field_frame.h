#pragma once
// A live picture (width x h, every other line of the image) as an export frame of width x 2h:
// the decoded lines on the odd image rows, each even row the average of its neighbours, the top
// row left as it was (black in a fresh buffer). 24-bit bottom-up, no row padding.
#include <cstdint>

namespace dvr::exporting {

void PictureToExportFrame(uint8_t* frame, const uint8_t* picture, int width, int height);

}  // namespace dvr::exporting
