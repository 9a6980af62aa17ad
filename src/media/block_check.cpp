#include "media/block_check.h"

#include <array>

namespace dvr::media {
namespace {

constexpr std::array<uint8_t, 256> MakeCrc8Table() {
  std::array<uint8_t, 256> table{};
  for (unsigned i = 0; i < 256; ++i) {
    unsigned crc = i;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 0x80) ? ((crc << 1) ^ 0x07) : (crc << 1);
    table[i] = static_cast<uint8_t>(crc);
  }
  return table;
}

constexpr std::array<uint8_t, 256> kCrc8 = MakeCrc8Table();
static_assert(kCrc8[1] == 0x07 && kCrc8[128] == 0x89);

}  // namespace

uint8_t BlockCheck(const uint8_t* bytes, unsigned count) {
  uint8_t c = 0xFF;
  for (unsigned i = 0; i < count; ++i) c ^= kCrc8[c ^ bytes[i]];
  return static_cast<uint8_t>(~c);
}

}  // namespace dvr::media
