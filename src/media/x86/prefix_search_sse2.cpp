#include <emmintrin.h>

#include "media/x86/prefix_search_x86.h"

namespace dvr::media {

size_t FindPrefixSse2(const uint8_t* p, size_t n) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i one = _mm_set1_epi8(1);
  size_t i = 0;
  // 16 candidates at a time: bytes i..i+15 and the two after each.
  for (; i + 18 <= n; i += 16) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 1));
    const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 2));
    const __m128i hits =
        _mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(a, b), zero), _mm_cmpeq_epi8(c, one));
    if (const int mask = _mm_movemask_epi8(hits)) return i + static_cast<size_t>(__builtin_ctz(mask));
  }
  for (; i + 2 < n; ++i) {
    if (p[i] == 0 && p[i + 1] == 0 && p[i + 2] == 1) return i;
  }
  return n;
}

}  // namespace dvr::media
