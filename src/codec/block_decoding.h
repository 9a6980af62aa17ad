#pragma once
// The slice, macroblock and block loop of a frame, shared by every block decoder: they differ only
// in the inverse DCT and the store, which come in as a template argument so that each
// implementation is one tight loop. Included by the files that instantiate it.
#include <cstdint>
#include <cstring>

#include "codec/bit_reader.h"
#include "codec/block_decoder.h"
#include "codec/coefficient_vlc.h"
#include "codec/scan_tables.h"

namespace dvr::codec::detail {

// Decodes one block's coefficients into `block` (already cleared). False on an invalid code or a
// position past 63.
inline bool DecodeCoefficients(BitReader& bits, const uint32_t* dequant, int16_t* block) {
  bits.Refill();
  block[0] = static_cast<int16_t>(8 * bits.Read(8));  // DC: the block's mean, not predicted
  unsigned k = 0;
  for (;;) {
    bits.Refill();
    const uint32_t window = bits.Peek(16);
    if (window < 0x10) return false;
    const VlcEntry& code = LookupCode(window);
    uint32_t magnitude;
    bool negative;
    if (code.run == kEndOfBlock) {
      bits.Skip(kEndOfBlockLength);
      return true;
    }
    if (code.run == kEscape) {
      bits.Skip(kEscapeLength);  // then 6 + 8 (+ 8) bits, at most 22: still held
      k += 1 + bits.Read(6);
      const uint32_t level = bits.Read(8);
      if (level == 0) {
        magnitude = bits.Read(8);
        negative = false;
      } else if (level == 128) {
        magnitude = (256 - bits.Read(8)) & 0xFF;
        negative = true;
      } else if (level < 128) {
        magnitude = level;
        negative = false;
      } else {
        magnitude = 256 - level;
        negative = true;
      }
    } else {
      k += 1u + code.run;
      magnitude = code.level;
      bits.Skip(code.length);
      negative = bits.Read(1) != 0;
    }
    if (k >= 64) return false;
    const unsigned i = kZigZag[k];
    const uint32_t x = (magnitude * dequant[i]) >> 2;
    block[i] = negative ? static_cast<int16_t>(-static_cast<int32_t>(x < 2048 ? x : 2048))
                        : static_cast<int16_t>(x < 2047 ? x : 2047);
  }
}

template <void (*IdctStore)(int16_t* block, uint8_t* destination, int stride)>
bool DecodeSlices(const SliceJob& job) {
  alignas(32) int16_t block[64];
  const int width = static_cast<int>(job.width);
  const int columns = width / 16;
  const int rows = static_cast<int>(job.height) / 16;
  const int chroma_stride = width / 2;
  uint8_t* const luma = job.picture;
  uint8_t* const cb = luma + job.width * job.height;
  uint8_t* const cr = cb + job.width * job.height / 4;
  const uint8_t* const end = job.frame + job.length;

  for (uint32_t s = 0; s < job.slice_count; ++s) {
    if (job.slice_offsets[s] >= job.length) return false;
    BitReader bits(job.frame + job.slice_offsets[s], end);
    if (bits.Read(24) != 0x000001) return false;
    const int row = static_cast<int>(bits.Read(5));
    if (row >= rows) return false;
    for (int m = 0; m < columns; ++m) {
      unsigned pattern = 0xF;
      if (!job.full_frame) {
        bits.Refill();
        const int increment = static_cast<int>(bits.Read(6));
        if (increment == 0) break;
        m += increment - 1;
        if (m >= columns) return false;  // would land outside the picture
        pattern = bits.Read(4);
      }
      uint8_t* const y = luma + (16 * row) * width + 16 * m;
      uint8_t* const destinations[6] = {y,
                                        y + 8,
                                        y + 8 * width,
                                        y + 8 * width + 8,
                                        cb + (8 * row) * chroma_stride + 8 * m,
                                        cr + (8 * row) * chroma_stride + 8 * m};
      for (int j = 0; j < 6; ++j) {
        if (j < 4 && !(pattern & (1u << j))) continue;
        std::memset(block, 0, sizeof block);
        if (!DecodeCoefficients(bits, job.dequant, block) || bits.Overrun()) return false;
        IdctStore(block, destinations[j], j < 4 ? width : chroma_stride);
      }
    }
    if (bits.Overrun()) return false;
  }
  return true;
}

}  // namespace dvr::codec::detail
