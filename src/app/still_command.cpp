#include "app/still_command.h"

#include <filesystem>

#include "export/still_image.h"

namespace dvr::app {

std::string FreeStillImagePath(const std::string& folder, const platform::CalendarTime& time) {
  const std::string name = exporting::StillImageFileName(time);
  std::string path = exporting::StillImagePath(folder, name);
  const std::string stem = name.substr(0, name.size() - 4);  // without ".bmp"
  std::error_code error;
  for (int suffix = 1; std::filesystem::exists(path, error); ++suffix) {
    path = exporting::StillImagePath(folder, stem + "_" + std::to_string(suffix) + ".bmp");
  }
  return path;
}

}  // namespace dvr::app
