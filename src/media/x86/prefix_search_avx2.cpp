#include <immintrin.h>

#include "media/x86/prefix_search_x86.h"

namespace dvr::media {

size_t FindPrefixAvx2(const uint8_t* p, size_t n) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i one = _mm256_set1_epi8(1);
  auto masks = [&](size_t i, uint64_t& zeros, uint64_t& ones) {
    const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i));
    const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i + 32));
    zeros = static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(low, zero))) |
            uint64_t{static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(high, zero)))} << 32;
    ones = static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(low, one))) |
           uint64_t{static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(high, one)))} << 32;
  };
  // Bit k of zeros/ones tells whether byte i + k is 0 / 1. A prefix at k needs zeros at k and
  // k + 1 and a one at k + 2; the last two places of a round borrow from the next round's masks.
  size_t i = 0;
  if (n >= 64 + 2) {
    uint64_t zeros, ones;
    masks(0, zeros, ones);
    for (; i + 128 <= n; i += 64) {
      uint64_t next_zeros, next_ones;
      masks(i + 64, next_zeros, next_ones);
      const uint64_t hits = zeros & (zeros >> 1 | next_zeros << 63) & (ones >> 2 | next_ones << 62);
      if (hits) return i + static_cast<size_t>(__builtin_ctzll(hits));
      zeros = next_zeros;
      ones = next_ones;
    }
  }
  return i + FindPrefixSse2(p + i, n - i);
}

}  // namespace dvr::media
