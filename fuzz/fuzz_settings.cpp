// Settings files as anything might have left them: reading never fails, and writing what was
// read back into the same file, then reading that, gives the same settings.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> notes;
  const dvr::app::Settings settings = dvr::app::ParseSettings(text, &notes);
  const std::string rewritten = dvr::app::FormatSettings(settings, text);
  if (dvr::app::ParseSettings(rewritten, nullptr) != settings) std::abort();
  const std::string fresh = dvr::app::FormatSettings(settings);
  if (dvr::app::ParseSettings(fresh, nullptr) != settings) std::abort();
  return 0;
}
