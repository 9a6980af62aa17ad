#include <cstring>

#include "codec/yuv_kernels.h"
#include "codec/x86/yuv_sse2_common.h"

namespace dvr::codec {
namespace {

// Four pixels of blue, green, red, 0 to twelve bytes, without writing past them.
inline void StoreBgr24(uint8_t* out, __m128i pixels) {
  alignas(16) uint64_t pairs[2];
  _mm_store_si128(reinterpret_cast<__m128i*>(pairs), pixels);
  for (int i = 0; i < 2; ++i) {
    const uint64_t v = pairs[i];
    const uint64_t packed = (v & 0xFFFFFF) | ((v >> 8) & 0xFFFFFF000000ull);
    std::memcpy(out + 6 * i, &packed, 6);
  }
}

}  // namespace

void RowPairToRgb32Sse2(const RowPair& rows) {
  int x = 0;
  for (; x + 16 <= rows.width; x += 16) {
    const PixelOffsets offsets = OffsetsOf(rows.cb + x / 2, rows.cr + x / 2);
    for (int line = 0; line < 2; ++line) {
      __m128i pixels[4];
      Bgra(ColoursOf((line ? rows.luma1 : rows.luma0) + x, offsets), pixels);
      auto* out = reinterpret_cast<__m128i*>((line ? rows.out1 : rows.out0) + 4 * x);
      for (int i = 0; i < 4; ++i) _mm_storeu_si128(out + i, pixels[i]);
    }
  }
  if (x < rows.width) RowPairToRgb32(From(rows, x, 4));
}

void RowPairToBgr24Sse2(const RowPair& rows) {
  int x = 0;
  for (; x + 16 <= rows.width; x += 16) {
    const PixelOffsets offsets = OffsetsOf(rows.cb + x / 2, rows.cr + x / 2);
    for (int line = 0; line < 2; ++line) {
      __m128i pixels[4];
      Bgra(ColoursOf((line ? rows.luma1 : rows.luma0) + x, offsets), pixels);
      uint8_t* out = (line ? rows.out1 : rows.out0) + 3 * x;
      for (int i = 0; i < 4; ++i) StoreBgr24(out + 12 * i, pixels[i]);
    }
  }
  if (x < rows.width) RowPairToBgr24(From(rows, x, 3));
}

}  // namespace dvr::codec
