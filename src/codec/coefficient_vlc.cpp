#include "codec/coefficient_vlc.h"

#include <array>

namespace dvr::codec {
namespace {

constexpr RunLevelCode C(const char* text, int run, int level) {
  uint16_t bits = 0;
  uint8_t length = 0;
  for (const char* p = text; *p; ++p) {
    if (*p == ' ') continue;
    bits = static_cast<uint16_t>(bits << 1 | (*p == '1'));
    ++length;
  }
  return {bits, length, static_cast<uint8_t>(run), static_cast<uint8_t>(level)};
}

// Table B.14, codes without their sign bit.
constexpr std::array<RunLevelCode, 111> kCodes = {
    C("11", 0, 1),                 C("011", 1, 1),               C("0100", 0, 2),
    C("0101", 2, 1),               C("0010 1", 0, 3),            C("0011 1", 3, 1),
    C("0011 0", 4, 1),             C("0001 10", 1, 2),           C("0001 11", 5, 1),
    C("0001 01", 6, 1),            C("0001 00", 7, 1),           C("0000 110", 0, 4),
    C("0000 100", 2, 2),           C("0000 111", 8, 1),          C("0000 101", 9, 1),
    C("0010 0110", 0, 5),          C("0010 0001", 0, 6),         C("0010 0101", 1, 3),
    C("0010 0100", 3, 2),          C("0010 0111", 10, 1),        C("0010 0011", 11, 1),
    C("0010 0010", 12, 1),         C("0010 0000", 13, 1),        C("0000 0010 10", 0, 7),
    C("0000 0011 00", 1, 4),       C("0000 0010 11", 2, 3),      C("0000 0011 11", 4, 2),
    C("0000 0010 01", 5, 2),       C("0000 0011 10", 14, 1),     C("0000 0011 01", 15, 1),
    C("0000 0010 00", 16, 1),      C("0000 0001 1101", 0, 8),    C("0000 0001 1000", 0, 9),
    C("0000 0001 0011", 0, 10),    C("0000 0001 0000", 0, 11),   C("0000 0001 1011", 1, 5),
    C("0000 0001 0100", 2, 4),     C("0000 0001 1100", 3, 3),    C("0000 0001 0010", 4, 3),
    C("0000 0001 1110", 6, 2),     C("0000 0001 0101", 7, 2),    C("0000 0001 0001", 8, 2),
    C("0000 0001 1111", 17, 1),    C("0000 0001 1010", 18, 1),   C("0000 0001 1001", 19, 1),
    C("0000 0001 0111", 20, 1),    C("0000 0001 0110", 21, 1),   C("0000 0000 1101 0", 0, 12),
    C("0000 0000 1100 1", 0, 13),  C("0000 0000 1100 0", 0, 14), C("0000 0000 1011 1", 0, 15),
    C("0000 0000 1011 0", 1, 6),   C("0000 0000 1010 1", 1, 7),  C("0000 0000 1010 0", 2, 5),
    C("0000 0000 1001 1", 3, 4),   C("0000 0000 1001 0", 5, 3),  C("0000 0000 1000 1", 9, 2),
    C("0000 0000 1000 0", 10, 2),  C("0000 0000 1111 1", 22, 1), C("0000 0000 1111 0", 23, 1),
    C("0000 0000 1110 1", 24, 1),  C("0000 0000 1110 0", 25, 1), C("0000 0000 1101 1", 26, 1),
    C("0000 0000 0111 11", 0, 16), C("0000 0000 0111 10", 0, 17), C("0000 0000 0111 01", 0, 18),
    C("0000 0000 0111 00", 0, 19), C("0000 0000 0110 11", 0, 20), C("0000 0000 0110 10", 0, 21),
    C("0000 0000 0110 01", 0, 22), C("0000 0000 0110 00", 0, 23), C("0000 0000 0101 11", 0, 24),
    C("0000 0000 0101 10", 0, 25), C("0000 0000 0101 01", 0, 26), C("0000 0000 0101 00", 0, 27),
    C("0000 0000 0100 11", 0, 28), C("0000 0000 0100 10", 0, 29), C("0000 0000 0100 01", 0, 30),
    C("0000 0000 0100 00", 0, 31), C("0000 0000 0011 000", 0, 32), C("0000 0000 0010 111", 0, 33),
    C("0000 0000 0010 110", 0, 34), C("0000 0000 0010 101", 0, 35), C("0000 0000 0010 100", 0, 36),
    C("0000 0000 0010 011", 0, 37), C("0000 0000 0010 010", 0, 38), C("0000 0000 0010 001", 0, 39),
    C("0000 0000 0010 000", 0, 40), C("0000 0000 0011 111", 1, 8), C("0000 0000 0011 110", 1, 9),
    C("0000 0000 0011 101", 1, 10), C("0000 0000 0011 100", 1, 11), C("0000 0000 0011 011", 1, 12),
    C("0000 0000 0011 010", 1, 13), C("0000 0000 0011 001", 1, 14), C("0000 0000 0001 0011", 1, 15),
    C("0000 0000 0001 0010", 1, 16), C("0000 0000 0001 0001", 1, 17), C("0000 0000 0001 0000", 1, 18),
    C("0000 0000 0001 0100", 6, 3), C("0000 0000 0001 1010", 11, 2), C("0000 0000 0001 1001", 12, 2),
    C("0000 0000 0001 1000", 13, 2), C("0000 0000 0001 0111", 14, 2), C("0000 0000 0001 0110", 15, 2),
    C("0000 0000 0001 0101", 16, 2), C("0000 0000 0001 1111", 27, 1), C("0000 0000 0001 1110", 28, 1),
    C("0000 0000 0001 1101", 29, 1), C("0000 0000 0001 1100", 30, 1), C("0000 0000 0001 1011", 31, 1),
};

// The eight sub-tables, by the number of leading zeros of the 16-bit window (0..11): the window
// is shifted right by kShift[z] and kBase[z] is added to index one combined table.
constexpr int kSubTables = 8;
constexpr int kSubTableSize[kSubTables] = {12, 60, 8, 16, 16, 16, 16, 16};
constexpr int kSubTableShift[kSubTables] = {12, 8, 6, 4, 3, 2, 1, 0};
constexpr int kSubTableFirst[kSubTables] = {4, 4, 8, 16, 16, 16, 16, 16};  // window >> shift, lowest
constexpr int kSubTableOfZeros[12] = {0, 0, 1, 1, 1, 1, 2, 3, 4, 5, 6, 7};
constexpr CodeLookup BuildLookup() {
  CodeLookup lookup{};
  int start[kSubTables] = {};
  for (int t = 1; t < kSubTables; ++t) start[t] = start[t - 1] + kSubTableSize[t - 1];
  for (int zeros = 0; zeros < 12; ++zeros) {
    const int t = kSubTableOfZeros[zeros];
    lookup.shift[static_cast<size_t>(zeros)] = static_cast<uint8_t>(kSubTableShift[t]);
    lookup.offset[static_cast<size_t>(zeros)] = static_cast<int16_t>(start[t] - kSubTableFirst[t]);
  }
  // Every 16-bit window that begins with a code selects that code's entry.
  auto place = [&](uint16_t bits, int length, VlcEntry entry) {
    const uint32_t low = uint32_t{bits} << (16 - length);
    const uint32_t high = low | ((1u << (16 - length)) - 1);
    for (uint32_t v = low; v <= high; ++v) {
      int zeros = 0;
      while (zeros < 16 && !(v & (0x8000u >> zeros))) ++zeros;
      const size_t index = static_cast<size_t>(
          static_cast<int>(v >> lookup.shift[static_cast<size_t>(zeros)]) +
          lookup.offset[static_cast<size_t>(zeros)]);
      lookup.entries[index] = entry;
    }
  };
  place(kEndOfBlockBits, kEndOfBlockLength, {kEndOfBlock, 0, kEndOfBlockLength});
  place(kEscapeBits, kEscapeLength, {kEscape, 0, kEscapeLength});
  for (const RunLevelCode& code : kCodes) place(code.bits, code.length, {code.run, code.level, code.length});
  return lookup;
}

std::array<ShortCode, 1 << kShortCodeBits> BuildShortCodes() {
  std::array<ShortCode, 1 << kShortCodeBits> table;
  table.fill({kLongCode, 0, 0});
  auto place = [&](uint32_t bits, int length, ShortCode entry) {
    const int free = kShortCodeBits - length;
    for (uint32_t tail = 0; tail < (1u << free); ++tail) table[(bits << free) | tail] = entry;
  };
  place(kEndOfBlockBits, kEndOfBlockLength, {kEndOfBlock, kEndOfBlockLength, 0});
  place(kEscapeBits, kEscapeLength, {kEscape, kEscapeLength, 0});
  for (const RunLevelCode& code : kCodes) {
    if (code.length + 1 > kShortCodeBits) continue;
    const auto length = static_cast<uint8_t>(code.length + 1);
    place(uint32_t{code.bits} << 1, length, {code.run, length, static_cast<int16_t>(code.level)});
    place(uint32_t{code.bits} << 1 | 1, length, {code.run, length, static_cast<int16_t>(-code.level)});
  }
  return table;
}

}  // namespace

// Built before main, once.
const CodeLookup kCodeLookup = BuildLookup();
const std::array<ShortCode, 1 << kShortCodeBits> kShortCodes = BuildShortCodes();

std::span<const RunLevelCode> RunLevelCodes() { return kCodes; }

}  // namespace dvr::codec
