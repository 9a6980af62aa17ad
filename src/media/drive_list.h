#pragma once
// Choosing a DVR disk: the drives 0..9 that can be opened and measured, one list line each, and
// the selection state of the disk dialog.
#include <string>
#include <vector>

#include "platform/raw_drive.h"

namespace dvr::media {

inline constexpr int kMaxDrives = 10;

// "Unknown", "Removable", "Fixed" or "Floppy" for a geometry media type.
const char* MediaName(uint32_t media_type);
// "DISK%d  %-10s %10I64d MB": number, media name, capacity in MiB.
std::string DriveLine(int number, const platform::DriveGeometry& geometry);

struct DriveEntry {
  int number = 0;
  std::string line;
  std::string path;
};

// Every drive 0..9 that opens and answers the geometry query, in number order.
std::vector<DriveEntry> EnumerateDrives(const platform::DriveProbe& probe);

// The list and selection of the disk dialog.
class DiskSelection {
 public:
  explicit DiskSelection(std::vector<DriveEntry> entries) : entries_(std::move(entries)) {}

  const std::vector<DriveEntry>& Entries() const { return entries_; }
  // The list's current row; ignored unless it names an entry.
  void SelectionChanged(int row);
  int Selected() const { return selected_; }
  // The selected drive's path, or empty when no drive is listed.
  std::string SelectedPath() const;

 private:
  std::vector<DriveEntry> entries_;
  int selected_ = 0;
};

}  // namespace dvr::media
