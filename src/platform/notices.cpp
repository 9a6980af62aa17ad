#include "platform/notices.h"

#include <cstdio>

namespace dvr::platform {

void StderrNotices::Show(std::string_view text) {
  std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
}

}  // namespace dvr::platform
