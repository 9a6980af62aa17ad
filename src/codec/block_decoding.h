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

// Decodes one block's coefficients into `block` (already cleared). Returns the number of AC codes
// read (0: the block is its DC value alone), or -1 on an invalid code or a position past 63.
inline int DecodeCoefficients(BitReader& bits, const uint32_t* dequant, int16_t* block, unsigned& rows) {
  rows = 1;
  bits.Refill();
  block[0] = static_cast<int16_t>(8 * bits.Read(8));  // DC: the block's mean, not predicted
  unsigned k = 0;
  for (int codes = 0;; ++codes) {
    bits.Refill();
    const uint32_t window = bits.Peek(16);
    const ShortCode& code = kShortCodes[window >> (16 - kShortCodeBits)];
    int32_t level;
    if (code.run < 32) {
      k += 1u + code.run;
      level = code.level;
      bits.Skip(code.length);
    } else if (code.run == kEndOfBlock) {
      bits.Skip(kEndOfBlockLength);
      return codes;
    } else if (code.run == kEscape) {
      bits.Skip(kEscapeLength);  // then 6 + 8 (+ 8) bits, at most 22: still held
      k += 1 + bits.Read(6);
      const int32_t first = static_cast<int32_t>(bits.Read(8));
      if (first == 0) {
        level = static_cast<int32_t>(bits.Read(8));
      } else if (first == 128) {
        level = -((256 - static_cast<int32_t>(bits.Read(8))) & 0xFF);
      } else {
        level = first < 128 ? first : first - 256;
      }
    } else {
      if (window < 0x10) return -1;  // twelve or more zeros: no code
      const VlcEntry& entry = LookupCode(window);
      k += 1u + entry.run;
      bits.Skip(entry.length);
      level = bits.Read(1) ? -entry.level : entry.level;
    }
    if (k >= 64) return -1;
    const unsigned i = kZigZag[k];
    rows |= 1u << (i >> 3);
    const uint32_t x = (static_cast<uint32_t>(level < 0 ? -level : level) * dequant[i]) >> 2;
    block[i] = level < 0 ? static_cast<int16_t>(-static_cast<int32_t>(x < 2048 ? x : 2048))
                         : static_cast<int16_t>(x < 2047 ? x : 2047);
  }
}

// A block of its DC value alone is flat: both IDCT designs give the DC value in every sample
// (checked for all 256 values by the tests), so the transform is skipped.
inline void FillFlat(uint8_t* destination, int stride, uint8_t value) {
  uint64_t row;
  std::memset(&row, value, sizeof row);
  for (int y = 0; y < 8; ++y) std::memcpy(destination + y * stride, &row, sizeof row);
}

// What sets the block decoders apart, as a type with two static functions:
//   Clear(int16_t* block)  zeroes the 64 coefficients before a block;
//   Transform(int16_t* block, uint8_t* destination, int stride, unsigned rows)  inverse DCT and
//     store; bit r of `rows` is clear when row r holds only zeros.
template <typename Implementation>
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
        Implementation::Clear(block);
        unsigned rows_used;
        const int codes = DecodeCoefficients(bits, job.dequant, block, rows_used);
        if (codes < 0 || bits.Overrun()) return false;
        const int stride = j < 4 ? width : chroma_stride;
        if (codes == 0) {
          FillFlat(destinations[j], stride, static_cast<uint8_t>(block[0] / 8));
        } else {
          Implementation::Transform(block, destinations[j], stride, rows_used);
        }
      }
    }
    if (bits.Overrun()) return false;
  }
  return true;
}

}  // namespace dvr::codec::detail
