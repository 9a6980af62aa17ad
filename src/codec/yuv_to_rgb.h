#pragma once
// Colour conversion of decoded pictures (planar YUV 4:2:0, rows packed) to the display's pixel
// formats and to 24-bit bottom-up bitmaps, with the full-range BT.601 coefficients in 10-bit fixed
// point. Chroma is not interpolated: a 2 x 2 group of pixels shares its Cb and Cr. No component is
// ever 0: the darkest output is 1.
//
// Every converter takes (destination, source, width, height), with destination rows exactly
// width x bytes per pixel apart, and has an overload with a destination row pitch in bytes.
#include <cstddef>
#include <cstdint>

namespace dvr::codec {

// The display's surface pixel formats, by their codes.
enum class SurfacePixelFormat {
  kRgb555 = 1,  // 16-bit: 0 rrrrr ggggg bbbbb
  kRgb565 = 2,  // 16-bit: rrrrr gggggg bbbbb
  kBgr565 = 3,  // 16-bit: bbbbb gggggg rrrrr
  kRgb24 = 4,   // bytes blue, green, red
  kRgb32 = 5,   // bytes blue, green, red, 0
};
int BytesPerPixel(SurfacePixelFormat format);

// From YUV 4:2:0, top-down.
void YuvToRgb555(uint8_t* destination, const uint8_t* source, int width, int height);
void YuvToRgb555(uint8_t* destination, ptrdiff_t pitch, const uint8_t* source, int width, int height);
void YuvToRgb565(uint8_t* destination, const uint8_t* source, int width, int height);
void YuvToRgb565(uint8_t* destination, ptrdiff_t pitch, const uint8_t* source, int width, int height);
void YuvToBgr565(uint8_t* destination, const uint8_t* source, int width, int height);
void YuvToBgr565(uint8_t* destination, ptrdiff_t pitch, const uint8_t* source, int width, int height);
void YuvToRgb24(uint8_t* destination, const uint8_t* source, int width, int height);
void YuvToRgb24(uint8_t* destination, ptrdiff_t pitch, const uint8_t* source, int width, int height);
void YuvToRgb32(uint8_t* destination, const uint8_t* source, int width, int height);
void YuvToRgb32(uint8_t* destination, ptrdiff_t pitch, const uint8_t* source, int width, int height);
// 24-bit bottom-up: source row k lands on destination row height - 1 - k.
void YuvToDib24(uint8_t* destination, const uint8_t* source, int width, int height);
void YuvToDib24(uint8_t* destination, ptrdiff_t pitch, const uint8_t* source, int width, int height);
// 24-bit bottom-up into every other row of a 2 x height destination: source row k lands on row
// 2 height - 2 - 2k; the rows 2 height - 1, 2 height - 3 ... 1 are not written.
void YuvToDib24Field(uint8_t* destination, const uint8_t* source, int width, int height);
void YuvToDib24Field(uint8_t* destination, ptrdiff_t pitch, const uint8_t* source, int width, int height);

// A picture in a display format to a 24-bit bottom-up bitmap.
void Rgb555ToDib24(uint8_t* destination, const uint8_t* source, int width, int height);
void Rgb555ToDib24(uint8_t* destination, ptrdiff_t pitch, const uint8_t* source, int width, int height);
void Rgb565ToDib24(uint8_t* destination, const uint8_t* source, int width, int height);
void Rgb565ToDib24(uint8_t* destination, ptrdiff_t pitch, const uint8_t* source, int width, int height);
void Bgr565ToDib24(uint8_t* destination, const uint8_t* source, int width, int height);
void Bgr565ToDib24(uint8_t* destination, ptrdiff_t pitch, const uint8_t* source, int width, int height);
void Rgb24ToDib24(uint8_t* destination, const uint8_t* source, int width, int height);
void Rgb24ToDib24(uint8_t* destination, ptrdiff_t pitch, const uint8_t* source, int width, int height);
void Rgb32ToDib24(uint8_t* destination, const uint8_t* source, int width, int height);
void Rgb32ToDib24(uint8_t* destination, ptrdiff_t pitch, const uint8_t* source, int width, int height);

// The converter of a display format to 24-bit bottom-up, by format code.
using DisplayToDib24 = void (*)(uint8_t* destination, ptrdiff_t pitch, const uint8_t* source,
                                int width, int height);
DisplayToDib24 DisplayToDib24For(SurfacePixelFormat format);

}  // namespace dvr::codec
