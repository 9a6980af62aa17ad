#include "media/x86/prefix_search_x86.h"

namespace dvr::media {

// A processor without the x86 routines.
PrefixSearch X86PrefixSearch(platform::CpuLevel) { return nullptr; }

}  // namespace dvr::media
