#include "export/bitmap_header.h"

namespace dvr::exporting {
namespace {

void Put(uint8_t*& at, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) *at++ = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t Get(const uint8_t*& at, int bytes) {
  uint32_t value = 0;
  for (int i = 0; i < bytes; ++i) value |= uint32_t{*at++} << (8 * i);
  return value;
}

}  // namespace

std::array<uint8_t, kBitmapHeaderBytes> BitmapHeader::Bytes() const {
  std::array<uint8_t, kBitmapHeaderBytes> out{};
  uint8_t* at = out.data();
  Put(at, size, 4);
  Put(at, static_cast<uint32_t>(width), 4);
  Put(at, static_cast<uint32_t>(height), 4);
  Put(at, planes, 2);
  Put(at, bit_count, 2);
  Put(at, compression, 4);
  Put(at, image_size, 4);
  Put(at, static_cast<uint32_t>(x_pixels_per_metre), 4);
  Put(at, static_cast<uint32_t>(y_pixels_per_metre), 4);
  Put(at, colours_used, 4);
  Put(at, colours_important, 4);
  return out;
}

BitmapHeader BitmapHeader::Parse(const uint8_t* bytes) {
  BitmapHeader h;
  const uint8_t* at = bytes;
  h.size = Get(at, 4);
  h.width = static_cast<int32_t>(Get(at, 4));
  h.height = static_cast<int32_t>(Get(at, 4));
  h.planes = static_cast<uint16_t>(Get(at, 2));
  h.bit_count = static_cast<uint16_t>(Get(at, 2));
  h.compression = Get(at, 4);
  h.image_size = Get(at, 4);
  h.x_pixels_per_metre = static_cast<int32_t>(Get(at, 4));
  h.y_pixels_per_metre = static_cast<int32_t>(Get(at, 4));
  h.colours_used = Get(at, 4);
  h.colours_important = Get(at, 4);
  return h;
}

BitmapHeader ExportFrameHeader(int width, int height) {
  BitmapHeader h;
  h.width = width;
  h.height = height;
  h.image_size = static_cast<uint32_t>(width) * static_cast<uint32_t>(height) * 3;
  return h;
}

}  // namespace dvr::exporting
