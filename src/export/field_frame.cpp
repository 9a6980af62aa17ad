#include "export/field_frame.h"

#include <cstddef>

#include "codec/yuv_to_rgb.h"

namespace dvr::exporting {

void PictureToExportFrame(uint8_t* frame, const uint8_t* picture, int width, int height) {
  codec::YuvToDib24Field(frame, picture, width, height);
  const size_t row = static_cast<size_t>(width) * 3;
  // Buffer rows 1, 3 .. 2h - 3 (image rows 2h - 2 .. 2) lie between two decoded rows.
  for (int r = 1; r <= 2 * height - 3; r += 2) {
    const uint8_t* below = frame + static_cast<size_t>(r - 1) * row;
    const uint8_t* above = frame + static_cast<size_t>(r + 1) * row;
    uint8_t* out = frame + static_cast<size_t>(r) * row;
    for (size_t i = 0; i < row; ++i) out[i] = static_cast<uint8_t>((below[i] + above[i]) >> 1);
  }
}

}  // namespace dvr::exporting
