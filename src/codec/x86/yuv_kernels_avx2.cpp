// Built for AVX2 processors; uses their byte shuffle to pack 24-bit pixels.
#include <immintrin.h>

#include "codec/yuv_kernels.h"
#include "codec/x86/yuv_sse2_common.h"

namespace dvr::codec {

void RowPairToBgr24Avx2(const RowPair& rows) {
  // Drops every fourth byte: four pixels to twelve bytes, the last four zero.
  const __m128i squeeze = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
  int x = 0;
  for (; x + 16 <= rows.width; x += 16) {
    const ChromaOffsets offsets = OffsetsOf(rows.cb + x / 2, rows.cr + x / 2);
    for (int line = 0; line < 2; ++line) {
      const Bgra16 pixels = PixelsOf((line ? rows.luma1 : rows.luma0) + x, offsets);
      const __m128i c0 = _mm_shuffle_epi8(pixels.p[0], squeeze);
      const __m128i c1 = _mm_shuffle_epi8(pixels.p[1], squeeze);
      const __m128i c2 = _mm_shuffle_epi8(pixels.p[2], squeeze);
      const __m128i c3 = _mm_shuffle_epi8(pixels.p[3], squeeze);
      auto* out = reinterpret_cast<__m128i*>((line ? rows.out1 : rows.out0) + 3 * x);
      _mm_storeu_si128(out + 0, _mm_or_si128(c0, _mm_slli_si128(c1, 12)));
      _mm_storeu_si128(out + 1, _mm_or_si128(_mm_srli_si128(c1, 4), _mm_slli_si128(c2, 8)));
      _mm_storeu_si128(out + 2, _mm_or_si128(_mm_srli_si128(c2, 8), _mm_slli_si128(c3, 4)));
    }
  }
  if (x < rows.width) RowPairToBgr24(Tail(rows, x, 3));
}

}  // namespace dvr::codec
