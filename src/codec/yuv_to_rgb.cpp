#include "codec/yuv_to_rgb.h"

#include <array>
#include <cstring>

#include "codec/yuv_kernels.h"

namespace dvr::codec {
namespace {

struct ColourTables {
  std::array<int32_t, 256> cr_to_red, cb_to_green, cr_to_green, cb_to_blue;
  std::array<uint8_t, 896> clamp;  // index + 320; -320..0 give 1, 256..575 give 255
};

constexpr ColourTables BuildTables() {
  ColourTables t{};
  for (int i = 0; i < 256; ++i) {
    const auto u = static_cast<size_t>(i);
    t.cr_to_red[u] = 1436 * (i - 128);
    t.cb_to_green[u] = 352 * (i - 128);
    t.cr_to_green[u] = 731 * (i - 128);
    t.cb_to_blue[u] = 1815 * (i - 128);
  }
  for (int i = -320; i < 576; ++i) {
    t.clamp[static_cast<size_t>(i + 320)] = static_cast<uint8_t>(i <= 0 ? 1 : i > 255 ? 255 : i);
  }
  return t;
}

constexpr ColourTables kTables = BuildTables();

struct Rgb {
  uint8_t r, g, b;
};

// One 2 x 2 group's chroma terms.
struct Chroma {
  int32_t red, green, blue;
  explicit Chroma(uint8_t cb, uint8_t cr)
      : red(kTables.cr_to_red[cr]),
        green(kTables.cb_to_green[cb] + kTables.cr_to_green[cr]),
        blue(kTables.cb_to_blue[cb]) {}
  Rgb Pixel(uint8_t luma) const {
    const int32_t y = luma * 1024;
    return {kTables.clamp[static_cast<size_t>(((y + red) >> 10) + 320)],
            kTables.clamp[static_cast<size_t>(((y - green) >> 10) + 320)],
            kTables.clamp[static_cast<size_t>(((y + blue) >> 10) + 320)]};
  }
};

// Pixel packers.
struct Rgb555 {
  static constexpr int kBytes = 2;
  static void Put(uint8_t* p, Rgb c) {
    const auto v = static_cast<uint16_t>((c.r >> 3) << 10 | (c.g >> 3) << 5 | c.b >> 3);
    std::memcpy(p, &v, 2);
  }
};
struct Rgb565 {
  static constexpr int kBytes = 2;
  static void Put(uint8_t* p, Rgb c) {
    const auto v = static_cast<uint16_t>((c.r >> 3) << 11 | (c.g >> 2) << 5 | c.b >> 3);
    std::memcpy(p, &v, 2);
  }
};
struct Bgr565 {
  static constexpr int kBytes = 2;
  static void Put(uint8_t* p, Rgb c) {
    const auto v = static_cast<uint16_t>((c.b >> 3) << 11 | (c.g >> 2) << 5 | c.r >> 3);
    std::memcpy(p, &v, 2);
  }
};
struct Bgr24 {
  static constexpr int kBytes = 3;
  static void Put(uint8_t* p, Rgb c) {
    p[0] = c.b;
    p[1] = c.g;
    p[2] = c.r;
  }
};
struct Bgr32 {
  static constexpr int kBytes = 4;
  static void Put(uint8_t* p, Rgb c) {
    p[0] = c.b;
    p[1] = c.g;
    p[2] = c.r;
    p[3] = 0;
  }
};

template <class Pixel>
void ConvertRowPair(const RowPair& rows) {
  for (int x = 0; x < rows.width; x += 2) {
    const Chroma chroma(rows.cb[x / 2], rows.cr[x / 2]);
    uint8_t* const at0 = rows.out0 + x * Pixel::kBytes;
    uint8_t* const at1 = rows.out1 + x * Pixel::kBytes;
    Pixel::Put(at0, chroma.Pixel(rows.luma0[x]));
    Pixel::Put(at0 + Pixel::kBytes, chroma.Pixel(rows.luma0[x + 1]));
    Pixel::Put(at1, chroma.Pixel(rows.luma1[x]));
    Pixel::Put(at1 + Pixel::kBytes, chroma.Pixel(rows.luma1[x + 1]));
  }
}

// Where source row y goes.
enum class RowOrder { kTopDown, kBottomUp, kBottomUpField };

uint8_t* DestinationRow(uint8_t* destination, ptrdiff_t pitch, int height, int y, RowOrder order) {
  switch (order) {
    case RowOrder::kTopDown: return destination + y * pitch;
    case RowOrder::kBottomUp: return destination + (height - 1 - y) * pitch;
    case RowOrder::kBottomUpField: return destination + (2 * height - 2 - 2 * y) * pitch;
  }
  return destination;
}

void Convert(RowPairKernel kernel, uint8_t* destination, ptrdiff_t pitch, const uint8_t* source,
             int width, int height, RowOrder order) {
  const uint8_t* const cb = source + width * height;
  const uint8_t* const cr = cb + (width / 2) * (height / 2);
  for (int y = 0; y + 1 < height; y += 2) {
    const RowPair rows{source + y * width,
                       source + (y + 1) * width,
                       cb + (y / 2) * (width / 2),
                       cr + (y / 2) * (width / 2),
                       DestinationRow(destination, pitch, height, y, order),
                       DestinationRow(destination, pitch, height, y + 1, order),
                       width};
    kernel(rows);
  }
}

}  // namespace

void RowPairToRgb32(const RowPair& rows) { ConvertRowPair<Bgr32>(rows); }
void RowPairToBgr24(const RowPair& rows) { ConvertRowPair<Bgr24>(rows); }

int BytesPerPixel(SurfacePixelFormat format) {
  switch (format) {
    case SurfacePixelFormat::kRgb24: return 3;
    case SurfacePixelFormat::kRgb32: return 4;
    default: return 2;
  }
}

void YuvToRgb555(uint8_t* destination, ptrdiff_t pitch, const uint8_t* source, int width, int height) {
  Convert(ConvertRowPair<Rgb555>, destination, pitch, source, width, height, RowOrder::kTopDown);
}
void YuvToRgb555(uint8_t* destination, const uint8_t* source, int width, int height) {
  YuvToRgb555(destination, ptrdiff_t{width} * 2, source, width, height);
}
void YuvToRgb565(uint8_t* destination, ptrdiff_t pitch, const uint8_t* source, int width, int height) {
  Convert(ConvertRowPair<Rgb565>, destination, pitch, source, width, height, RowOrder::kTopDown);
}
void YuvToRgb565(uint8_t* destination, const uint8_t* source, int width, int height) {
  YuvToRgb565(destination, ptrdiff_t{width} * 2, source, width, height);
}
void YuvToBgr565(uint8_t* destination, ptrdiff_t pitch, const uint8_t* source, int width, int height) {
  Convert(ConvertRowPair<Bgr565>, destination, pitch, source, width, height, RowOrder::kTopDown);
}
void YuvToBgr565(uint8_t* destination, const uint8_t* source, int width, int height) {
  YuvToBgr565(destination, ptrdiff_t{width} * 2, source, width, height);
}
void YuvToRgb24(uint8_t* destination, ptrdiff_t pitch, const uint8_t* source, int width, int height) {
  Convert(SelectedYuvKernels().to_bgr24, destination, pitch, source, width, height, RowOrder::kTopDown);
}
void YuvToRgb24(uint8_t* destination, const uint8_t* source, int width, int height) {
  YuvToRgb24(destination, ptrdiff_t{width} * 3, source, width, height);
}
void YuvToRgb32(uint8_t* destination, ptrdiff_t pitch, const uint8_t* source, int width, int height) {
  Convert(SelectedYuvKernels().to_rgb32, destination, pitch, source, width, height, RowOrder::kTopDown);
}
void YuvToRgb32(uint8_t* destination, const uint8_t* source, int width, int height) {
  YuvToRgb32(destination, ptrdiff_t{width} * 4, source, width, height);
}
void YuvToDib24(uint8_t* destination, ptrdiff_t pitch, const uint8_t* source, int width, int height) {
  Convert(SelectedYuvKernels().to_bgr24, destination, pitch, source, width, height, RowOrder::kBottomUp);
}
void YuvToDib24(uint8_t* destination, const uint8_t* source, int width, int height) {
  YuvToDib24(destination, ptrdiff_t{width} * 3, source, width, height);
}
void YuvToDib24Field(uint8_t* destination, ptrdiff_t pitch, const uint8_t* source, int width, int height) {
  Convert(SelectedYuvKernels().to_bgr24, destination, pitch, source, width, height, RowOrder::kBottomUpField);
}
void YuvToDib24Field(uint8_t* destination, const uint8_t* source, int width, int height) {
  YuvToDib24Field(destination, ptrdiff_t{width} * 3, source, width, height);
}

namespace {

// Display pixels back to blue, green, red bytes.
template <int kBytes, class Unpack>
void ToDib24(uint8_t* destination, ptrdiff_t pitch, const uint8_t* source, int width, int height,
             Unpack unpack) {
  for (int y = 0; y < height; ++y) {
    const uint8_t* in = source + ptrdiff_t{y} * width * kBytes;
    uint8_t* out = destination + (height - 1 - y) * pitch;
    for (int x = 0; x < width; ++x, in += kBytes, out += 3) unpack(in, out);
  }
}

uint16_t Word(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

}  // namespace

void Rgb555ToDib24(uint8_t* destination, ptrdiff_t pitch, const uint8_t* source, int width, int height) {
  ToDib24<2>(destination, pitch, source, width, height, [](const uint8_t* in, uint8_t* out) {
    const uint16_t p = Word(in);
    out[0] = static_cast<uint8_t>((p & 0x1F) << 3);
    out[1] = static_cast<uint8_t>(((p >> 5) & 0x1F) << 3);
    out[2] = static_cast<uint8_t>(((p >> 10) & 0x1F) << 3);
  });
}

void Rgb565ToDib24(uint8_t* destination, ptrdiff_t pitch, const uint8_t* source, int width, int height) {
  ToDib24<2>(destination, pitch, source, width, height, [](const uint8_t* in, uint8_t* out) {
    const uint16_t p = Word(in);
    out[0] = static_cast<uint8_t>((p & 0x1F) << 3);
    out[1] = static_cast<uint8_t>(((p >> 5) & 0x3F) << 2);
    out[2] = static_cast<uint8_t>((p >> 11) << 3);
  });
}

void Bgr565ToDib24(uint8_t* destination, ptrdiff_t pitch, const uint8_t* source, int width, int height) {
  ToDib24<2>(destination, pitch, source, width, height, [](const uint8_t* in, uint8_t* out) {
    const uint16_t p = Word(in);
    out[2] = static_cast<uint8_t>((p & 0x1F) << 3);
    out[1] = static_cast<uint8_t>(((p >> 5) & 0x3F) << 2);
    out[0] = static_cast<uint8_t>((p >> 11) << 3);
  });
}

void Rgb24ToDib24(uint8_t* destination, ptrdiff_t pitch, const uint8_t* source, int width, int height) {
  for (int y = 0; y < height; ++y) {
    std::memcpy(destination + (height - 1 - y) * pitch, source + ptrdiff_t{y} * width * 3,
                static_cast<size_t>(width) * 3);
  }
}

void Rgb32ToDib24(uint8_t* destination, ptrdiff_t pitch, const uint8_t* source, int width, int height) {
  ToDib24<4>(destination, pitch, source, width, height,
             [](const uint8_t* in, uint8_t* out) { std::memcpy(out, in, 3); });
}

void Rgb555ToDib24(uint8_t* destination, const uint8_t* source, int width, int height) {
  Rgb555ToDib24(destination, ptrdiff_t{width} * 3, source, width, height);
}
void Rgb565ToDib24(uint8_t* destination, const uint8_t* source, int width, int height) {
  Rgb565ToDib24(destination, ptrdiff_t{width} * 3, source, width, height);
}
void Bgr565ToDib24(uint8_t* destination, const uint8_t* source, int width, int height) {
  Bgr565ToDib24(destination, ptrdiff_t{width} * 3, source, width, height);
}
void Rgb24ToDib24(uint8_t* destination, const uint8_t* source, int width, int height) {
  Rgb24ToDib24(destination, ptrdiff_t{width} * 3, source, width, height);
}
void Rgb32ToDib24(uint8_t* destination, const uint8_t* source, int width, int height) {
  Rgb32ToDib24(destination, ptrdiff_t{width} * 3, source, width, height);
}

DisplayToDib24 DisplayToDib24For(SurfacePixelFormat format) {
  switch (format) {
    case SurfacePixelFormat::kRgb555: return Rgb555ToDib24;
    case SurfacePixelFormat::kRgb565: return Rgb565ToDib24;
    case SurfacePixelFormat::kBgr565: return Bgr565ToDib24;
    case SurfacePixelFormat::kRgb24: return Rgb24ToDib24;
    case SurfacePixelFormat::kRgb32: break;
  }
  return Rgb32ToDib24;
}

YuvKernels YuvKernelsFor(platform::CpuLevel level) {
  switch (platform::CpuLevelAvailable(level) ? level : platform::DetectedCpuLevel()) {
    case platform::CpuLevel::kAvx2: return {RowPairToRgb32Avx2, RowPairToBgr24Avx2};
    case platform::CpuLevel::kSse2: return {RowPairToRgb32Sse2, RowPairToBgr24Sse2};
    default: return {RowPairToRgb32, RowPairToBgr24};
  }
}

const YuvKernels& SelectedYuvKernels() {
  static const YuvKernels kernels = YuvKernelsFor(platform::SelectedCpuLevel());
  return kernels;
}

}  // namespace dvr::codec
