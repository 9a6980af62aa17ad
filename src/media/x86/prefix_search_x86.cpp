#include "media/x86/prefix_search_x86.h"

namespace dvr::media {

PrefixSearch X86PrefixSearch(platform::CpuLevel level) {
  switch (level) {
    case platform::CpuLevel::kAvx2: return FindPrefixAvx2;
    case platform::CpuLevel::kSse2: return FindPrefixSse2;
    default: return nullptr;
  }
}

}  // namespace dvr::media
