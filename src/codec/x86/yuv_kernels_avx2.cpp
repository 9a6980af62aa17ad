// Built for AVX2 processors: 32 pixels a step, each 128-bit half of a register holding 16 of them.
#include <immintrin.h>

#include "codec/yuv_kernels.h"
#include "codec/x86/yuv_sse2_common.h"

namespace dvr::codec {
namespace {

// As PixelOffsets, for sixteen chroma samples: the low half of every register serves pixels
// 0..15, the high half pixels 16..31.
struct PixelOffsets32 {
  __m256i red_low, red_high, green_low, green_high, blue_low, blue_high;
};

inline PixelOffsets32 OffsetsOf32(const uint8_t* cb, const uint8_t* cr) {
  const __m256i bias = _mm256_set1_epi16(128);
  const __m256i cb16 = _mm256_sub_epi16(_mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(cb))), bias);
  const __m256i cr16 = _mm256_sub_epi16(_mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(cr))), bias);
  const __m256i low = _mm256_unpacklo_epi16(cb16, cr16);
  const __m256i high = _mm256_unpackhi_epi16(cb16, cr16);
  auto term = [&](int32_t factors) {
    const __m256i k = _mm256_set1_epi32(factors);
    return _mm256_packs_epi32(_mm256_srai_epi32(_mm256_madd_epi16(low, k), 10),
                              _mm256_srai_epi32(_mm256_madd_epi16(high, k), 10));
  };
  const __m256i red = term(kRedFactors), green = term(kGreenFactors), blue = term(kBlueFactors);
  return {_mm256_unpacklo_epi16(red, red),     _mm256_unpackhi_epi16(red, red),
          _mm256_unpacklo_epi16(green, green), _mm256_unpackhi_epi16(green, green),
          _mm256_unpacklo_epi16(blue, blue),   _mm256_unpackhi_epi16(blue, blue)};
}

struct Bgr32 {
  __m256i blue, green, red;  // bytes of pixels 0..15 | 16..31
};

inline Bgr32 ColoursOf32(const uint8_t* luma, const PixelOffsets32& o) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i one = _mm256_set1_epi8(1);
  const __m256i y = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(luma));
  const __m256i low = _mm256_unpacklo_epi8(y, zero), high = _mm256_unpackhi_epi8(y, zero);
  auto channel = [&](__m256i offsets_low, __m256i offsets_high) {
    return _mm256_max_epu8(
        _mm256_packus_epi16(_mm256_add_epi16(low, offsets_low), _mm256_add_epi16(high, offsets_high)), one);
  };
  return {channel(o.blue_low, o.blue_high), channel(o.green_low, o.green_high), channel(o.red_low, o.red_high)};
}

inline void StoreRgb32(uint8_t* out, const Bgr32& c) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i bg_low = _mm256_unpacklo_epi8(c.blue, c.green), bg_high = _mm256_unpackhi_epi8(c.blue, c.green);
  const __m256i r0_low = _mm256_unpacklo_epi8(c.red, zero), r0_high = _mm256_unpackhi_epi8(c.red, zero);
  const __m256i p0 = _mm256_unpacklo_epi16(bg_low, r0_low);    // pixels 0..3 | 16..19
  const __m256i p1 = _mm256_unpackhi_epi16(bg_low, r0_low);    // 4..7 | 20..23
  const __m256i p2 = _mm256_unpacklo_epi16(bg_high, r0_high);  // 8..11 | 24..27
  const __m256i p3 = _mm256_unpackhi_epi16(bg_high, r0_high);  // 12..15 | 28..31
  auto* at = reinterpret_cast<__m256i*>(out);
  _mm256_storeu_si256(at + 0, _mm256_permute2x128_si256(p0, p1, 0x20));
  _mm256_storeu_si256(at + 1, _mm256_permute2x128_si256(p2, p3, 0x20));
  _mm256_storeu_si256(at + 2, _mm256_permute2x128_si256(p0, p1, 0x31));
  _mm256_storeu_si256(at + 3, _mm256_permute2x128_si256(p2, p3, 0x31));
}

// Byte shuffles that spread one colour of 16 pixels over the three 16-byte parts of their 48
// bytes of blue, green, red; -1 leaves a zero for another colour to fill.
struct Spread {
  __m256i part[3][3];  // [part][colour]
  Spread() {
    for (int k = 0; k < 3; ++k) {
      for (int colour = 0; colour < 3; ++colour) {
        alignas(32) int8_t mask[32];
        for (int j = 0; j < 16; ++j) {
          const int at = 16 * k + j;
          mask[j] = mask[j + 16] = static_cast<int8_t>(at % 3 == colour ? at / 3 : -1);
        }
        part[k][colour] = _mm256_load_si256(reinterpret_cast<const __m256i*>(mask));
      }
    }
  }
};

inline void StoreBgr24(uint8_t* out, const Bgr32& c, const Spread& s) {
  __m256i parts[3];
  for (int k = 0; k < 3; ++k) {
    parts[k] = _mm256_or_si256(_mm256_or_si256(_mm256_shuffle_epi8(c.blue, s.part[k][0]),
                                               _mm256_shuffle_epi8(c.green, s.part[k][1])),
                               _mm256_shuffle_epi8(c.red, s.part[k][2]));
  }
  // Low halves are pixels 0..15, high halves 16..31.
  auto* at = reinterpret_cast<__m256i*>(out);
  _mm256_storeu_si256(at + 0, _mm256_permute2x128_si256(parts[0], parts[1], 0x20));
  _mm256_storeu_si256(at + 1, _mm256_permute2x128_si256(parts[2], parts[0], 0x30));
  _mm256_storeu_si256(at + 2, _mm256_permute2x128_si256(parts[1], parts[2], 0x31));
}

}  // namespace

void RowPairToRgb32Avx2(const RowPair& rows) {
  int x = 0;
  for (; x + 32 <= rows.width; x += 32) {
    const PixelOffsets32 offsets = OffsetsOf32(rows.cb + x / 2, rows.cr + x / 2);
    StoreRgb32(rows.out0 + 4 * x, ColoursOf32(rows.luma0 + x, offsets));
    StoreRgb32(rows.out1 + 4 * x, ColoursOf32(rows.luma1 + x, offsets));
  }
  if (x < rows.width) RowPairToRgb32Sse2(From(rows, x, 4));
}

void RowPairToBgr24Avx2(const RowPair& rows) {
  static const Spread spread;
  int x = 0;
  for (; x + 32 <= rows.width; x += 32) {
    const PixelOffsets32 offsets = OffsetsOf32(rows.cb + x / 2, rows.cr + x / 2);
    StoreBgr24(rows.out0 + 3 * x, ColoursOf32(rows.luma0 + x, offsets), spread);
    StoreBgr24(rows.out1 + 3 * x, ColoursOf32(rows.luma1 + x, offsets), spread);
  }
  if (x < rows.width) RowPairToBgr24Sse2(From(rows, x, 3));
}

}  // namespace dvr::codec
