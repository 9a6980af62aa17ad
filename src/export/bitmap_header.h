#pragma once
// The 40-byte bitmap information header that describes an uncompressed frame or still image
// (width, height, planes, bit count, compression, image size ...), in its little-endian file form.
#include <array>
#include <cstddef>
#include <cstdint>

namespace dvr::exporting {

inline constexpr size_t kBitmapHeaderBytes = 40;
inline constexpr uint32_t kCompressionNone = 0;
inline constexpr uint32_t kCompressionRle8 = 1;
inline constexpr uint32_t kCompressionRle4 = 2;
inline constexpr uint32_t kCompressionBitFields = 3;

struct BitmapHeader {
  uint32_t size = kBitmapHeaderBytes;
  int32_t width = 0;
  int32_t height = 0;  // positive: rows bottom-up
  uint16_t planes = 1;
  uint16_t bit_count = 24;
  uint32_t compression = kCompressionNone;
  uint32_t image_size = 0;
  int32_t x_pixels_per_metre = 0;
  int32_t y_pixels_per_metre = 0;
  uint32_t colours_used = 0;
  uint32_t colours_important = 0;

  std::array<uint8_t, kBitmapHeaderBytes> Bytes() const;
  static BitmapHeader Parse(const uint8_t* bytes);
};

// The header of an export frame: 24 bits, uncompressed, image size width x height x 3.
BitmapHeader ExportFrameHeader(int width, int height);

}  // namespace dvr::exporting
