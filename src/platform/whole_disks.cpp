#include "platform/whole_disks.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace dvr::platform {
namespace {

namespace fs = std::filesystem;

// Kernel names of block devices that are no disks of their own.
constexpr const char* kVirtualPrefixes[] = {"loop", "ram", "zram", "dm-", "md", "nbd", "sr"};
// Folders only such devices have: device-mapper, RAID, a bound loop device.
constexpr const char* kVirtualFolders[] = {"dm", "md", "loop"};
constexpr int kScsiOpticalType = 5;  // the SCSI peripheral type of CD and DVD drives

bool IsWholeDisk(const fs::path& entry) {
  const std::string name = entry.filename().string();
  for (const char* prefix : kVirtualPrefixes) {
    if (name.starts_with(prefix)) return false;
  }
  std::error_code error;
  for (const char* folder : kVirtualFolders) {
    if (fs::is_directory(entry / folder, error)) return false;
  }
  if (fs::exists(entry / "partition", error)) return false;
  std::ifstream type(entry / "device" / "type");
  int scsi_type = -1;
  return !(type >> scsi_type) || scsi_type != kScsiOpticalType;
}

}  // namespace

std::vector<std::string> WholeDiskNames(const std::string& sys_block_root) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(sys_block_root, error)) {
    if (IsWholeDisk(entry.path())) names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace dvr::platform
