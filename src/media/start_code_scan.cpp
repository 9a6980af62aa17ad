#include "media/start_code_scan.h"

#include <cstring>

#include "media/ndf_format.h"
#include "media/prefix_search.h"

namespace dvr::media {
namespace {

// The register after reading a start code backward: T 01 00 00.
bool IsReversedStartCode(uint32_t reg) {
  return (reg & 0x00FFFFFF) == 0x00010000 && KindOfStartCode(static_cast<uint8_t>(reg >> 24)) !=
                                                 FrameKind::kNone;
}

bool IsFrameType(uint8_t t) { return KindOfStartCode(t) != FrameKind::kNone; }

uint32_t BigEndianAt(const uint8_t* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

}  // namespace

size_t FindStartCodeForward(const uint8_t* data, size_t n, uint32_t& reg) {
  // The first three bytes may complete a start code begun in earlier bytes: shift them in.
  size_t i = 0;
  for (; i < n && i < 3; ++i) {
    reg = reg << 8 | data[i];
    if (IsStartCode(reg)) return i;
  }
  if (n <= 3) return kNoStartCode;
  // From index 3 on, all four bytes of a candidate are in `data`: find its 00 00 01 (at T - 3).
  static const PrefixSearch find_prefix = SelectedPrefixSearch();
  for (size_t from = 0;;) {
    const size_t prefix = from + find_prefix(data + from, n - 1 - from);
    if (prefix + 2 >= n - 1) break;
    if (IsFrameType(data[prefix + 3])) {
      reg = BigEndianAt(data + prefix);
      return prefix + 3;
    }
    from = prefix + 1;
  }
  reg = BigEndianAt(data + n - 4);
  return kNoStartCode;
}

size_t FindStartCodeBackward(const uint8_t* data, size_t n, uint32_t& reg) {
  size_t shifted = 0;
  for (; shifted < n && shifted < 3; ++shifted) {
    const size_t i = n - 1 - shifted;
    reg = reg << 8 | data[i];
    if (IsReversedStartCode(reg)) return i;
  }
  if (n <= 3) return kNoStartCode;
  // Candidates q = n-4 down to 0, all four bytes q..q+3 inside `data`: find their 01 at q + 2.
  size_t end = n - 1;  // search data[2 .. end) for the 01
  while (end > 2) {
    const void* hit = memrchr(data + 2, 0x01, end - 2);
    if (hit == nullptr) break;
    const size_t one = static_cast<size_t>(static_cast<const uint8_t*>(hit) - data);
    if (data[one - 1] == 0 && data[one - 2] == 0 && IsFrameType(data[one + 1])) {
      const size_t q = one - 2;
      reg = uint32_t{data[q + 3]} << 24 | uint32_t{data[q + 2]} << 16 |
            uint32_t{data[q + 1]} << 8 | data[q];
      return q;
    }
    end = one;
  }
  reg = uint32_t{data[3]} << 24 | uint32_t{data[2]} << 16 | uint32_t{data[1]} << 8 | data[0];
  return kNoStartCode;
}

}  // namespace dvr::media
