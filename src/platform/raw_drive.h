#pragma once
// Whole physical drives. The system numbers drives 0..9; here drive i is the i-th whole disk in
// name order under /sys/block (loop, RAM, device-mapper, optical and other such devices left out),
// opened as /dev/<name>. Both roots can be moved for tests.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/file.h"

namespace dvr::platform {

// Media type codes as the drive geometry reports them.
enum MediaTypeCode : uint32_t {
  kUnknownMedia = 0,
  kFloppyMedia = 2,  // one of the floppy codes 1..10
  kRemovableMedia = 11,
  kFixedMedia = 12,
};

struct DriveGeometry {
  uint64_t cylinders = 0;
  uint32_t tracks_per_cylinder = 0;
  uint32_t sectors_per_track = 0;
  uint32_t bytes_per_sector = 0;
  uint32_t media_type = kUnknownMedia;

  // The product in 64 bits: the drive's usable size.
  uint64_t Capacity() const {
    return cylinders * tracks_per_cylinder * sectors_per_track * bytes_per_sector;
  }
};

// Geometry of an open drive (or of a disk image file, taken as 512-byte sectors). False when the
// size cannot be obtained or is zero (no medium). The media type is left unknown.
bool QueryGeometry(const File& drive, DriveGeometry& geometry);

class DriveProbe {
 public:
  explicit DriveProbe(std::string sys_block_root = "/sys/block", std::string dev_root = "/dev");

  // Path of drive `number`, or empty when there is no such drive.
  std::string DrivePath(int number) const;
  // Opens drive `number` and reads its geometry and media type; false when either fails.
  bool Query(int number, DriveGeometry& geometry) const;

 private:
  std::string sys_root_;
  std::string dev_root_;
  std::vector<std::string> names_;  // whole-disk devices in name order
};

}  // namespace dvr::platform
