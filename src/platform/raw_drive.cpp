#include "platform/raw_drive.h"

#include <fstream>

#include "platform/whole_disks.h"

namespace dvr::platform {

bool QueryGeometry(const File& drive, DriveGeometry& geometry) {
  const auto size = drive.Size();
  if (!size || *size == 0) return false;
  // Linux has no cylinder geometry worth the name; whole sectors carry the size.
  geometry.bytes_per_sector = drive.SectorSize();
  geometry.sectors_per_track = 1;
  geometry.tracks_per_cylinder = 1;
  geometry.cylinders = *size / geometry.bytes_per_sector;
  return geometry.cylinders > 0;
}

DriveProbe::DriveProbe(std::string sys_block_root, std::string dev_root)
    : sys_root_(std::move(sys_block_root)),
      dev_root_(std::move(dev_root)),
      names_(WholeDiskNames(sys_root_)) {}

std::string DriveProbe::DrivePath(int number) const {
  if (number < 0 || static_cast<size_t>(number) >= names_.size()) return {};
  return dev_root_ + "/" + names_[static_cast<size_t>(number)];
}

namespace {

uint32_t MediaTypeOf(const std::string& sys_dir, const std::string& name) {
  if (name.rfind("fd", 0) == 0) return kFloppyMedia;
  std::ifstream removable(sys_dir + "/removable");
  int flag = -1;
  if (!(removable >> flag)) return kUnknownMedia;
  return flag == 1 ? kRemovableMedia : kFixedMedia;
}

}  // namespace

bool DriveProbe::Query(int number, DriveGeometry& geometry) const {
  const std::string path = DrivePath(number);
  if (path.empty()) return false;
  File drive;
  if (!drive.OpenRead(path)) return false;
  if (!QueryGeometry(drive, geometry)) return false;
  const std::string& name = names_[static_cast<size_t>(number)];
  geometry.media_type = MediaTypeOf(sys_root_ + "/" + name, name);
  return true;
}

}  // namespace dvr::platform
