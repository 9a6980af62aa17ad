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

inline void Store16Rgb32(uint8_t* out, const __m128i pixels[4]) {
  for (int i = 0; i < 4; ++i) _mm_storeu_si128(reinterpret_cast<__m128i*>(out) + i, pixels[i]);
}

inline void Store16Bgr24(uint8_t* out, const __m128i pixels[4]) {
  for (int i = 0; i < 4; ++i) StoreBgr24(out + 12 * i, pixels[i]);
}

// Sixteen pixels of both rows a step; the table-driven kernel does what is left.
template <int kBytes, void (*Store16)(uint8_t*, const __m128i*), void (*Rest)(const RowPair&)>
void Convert(const RowPair& rows) {
  int x = 0;
  for (; x + 16 <= rows.width; x += 16) {
    const PixelOffsets offsets = OffsetsOf(rows.cb + x / 2, rows.cr + x / 2);
    for (int line = 0; line < 2; ++line) {
      __m128i pixels[4];
      Bgra(ColoursOf((line ? rows.luma1 : rows.luma0) + x, offsets), pixels);
      Store16((line ? rows.out1 : rows.out0) + kBytes * x, pixels);
    }
  }
  if (x < rows.width) Rest(From(rows, x, kBytes));
}

}  // namespace

void RowPairToRgb32Sse2(const RowPair& rows) { Convert<4, Store16Rgb32, RowPairToRgb32>(rows); }
void RowPairToBgr24Sse2(const RowPair& rows) { Convert<3, Store16Bgr24, RowPairToBgr24>(rows); }

}  // namespace dvr::codec
