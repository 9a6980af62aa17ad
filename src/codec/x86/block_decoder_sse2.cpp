// The block decoder with the SSE2 packed IDCT.
#include "codec/block_decoding.h"
#include "codec/x86/idct_sse2.h"

namespace dvr::codec {

bool DecodeSlicesSse2(const SliceJob& job) { return detail::DecodeSlices<IdctPackedSse2Store>(job); }

}  // namespace dvr::codec
