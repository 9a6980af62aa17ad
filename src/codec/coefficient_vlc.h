#pragma once
// The run/level code of the AC coefficients: MPEG-2 Table B.14 (DCT coefficients table zero, the
// MPEG-1 AC table), in its form for coefficients after the first. Every code but end of block and
// escape is followed by a sign bit (1 negative). The escape carries a 6-bit run and an 8-bit level,
// with 8 more bits when that level is 0 or 128.
#include <array>
#include <cstdint>
#include <span>

namespace dvr::codec {

// One code of the table, sign bit not counted.
struct RunLevelCode {
  uint16_t bits;    // the code, right-aligned
  uint8_t length;   // 2..16
  uint8_t run;      // 0..31
  uint8_t level;    // 1..40
};

inline constexpr uint16_t kEndOfBlockBits = 0b10;  // 2 bits
inline constexpr uint16_t kEscapeBits = 0b000001;  // 6 bits
inline constexpr int kEndOfBlockLength = 2;
inline constexpr int kEscapeLength = 6;

// The 111 run/level codes.
std::span<const RunLevelCode> RunLevelCodes();

// The decoding lookup: one entry per code, found from the next 16 bits in one of eight sub-tables
// chosen by the position of their leading one.
struct VlcEntry {
  uint8_t run;     // 0..31, or kEndOfBlock / kEscape
  uint8_t level;   // 1..40
  uint8_t length;  // code length without the sign bit
};
inline constexpr uint8_t kEndOfBlock = 64;
inline constexpr uint8_t kEscape = 65;

// The common codes in one step: indexed by the window's first 10 bits, an entry gives a code of
// at most 9 bits together with its sign bit (run 0..31, signed level, length with the sign),
// end of block, escape, or kLongCode for the codes of 10 to 16 bits, which the sub-tables below
// decode. Built from the same code list.
inline constexpr uint8_t kLongCode = 66;
struct ShortCode {
  uint8_t run;     // 0..31, kEndOfBlock, kEscape or kLongCode
  uint8_t length;  // bits to skip, sign included
  int16_t level;   // signed
};
inline constexpr int kShortCodeBits = 10;
extern const std::array<ShortCode, 1 << kShortCodeBits> kShortCodes;

// The eight sub-tables in one array; a window with z leading zeros (0..11) indexes it at
// (window >> shift[z]) + offset[z].
struct CodeLookup {
  std::array<VlcEntry, 12 + 60 + 8 + 16 * 5> entries;
  std::array<uint8_t, 12> shift;
  std::array<int16_t, 12> offset;
};
extern const CodeLookup kCodeLookup;

// The entry for the 16-bit window v; v must be at least 0x10 (below that no code is valid).
inline const VlcEntry& LookupCode(uint32_t v) {
  const auto zeros = static_cast<size_t>(__builtin_clz(v) - 16);
  return kCodeLookup.entries[(v >> kCodeLookup.shift[zeros]) +
                             static_cast<uint32_t>(kCodeLookup.offset[zeros])];
}

}  // namespace dvr::codec
