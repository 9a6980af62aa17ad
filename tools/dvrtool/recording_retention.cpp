#include "recording_retention.h"

#include <regex>
#include <system_error>

namespace dvrtool {

bool IsRecordingFileName(const std::string& name) {
  static const std::regex pattern(R"(\d{8}-\d{6}\.NDF)");
  return std::regex_match(name, pattern);
}

std::vector<std::filesystem::path> RemoveExpiredRecordings(const std::filesystem::path& folder,
                                                           std::chrono::hours keep,
                                                           std::filesystem::file_time_type now) {
  std::vector<std::filesystem::path> removed;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (!IsRecordingFileName(entry.path().filename().string())) continue;
    // symlink_status: a link is never followed, whatever its name or target.
    if (!std::filesystem::is_regular_file(entry.symlink_status(error)) || error) continue;
    const auto changed = std::filesystem::last_write_time(entry.path(), error);
    if (error || now - changed <= keep) continue;
    if (std::filesystem::remove(entry.path(), error) && !error) removed.push_back(entry.path());
  }
  return removed;
}

}  // namespace dvrtool
