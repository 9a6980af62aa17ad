#pragma once
// Writes a decoded picture as an image file: .bmp (24-bit), .ppm, .png or raw planar .yuv,
// chosen by the file name's extension.
#include <cstdint>
#include <string>

namespace dvrtool {

// `picture` is planar YUV 4:2:0 of width x height. With `double_height` every row is written
// twice, as the viewer shows the picture. False, with `error` set, when the file cannot be
// written or the extension is not one of the four.
bool WritePictureFile(const std::string& path, const uint8_t* picture, uint32_t width, uint32_t height,
                      bool double_height, std::string& error);

}  // namespace dvrtool
