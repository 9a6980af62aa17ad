#pragma once
// The search for the three bytes 00 00 01 that open every start code: the inner loop of a walk.
// One routine per processor level, chosen once.
#include <cstddef>
#include <cstdint>

#include "platform/cpu_features.h"

namespace dvr::media {

// Index of the first i with p[i] = 0, p[i+1] = 0, p[i+2] = 1 and i + 2 < n; n when there is none.
using PrefixSearch = size_t (*)(const uint8_t* p, size_t n);

size_t FindPrefixPortable(const uint8_t* p, size_t n);
// The fastest routine this build has for `level`; the x86 builds add SSE2 and AVX2 forms.
PrefixSearch PrefixSearchFor(platform::CpuLevel level);
// The routine for the process's selected level.
PrefixSearch SelectedPrefixSearch();

}  // namespace dvr::media
