#include "export/still_image.h"

#include <cstdio>
#include <cstring>

#include "export/bitmap_header.h"
#include "platform/file.h"

namespace dvr::exporting {
namespace {

constexpr uint32_t kFileHeaderBytes = 14;
constexpr char kSeparator = '/';

uint32_t ColourTableBytes(const BitmapHeader& h) {
  if (h.colours_used != 0) return h.colours_used * 4;
  return h.bit_count <= 8 ? (1u << h.bit_count) * 4 : 0;
}

}  // namespace

std::string StillImageFileName(const platform::CalendarTime& t) {
  char name[48];
  std::snprintf(name, sizeof name, "%02d%02d%02d-%02d%02d%02d.bmp", t.year, t.month, t.day, t.hour, t.minute, t.second);
  return name;
}

std::string StillImagePath(const std::string& folder, const std::string& name) {
  if (folder.size() <= 1 && folder != "/") return name;
  if (folder.back() == kSeparator) return folder + name;
  return folder + kSeparator + name;
}

uint32_t BmpPixelOffset(const uint8_t* dib_block) {
  const BitmapHeader h = BitmapHeader::Parse(dib_block);
  uint32_t part = kBitmapHeaderBytes;
  switch (h.compression) {
    case kCompressionNone:
      if (h.bit_count <= 8 || h.colours_used != 0) part += ColourTableBytes(h);
      break;
    case kCompressionRle8:
    case kCompressionRle4: part += ColourTableBytes(h); break;
    case kCompressionBitFields:
      part += 12;
      if (h.colours_used != 0) part += h.colours_used * 4;
      break;
    default: break;
  }
  return kFileHeaderBytes + part;
}

std::vector<uint8_t> DibFromTopDownBgr(const uint8_t* bgr, int width, int height) {
  const size_t row_bytes = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  BitmapHeader h;
  h.width = width;
  h.height = height;
  h.image_size = static_cast<uint32_t>(row_bytes * static_cast<size_t>(height));
  h.x_pixels_per_metre = h.y_pixels_per_metre = 2835;  // 72 dots per inch
  const auto header = h.Bytes();
  std::vector<uint8_t> block(header.begin(), header.end());
  block.resize(kBitmapHeaderBytes + h.image_size, 0);
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = bgr + static_cast<size_t>(height - 1 - y) * static_cast<size_t>(width) * 3;
    std::memcpy(block.data() + kBitmapHeaderBytes + static_cast<size_t>(y) * row_bytes, row, static_cast<size_t>(width) * 3);
  }
  return block;
}

bool WriteBmpFile(const std::string& path, const std::vector<uint8_t>& dib_block) {
  if (dib_block.size() < kBitmapHeaderBytes) return false;
  uint8_t header[kFileHeaderBytes] = {'B', 'M'};
  const auto put32 = [&header](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) header[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
  };
  put32(2, static_cast<uint32_t>(dib_block.size()) + kFileHeaderBytes);
  put32(10, BmpPixelOffset(dib_block.data()));
  platform::File file;
  if (file.Create(path) && file.Write(header, sizeof header) && file.Write(dib_block.data(), dib_block.size())) return true;
  file.Close();
  platform::RemoveFile(path);
  return false;
}

}  // namespace dvr::exporting
