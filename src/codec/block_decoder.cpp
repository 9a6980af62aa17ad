#include "codec/block_decoder.h"

#include "codec/block_decoding.h"
#include "codec/idct.h"

namespace dvr::codec {
namespace {

void ReferenceStore(int16_t* block, uint8_t* destination, int stride) {
  IdctReference(block);
  StoreLowBytes(block, destination, stride);
}

void PackedStore(int16_t* block, uint8_t* destination, int stride) {
  IdctPacked(block);
  StoreSaturated(block, destination, stride);
}

}  // namespace

bool DecodeSlicesScalar(const SliceJob& job) { return detail::DecodeSlices<ReferenceStore>(job); }
bool DecodeSlicesPacked(const SliceJob& job) { return detail::DecodeSlices<PackedStore>(job); }

BlockDecoder BlockDecoderFor(platform::CpuLevel level) {
  const platform::CpuLevel usable = level < platform::DetectedCpuLevel() ? level : platform::DetectedCpuLevel();
  switch (usable) {
    case platform::CpuLevel::kAvx2:
    case platform::CpuLevel::kSse2: return DecodeSlicesSse2;
    case platform::CpuLevel::kPacked: return DecodeSlicesPacked;
    case platform::CpuLevel::kScalar: break;
  }
  return DecodeSlicesScalar;
}

BlockDecoder SelectBlockDecoder() { return BlockDecoderFor(platform::SelectedCpuLevel()); }

}  // namespace dvr::codec
