#pragma once
// Shared pieces of the SIMD colour conversion. Everything here is in an unnamed namespace: each
// file that includes it gets its own copy built with its own instruction set.
#include <emmintrin.h>

#include <cstdint>

#include "codec/yuv_kernels.h"

namespace dvr::codec {
namespace {

// Per chroma sample: the offsets that (1024 Y + term) >> 10 = Y + (term >> 10) adds to luma,
// term >> 10 rounding toward minus infinity like the tables' shift.
struct ChromaOffsets {
  __m128i red, green, blue;  // eight signed 16-bit offsets each
};

inline ChromaOffsets OffsetsOf(const uint8_t* cb, const uint8_t* cr) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i bias = _mm_set1_epi16(128);
  const __m128i cb16 = _mm_sub_epi16(_mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(cb)), zero), bias);
  const __m128i cr16 = _mm_sub_epi16(_mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(cr)), zero), bias);
  const __m128i low = _mm_unpacklo_epi16(cb16, cr16);  // (cb, cr) pairs of samples 0..3
  const __m128i high = _mm_unpackhi_epi16(cb16, cr16);
  auto term = [&](int16_t from_cb, int16_t from_cr) {
    const __m128i k = _mm_set1_epi32(static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint16_t>(from_cr)) << 16 |
                                                          static_cast<uint16_t>(from_cb)));
    return _mm_packs_epi32(_mm_srai_epi32(_mm_madd_epi16(low, k), 10),
                           _mm_srai_epi32(_mm_madd_epi16(high, k), 10));
  };
  return {term(0, 1436), term(-352, -731), term(1815, 0)};
}

// Sixteen luma samples plus the offsets of their eight chroma samples (each used twice),
// clamped to 1..255.
inline __m128i Component(__m128i luma, __m128i offsets) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i low = _mm_add_epi16(_mm_unpacklo_epi8(luma, zero), _mm_unpacklo_epi16(offsets, offsets));
  const __m128i high = _mm_add_epi16(_mm_unpackhi_epi8(luma, zero), _mm_unpackhi_epi16(offsets, offsets));
  return _mm_max_epu8(_mm_packus_epi16(low, high), _mm_set1_epi8(1));
}

// Sixteen pixels as four vectors of blue, green, red, 0.
struct Bgra16 {
  __m128i p[4];
};

inline Bgra16 PixelsOf(const uint8_t* luma, const ChromaOffsets& o) {
  const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(luma));
  const __m128i r = Component(y, o.red), g = Component(y, o.green), b = Component(y, o.blue);
  const __m128i zero = _mm_setzero_si128();
  const __m128i bg_low = _mm_unpacklo_epi8(b, g), bg_high = _mm_unpackhi_epi8(b, g);
  const __m128i r0_low = _mm_unpacklo_epi8(r, zero), r0_high = _mm_unpackhi_epi8(r, zero);
  return {{_mm_unpacklo_epi16(bg_low, r0_low), _mm_unpackhi_epi16(bg_low, r0_low),
           _mm_unpacklo_epi16(bg_high, r0_high), _mm_unpackhi_epi16(bg_high, r0_high)}};
}

// The part of a row pair past the last whole 16 pixels.
inline RowPair Tail(const RowPair& rows, int x, int bytes_per_pixel) {
  return {rows.luma0 + x,  rows.luma1 + x, rows.cb + x / 2, rows.cr + x / 2,
          rows.out0 + x * bytes_per_pixel, rows.out1 + x * bytes_per_pixel, rows.width - x};
}

}  // namespace
}  // namespace dvr::codec
