#include "codec/block_decoder.h"

#include <cstring>

#include "codec/block_decoding.h"
#include "codec/idct.h"

namespace dvr::codec {
namespace {

struct Reference {
  static void Clear(int16_t* block) { std::memset(block, 0, 64 * sizeof *block); }
  static void Transform(int16_t* block, uint8_t* destination, int stride, unsigned) {
    IdctReference(block);
    StoreLowBytes(block, destination, stride);
  }
};

struct Packed {
  static void Clear(int16_t* block) { std::memset(block, 0, 64 * sizeof *block); }
  static void Transform(int16_t* block, uint8_t* destination, int stride, unsigned) {
    IdctPacked(block);
    StoreSaturated(block, destination, stride);
  }
};

}  // namespace

bool DecodeSlicesScalar(const SliceJob& job) { return detail::DecodeSlices<Reference>(job); }
bool DecodeSlicesPacked(const SliceJob& job) { return detail::DecodeSlices<Packed>(job); }

BlockDecoder BlockDecoderFor(platform::CpuLevel level) {
  switch (platform::CpuLevelAvailable(level) ? level : platform::DetectedCpuLevel()) {
    case platform::CpuLevel::kAvx2:
    case platform::CpuLevel::kSse2: return DecodeSlicesSse2;
    case platform::CpuLevel::kPacked: return DecodeSlicesPacked;
    case platform::CpuLevel::kScalar: break;
  }
  return DecodeSlicesScalar;
}

BlockDecoder SelectBlockDecoder() { return BlockDecoderFor(platform::SelectedCpuLevel()); }

}  // namespace dvr::codec
