#include "app/still_command.h"

#include <filesystem>

#include "app/folder_rules.h"
#include "export/still_image.h"
#include "media/recording_writer.h"

namespace dvr::app {
namespace {

// The first of NAME, STEM MARK 1 EXTENSION, STEM MARK 2 EXTENSION ... that no file in the folder
// has, where NAME is STEM EXTENSION and the extension starts at its last period.
std::string FirstFreePath(const std::string& folder, const std::string& name,
                          const std::string& mark) {
  const size_t period = name.rfind('.');
  const std::string stem = name.substr(0, period);
  const std::string extension = period == std::string::npos ? "" : name.substr(period);
  std::string path = JoinFolder(folder, name);
  std::error_code error;
  for (int suffix = 1; std::filesystem::exists(path, error); ++suffix) {
    path = JoinFolder(folder, stem + mark + std::to_string(suffix) + extension);
  }
  return path;
}

}  // namespace

std::string FreeStillImagePath(const std::string& folder, const platform::CalendarTime& time) {
  return FirstFreePath(folder, exporting::StillImageFileName(time), "_");
}

std::string FreeRecordingPath(const std::string& folder, std::time_t now) {
  return FirstFreePath(folder, media::RecordingFileName(now), "-");
}

}  // namespace dvr::app
