#include "image_files.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "codec/yuv_to_rgb.h"
#include "export/still_image.h"
#include "platform/file.h"

namespace dvrtool {
namespace {

void Put32BigEndian(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

// Rows of blue, green, red, top-down, each repeated `repeat` times.
std::vector<uint8_t> TopDownBgr(const uint8_t* picture, uint32_t width, uint32_t height, int repeat) {
  std::vector<uint8_t> once(size_t{width} * height * 3);
  dvr::codec::YuvToRgb24(once.data(), picture, static_cast<int>(width), static_cast<int>(height));
  std::vector<uint8_t> rows;
  const size_t row_bytes = size_t{width} * 3;
  for (uint32_t y = 0; y < height; ++y) {
    for (int r = 0; r < repeat; ++r) rows.insert(rows.end(), once.begin() + static_cast<long>(y * row_bytes), once.begin() + static_cast<long>((y + 1) * row_bytes));
  }
  return rows;
}

std::vector<uint8_t> Rgb(const std::vector<uint8_t>& bgr) {
  std::vector<uint8_t> rgb(bgr);
  for (size_t i = 0; i + 2 < rgb.size(); i += 3) std::swap(rgb[i], rgb[i + 2]);
  return rgb;
}

std::vector<uint8_t> Ppm(const std::vector<uint8_t>& bgr, uint32_t width, uint32_t height) {
  const std::string header = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
  std::vector<uint8_t> out(header.begin(), header.end());
  const std::vector<uint8_t> rgb = Rgb(bgr);
  out.insert(out.end(), rgb.begin(), rgb.end());
  return out;
}

void PngChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  Put32BigEndian(out, static_cast<uint32_t>(data.size()));
  const size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  Put32BigEndian(out, static_cast<uint32_t>(crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

bool Png(const std::vector<uint8_t>& bgr, uint32_t width, uint32_t height, std::vector<uint8_t>& out) {
  const std::vector<uint8_t> rgb = Rgb(bgr);
  std::vector<uint8_t> raw;
  for (uint32_t y = 0; y < height; ++y) {
    raw.push_back(0);  // no filter
    raw.insert(raw.end(), rgb.begin() + static_cast<long>(y * width * 3), rgb.begin() + static_cast<long>((y + 1) * width * 3));
  }
  uLongf packed_size = compressBound(static_cast<uLong>(raw.size()));
  std::vector<uint8_t> packed(packed_size);
  if (compress2(packed.data(), &packed_size, raw.data(), static_cast<uLong>(raw.size()), 6) != Z_OK) return false;
  packed.resize(packed_size);
  static constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  out.assign(kSignature, kSignature + 8);
  std::vector<uint8_t> header;
  Put32BigEndian(header, width);
  Put32BigEndian(header, height);
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, deflate, no filter choice, progressive off
  PngChunk(out, "IHDR", header);
  PngChunk(out, "IDAT", packed);
  PngChunk(out, "IEND", {});
  return true;
}

std::vector<uint8_t> Yuv(const uint8_t* picture, uint32_t width, uint32_t height, int repeat) {
  std::vector<uint8_t> out;
  auto plane = [&](const uint8_t* rows, uint32_t w, uint32_t h) {
    for (uint32_t y = 0; y < h; ++y) {
      for (int r = 0; r < repeat; ++r) out.insert(out.end(), rows + y * w, rows + (y + 1) * w);
    }
  };
  plane(picture, width, height);
  plane(picture + width * height, width / 2, height / 2);
  plane(picture + width * height * 5 / 4, width / 2, height / 2);
  return out;
}

}  // namespace

bool WritePictureFile(const std::string& path, const uint8_t* picture, uint32_t width, uint32_t height,
                      bool double_height, std::string& error) {
  const int repeat = double_height ? 2 : 1;
  const uint32_t shown_height = height * static_cast<uint32_t>(repeat);
  const std::string ext = dvr::platform::FileExtension(path);
  std::vector<uint8_t> bytes;
  if (ext == "yuv") {
    bytes = Yuv(picture, width, height, repeat);
  } else if (ext == "bmp") {
    // The viewer's still-image file.
    const std::vector<uint8_t> bgr = TopDownBgr(picture, width, height, repeat);
    const auto dib = dvr::exporting::DibFromTopDownBgr(bgr.data(), static_cast<int>(width), static_cast<int>(shown_height));
    if (dvr::exporting::WriteBmpFile(path, dib)) return true;
    error = "cannot write " + path;
    return false;
  } else if (ext == "ppm" || ext == "png") {
    const std::vector<uint8_t> bgr = TopDownBgr(picture, width, height, repeat);
    if (ext == "ppm") bytes = Ppm(bgr, width, shown_height);
    if (ext == "png" && !Png(bgr, width, shown_height, bytes)) {
      error = "cannot compress the picture";
      return false;
    }
  } else {
    error = "the output must end in .bmp, .ppm, .png or .yuv";
    return false;
  }
  dvr::platform::File file;
  if (!file.Create(path) || !file.Write(bytes.data(), bytes.size())) {
    file.Close();
    dvr::platform::RemoveFile(path);
    error = "cannot write " + path;
    return false;
  }
  return true;
}

}  // namespace dvrtool
