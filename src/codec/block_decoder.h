#pragma once
// The block decoders: one per processor level, each decoding every slice of a parsed frame into
// a planar YUV 4:2:0 picture. They decode the bitstream identically; they differ in the inverse
// DCT (reference or packed) and the store. Chosen once from the processor (DVR_CPU lowers it).
#include <cstdint>

#include "platform/cpu_features.h"

namespace dvr::codec {

// What a block decoder needs of a frame that ParseHeader accepted.
struct SliceJob {
  const uint8_t* frame;
  uint32_t length;
  const uint32_t* slice_offsets;
  uint32_t slice_count;
  bool full_frame;
  uint32_t width, height;
  const uint32_t* dequant;  // 64 entries, raster order
  uint8_t* picture;
};

using BlockDecoder = bool (*)(const SliceJob& job);

// The decoder of a level: scalar (reference IDCT), packed (portable packed IDCT), sse2 (the packed
// IDCT in SSE2; avx2 processors use it too: the 8x8 transform gains nothing from wider registers).
// A level the processor lacks gives the best one it has.
BlockDecoder BlockDecoderFor(platform::CpuLevel level);
// The block decoder of the level the process selected.
BlockDecoder SelectBlockDecoder();

// The individual implementations, for tests and benchmarks.
bool DecodeSlicesScalar(const SliceJob& job);
bool DecodeSlicesPacked(const SliceJob& job);
bool DecodeSlicesSse2(const SliceJob& job);

}  // namespace dvr::codec
