#pragma once
// The block check byte: c = 0xFF; for each header byte b: c ^= T[c ^ b]; result ~c, with T the
// CRC-8 table of the polynomial 0x07. Not the usual CRC update step, but the one the recorder uses.
#include <cstdint>

namespace dvr::media {

uint8_t BlockCheck(const uint8_t* bytes, unsigned count = 7);

}  // namespace dvr::media
