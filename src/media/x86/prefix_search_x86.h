#pragma once
// SIMD forms of the start-code prefix search. Builds for other processors link a stand-in that
// has none.
#include "media/prefix_search.h"

namespace dvr::media {

// The SIMD routine for `level`, or nullptr when this build or level has none.
PrefixSearch X86PrefixSearch(platform::CpuLevel level);

size_t FindPrefixSse2(const uint8_t* p, size_t n);
size_t FindPrefixAvx2(const uint8_t* p, size_t n);

}  // namespace dvr::media
