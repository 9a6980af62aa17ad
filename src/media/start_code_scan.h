#pragma once
// Start-code search over stream bytes with a persistent 32-bit shift register, as if every byte
// were shifted in one at a time, but skipping ahead with memchr between candidates.
#include <cstddef>
#include <cstdint>

namespace dvr::media {

inline constexpr size_t kNoStartCode = SIZE_MAX;

// Shifts data[0..n) into `reg` (reg = reg << 8 | byte) until it holds a start code 00 00 01 T.
// Returns the index of the byte T, with reg holding the start code; or kNoStartCode with reg
// holding the last four bytes after all n.
size_t FindStartCodeForward(const uint8_t* data, size_t n, uint32_t& reg);

// The same reading backward: shifts data[n-1], data[n-2] ... data[0] into `reg` until it holds a
// start code read in reverse (T 01 00 00). Returns the index of the start code's first byte (the
// last byte shifted in), or kNoStartCode.
size_t FindStartCodeBackward(const uint8_t* data, size_t n, uint32_t& reg);

}  // namespace dvr::media
