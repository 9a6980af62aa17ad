#pragma once
// Keeping a recording folder from filling the disk: the recordings dvrtool connect made there,
// older than a number of days, are removed. Nothing else in the folder is ever touched.
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace dvrtool {

// A name dvrtool connect gives a recording: "YYYYMMDD-HHMMSS.NDF".
bool IsRecordingFileName(const std::string& name);

// Removes the regular files (not symbolic links) of the folder named as recordings whose last
// change is more than `keep` before `now`; returns the paths removed. A file that cannot be
// removed is left and skipped.
std::vector<std::filesystem::path> RemoveExpiredRecordings(const std::filesystem::path& folder,
                                                           std::chrono::hours keep,
                                                           std::filesystem::file_time_type now);

}  // namespace dvrtool
