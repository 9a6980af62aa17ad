#pragma once
// Shared pieces of the SIMD colour conversion. Everything here is in an unnamed namespace: each
// file that includes it gets its own copy built with its own instruction set.
#include <emmintrin.h>

#include <cstdint>

#include "codec/yuv_kernels.h"

namespace dvr::codec {
namespace {

// (1024 Y + term) >> 10 is Y + (term >> 10), term >> 10 rounding toward minus infinity like the
// tables' shift: so each chroma sample gives three offsets to add to luma. The multiply-add
// operands for the (cb - 128, cr - 128) pairs:
constexpr int32_t PairFactors(int16_t from_cb, int16_t from_cr) {
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint16_t>(from_cr)) << 16 |
                              static_cast<uint16_t>(from_cb));
}
// Constants, not initialised at start-up: code built for AVX2 must not run before it is chosen.
constexpr int32_t kRedFactors = PairFactors(0, 1436);
constexpr int32_t kGreenFactors = PairFactors(-352, -731);  // minus the green term
constexpr int32_t kBlueFactors = PairFactors(1815, 0);

// The offsets of eight chroma samples, each repeated for the two pixels it covers: low holds
// pixels 0..7, high pixels 8..15.
struct PixelOffsets {
  __m128i red_low, red_high, green_low, green_high, blue_low, blue_high;
};

inline PixelOffsets OffsetsOf(const uint8_t* cb, const uint8_t* cr) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i bias = _mm_set1_epi16(128);
  const __m128i cb16 = _mm_sub_epi16(_mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(cb)), zero), bias);
  const __m128i cr16 = _mm_sub_epi16(_mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(cr)), zero), bias);
  const __m128i low = _mm_unpacklo_epi16(cb16, cr16);  // (cb, cr) pairs of samples 0..3
  const __m128i high = _mm_unpackhi_epi16(cb16, cr16);
  auto term = [&](int32_t factors) {
    const __m128i k = _mm_set1_epi32(factors);
    return _mm_packs_epi32(_mm_srai_epi32(_mm_madd_epi16(low, k), 10),
                           _mm_srai_epi32(_mm_madd_epi16(high, k), 10));
  };
  const __m128i red = term(kRedFactors), green = term(kGreenFactors), blue = term(kBlueFactors);
  return {_mm_unpacklo_epi16(red, red),     _mm_unpackhi_epi16(red, red),
          _mm_unpacklo_epi16(green, green), _mm_unpackhi_epi16(green, green),
          _mm_unpacklo_epi16(blue, blue),   _mm_unpackhi_epi16(blue, blue)};
}

// Sixteen pixels of one row as blue, green and red bytes, each clamped to 1..255.
struct Bgr16 {
  __m128i blue, green, red;
};

inline Bgr16 ColoursOf(const uint8_t* luma, const PixelOffsets& o) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i one = _mm_set1_epi8(1);
  const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(luma));
  const __m128i low = _mm_unpacklo_epi8(y, zero), high = _mm_unpackhi_epi8(y, zero);
  auto channel = [&](__m128i offsets_low, __m128i offsets_high) {
    return _mm_max_epu8(_mm_packus_epi16(_mm_add_epi16(low, offsets_low), _mm_add_epi16(high, offsets_high)), one);
  };
  return {channel(o.blue_low, o.blue_high), channel(o.green_low, o.green_high), channel(o.red_low, o.red_high)};
}

// Sixteen pixels as four vectors of blue, green, red, 0.
inline void Bgra(const Bgr16& c, __m128i out[4]) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i bg_low = _mm_unpacklo_epi8(c.blue, c.green), bg_high = _mm_unpackhi_epi8(c.blue, c.green);
  const __m128i r0_low = _mm_unpacklo_epi8(c.red, zero), r0_high = _mm_unpackhi_epi8(c.red, zero);
  out[0] = _mm_unpacklo_epi16(bg_low, r0_low);
  out[1] = _mm_unpackhi_epi16(bg_low, r0_low);
  out[2] = _mm_unpacklo_epi16(bg_high, r0_high);
  out[3] = _mm_unpackhi_epi16(bg_high, r0_high);
}

// The part of a row pair from pixel x on.
inline RowPair From(const RowPair& rows, int x, int bytes_per_pixel) {
  return {rows.luma0 + x,  rows.luma1 + x, rows.cb + x / 2, rows.cr + x / 2,
          rows.out0 + x * bytes_per_pixel, rows.out1 + x * bytes_per_pixel, rows.width - x};
}

}  // namespace
}  // namespace dvr::codec
