#pragma once
// ITU-T G.711 expansion to 16-bit linear samples, with the scaling of the usual reference
// expansions: A-law spans -32256 .. 32256 (D5 is 8, 55 is -8), mu-law -32124 .. 32124 (FF and 7F
// are 0, 80 is 32124).
#include <array>
#include <cstdint>

namespace dvr::audio {

constexpr int16_t ExpandALaw(uint8_t code) {
  const int value = code ^ 0x55;
  const int segment = (value & 0x70) >> 4;
  int magnitude = (value & 0x0F) << 4;
  if (segment == 0) {
    magnitude += 8;
  } else {
    magnitude = (magnitude + 0x108) << (segment - 1);
  }
  return static_cast<int16_t>(value & 0x80 ? magnitude : -magnitude);
}

constexpr int16_t ExpandMuLaw(uint8_t code) {
  const int value = ~code & 0xFF;
  const int magnitude = ((((value & 0x0F) << 3) + 0x84) << ((value & 0x70) >> 4)) - 0x84;
  return static_cast<int16_t>(value & 0x80 ? -magnitude : magnitude);
}

template <int16_t (*Expand)(uint8_t)>
constexpr std::array<int16_t, 256> ExpansionTable() {
  std::array<int16_t, 256> table{};
  for (int i = 0; i < 256; ++i) table[static_cast<size_t>(i)] = Expand(static_cast<uint8_t>(i));
  return table;
}

// Built at compile time, read-only.
inline constexpr std::array<int16_t, 256> kALawTable = ExpansionTable<ExpandALaw>();
inline constexpr std::array<int16_t, 256> kMuLawTable = ExpansionTable<ExpandMuLaw>();

}  // namespace dvr::audio
