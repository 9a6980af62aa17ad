// Processors without the x86 forms: the SIMD levels fall back to the portable packed decoder.
#include "codec/block_decoder.h"

namespace dvr::codec {

bool DecodeSlicesSse2(const SliceJob& job) { return DecodeSlicesPacked(job); }

}  // namespace dvr::codec
