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
  const std::array<uint8_t, 16> digest = Md5(data, n);
  return DigestHex(digest.data(), digest.size());
}

std::string DigestHex(const uint8_t* digest, size_t n) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string text;
  for (size_t i = 0; i < n; ++i) {
    text += kHex[digest[i] >> 4];
    text += kHex[digest[i] & 15];
  }
  return text;
}

}  // namespace dvr::platform
