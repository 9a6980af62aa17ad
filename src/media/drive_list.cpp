#include "media/drive_list.h"

#include <cinttypes>
#include <cstdio>

namespace dvr::media {

const char* MediaName(uint32_t media_type) {
  switch (media_type) {
    case platform::kUnknownMedia: return "Unknown";
    case platform::kRemovableMedia: return "Removable";
    case platform::kFixedMedia: return "Fixed";
    default: return "Floppy";
  }
}

std::string DriveLine(int number, const platform::DriveGeometry& geometry) {
  char line[64];
  std::snprintf(line, sizeof line, "DISK%d  %-10s %10" PRId64 " MB", number,
                MediaName(geometry.media_type), static_cast<int64_t>(geometry.Capacity() >> 20));
  return line;
}

std::vector<DriveEntry> EnumerateDrives(const platform::DriveProbe& probe) {
  std::vector<DriveEntry> entries;
  for (int number = 0; number < kMaxDrives; ++number) {
    platform::DriveGeometry geometry;
    if (!probe.Query(number, geometry)) continue;
    entries.push_back({number, DriveLine(number, geometry), probe.DrivePath(number)});
  }
  return entries;
}

void DiskSelection::SelectionChanged(int row) {
  if (row >= 0 && row < static_cast<int>(entries_.size())) selected_ = row;
}

std::string DiskSelection::SelectedPath() const {
  if (entries_.empty()) return {};
  return entries_[static_cast<size_t>(selected_)].path;
}

}  // namespace dvr::media
