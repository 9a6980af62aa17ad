#pragma once
// MD5 (RFC 1321) through the system's crypto library.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace dvr::platform {

std::array<uint8_t, 16> Md5(const void* data, size_t n);
// Lower-case hexadecimal digest.
std::string Md5Hex(const void* data, size_t n);

// Any digest's bytes as lower-case hexadecimal text.
std::string DigestHex(const uint8_t* digest, size_t n);

}  // namespace dvr::platform
