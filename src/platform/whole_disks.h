#pragma once
// Which entries of a /sys/block folder are whole disks a recorder's disk can be attached as.
#include <string>
#include <vector>

namespace dvr::platform {

// The names of the whole disks under `sys_block_root`, in name order: no loop, RAM, zram,
// device-mapper, RAID or network block devices, no optical drives and no partitions.
std::vector<std::string> WholeDiskNames(const std::string& sys_block_root);

}  // namespace dvr::platform
