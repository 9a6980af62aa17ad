#include "media/prefix_search.h"

#include <cstring>

#include "media/x86/prefix_search_x86.h"

namespace dvr::media {

size_t FindPrefixPortable(const uint8_t* p, size_t n) {
  // Jump between 01 bytes, then look behind each for the two zeros.
  for (size_t from = 2; from < n;) {
    const void* hit = std::memchr(p + from, 0x01, n - from);
    if (hit == nullptr) break;
    const size_t one = static_cast<size_t>(static_cast<const uint8_t*>(hit) - p);
    if (p[one - 1] == 0 && p[one - 2] == 0) return one - 2;
    from = one + 1;
  }
  return n;
}

PrefixSearch PrefixSearchFor(platform::CpuLevel level) {
  if (!platform::CpuLevelAvailable(level)) level = platform::DetectedCpuLevel();
  if (PrefixSearch simd = X86PrefixSearch(level)) return simd;
  return FindPrefixPortable;
}

PrefixSearch SelectedPrefixSearch() {
  static const PrefixSearch search = PrefixSearchFor(platform::SelectedCpuLevel());
  return search;
}

}  // namespace dvr::media
