// Login and DDNS replies as a hostile server might send them: the reply reader must never read
// past what it was given, must take 16 bytes for every answer it reads (whatever the length field
// says), and a prefix of a complete reply must read as incomplete or as the same answer.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "net/protocol.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A copy of exactly `size` bytes, so that the sanitizer sees any read beyond it.
  const std::vector<uint8_t> bytes(data, data + size);
  const dvr::net::LoginReply reply = dvr::net::ReadLoginReply(bytes.data(), bytes.size());
  if (reply.bytes > bytes.size()) std::abort();
  using Kind = dvr::net::LoginReply::Kind;
  const bool answer_read = reply.kind != Kind::kIncomplete && reply.kind != Kind::kInvalid;
  if (answer_read != (reply.bytes == dvr::net::kLoginReplyBytes)) std::abort();
  for (size_t n = 0; n < bytes.size(); ++n) {
    const std::vector<uint8_t> prefix(bytes.begin(), bytes.begin() + static_cast<long>(n));
    const dvr::net::LoginReply shorter = dvr::net::ReadLoginReply(prefix.data(), prefix.size());
    if (shorter.kind != Kind::kIncomplete && (shorter.kind != reply.kind || shorter.refusal != reply.refusal)) {
      std::abort();
    }
  }
  const auto answer = dvr::net::ReadDdnsReply(bytes.data(), bytes.size());
  if (answer && bytes.size() < dvr::net::kDdnsReplyBytes) std::abort();
  if (answer) (void)dvr::net::DottedAddress(answer->address);
  return 0;
}
