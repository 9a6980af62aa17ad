// The block decoder with the SSE2 packed IDCT.
#include <emmintrin.h>

#include "codec/block_decoding.h"
#include "codec/x86/idct_sse2.h"

namespace dvr::codec {

namespace {

struct Sse2 {
  static void Clear(int16_t* block) {
    auto* rows = reinterpret_cast<__m128i*>(block);
    for (int i = 0; i < 8; ++i) _mm_store_si128(rows + i, _mm_setzero_si128());
  }
  static void Transform(int16_t* block, uint8_t* destination, int stride, unsigned rows) {
    IdctPackedSse2Store(block, destination, stride, rows);
  }
};

}  // namespace

bool DecodeSlicesSse2(const SliceJob& job) { return detail::DecodeSlices<Sse2>(job); }

}  // namespace dvr::codec
