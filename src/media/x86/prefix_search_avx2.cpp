#include <immintrin.h>

#include "media/x86/prefix_search_x86.h"

namespace dvr::media {

size_t FindPrefixAvx2(const uint8_t* p, size_t n) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i one = _mm256_set1_epi8(1);
  // Byte k of the result is set where p[i+k], p[i+k+1] are 0 and p[i+k+2] is 1.
  auto hits_at = [&](size_t i) {
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i + 1));
    const __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i + 2));
    return _mm256_and_si256(_mm256_cmpeq_epi8(_mm256_or_si256(a, b), zero), _mm256_cmpeq_epi8(c, one));
  };
  size_t i = 0;
  // 64 places a round, tested together; the exact one is looked for only on a hit.
  for (; i + 66 <= n; i += 64) {
    const __m256i low = hits_at(i), high = hits_at(i + 32);
    const __m256i any = _mm256_or_si256(low, high);
    if (_mm256_testz_si256(any, any)) continue;
    if (const auto mask = static_cast<uint32_t>(_mm256_movemask_epi8(low))) return i + static_cast<size_t>(__builtin_ctz(mask));
    return i + 32 + static_cast<size_t>(__builtin_ctz(static_cast<uint32_t>(_mm256_movemask_epi8(high))));
  }
  for (; i + 34 <= n; i += 32) {
    if (const auto mask = static_cast<uint32_t>(_mm256_movemask_epi8(hits_at(i)))) return i + static_cast<size_t>(__builtin_ctz(mask));
  }
  return i + FindPrefixSse2(p + i, n - i);
}

}  // namespace dvr::media
