#include "platform/md5.h"

#include <openssl/evp.h>

namespace dvr::platform {

std::array<uint8_t, 16> Md5(const void* data, size_t n) {
  std::array<uint8_t, 16> digest{};
  unsigned int length = 0;
  EVP_Digest(data, n, digest.data(), &length, EVP_md5(), nullptr);
  return digest;
}

std::string Md5Hex(const void* data, size_t n) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string text;
  for (uint8_t byte : Md5(data, n)) {
    text += kHex[byte >> 4];
    text += kHex[byte & 15];
  }
  return text;
}

}  // namespace dvr::platform
