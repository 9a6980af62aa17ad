#include "media/drive_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "support/temp_dir.h"

namespace dvr::media {
namespace {

TEST(DriveLine, FormatsNumberMediaAndMebibytes) {
  platform::DriveGeometry geometry;
  geometry.cylinders = 30401;
  geometry.tracks_per_cylinder = 255;
  geometry.sectors_per_track = 63;
  geometry.bytes_per_sector = 512;
  geometry.media_type = platform::kFixedMedia;
  EXPECT_EQ(geometry.Capacity(), 250056737280u);
  EXPECT_EQ(DriveLine(2, geometry), "DISK2  Fixed          238472 MB");
}

TEST(DriveLine, MediaNames) {
  EXPECT_STREQ(MediaName(0), "Unknown");
  EXPECT_STREQ(MediaName(11), "Removable");
  EXPECT_STREQ(MediaName(12), "Fixed");
  EXPECT_STREQ(MediaName(1), "Floppy");
  EXPECT_STREQ(MediaName(10), "Floppy");
}

// A stand-in for /sys/block and /dev, with disk images as the drives.
class FakeDrives : public ::testing::Test {
 protected:
  void AddDrive(const std::string& name, std::optional<uintmax_t> bytes, const char* removable) {
    std::filesystem::create_directories(dir_.File("sys/" + name));
    std::filesystem::create_directories(dir_.File("dev"));
    if (removable) std::ofstream(dir_.File("sys/" + name + "/removable")) << removable << "\n";
    if (bytes) {
      std::ofstream(dir_.File("dev/" + name)).close();
      std::filesystem::resize_file(dir_.File("dev/" + name), *bytes);
    }
  }
  // A sysfs attribute of an entry: a file with its text, or a folder when `text` is null.
  void AddAttribute(const std::string& name, const std::string& attribute, const char* text) {
    const std::string path = dir_.File("sys/" + name + "/" + attribute);
    if (text == nullptr) {
      std::filesystem::create_directories(path);
      return;
    }
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path) << text << "\n";
  }

  test::TempDir dir_;
};

TEST_F(FakeDrives, ListsOpenableDrivesInNameOrder) {
  AddDrive("sdb", 5u << 20, "1");
  AddDrive("sda", 3u << 20, "0");
  AddDrive("loop0", 0, "0");     // no medium: not listed
  AddDrive("sdc", std::nullopt, "0");  // no device to open: not listed
  AddDrive("fd0", 1474560, nullptr);
  const platform::DriveProbe probe(dir_.File("sys"), dir_.File("dev"));

  const auto entries = EnumerateDrives(probe);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].line, "DISK0  Floppy              1 MB");  // fd0, sda, sdb, sdc
  EXPECT_EQ(entries[1].number, 1);
  EXPECT_EQ(entries[1].line, "DISK1  Fixed               3 MB");
  EXPECT_EQ(entries[1].path, dir_.File("dev/sda"));
  EXPECT_EQ(entries[2].line, "DISK2  Removable           5 MB");
  EXPECT_EQ(probe.DrivePath(4), "");
}

TEST_F(FakeDrives, OnlyWholeDisksAreNumbered) {
  // Eleven entries that are no disks, as a desktop has them, all before the disks in name order.
  for (const char* name : {"loop0", "loop1", "loop2", "loop3", "md0", "nbd0", "ram0", "zram0"}) {
    AddDrive(name, 1u << 20, "0");
  }
  AddDrive("dm-0", 1u << 20, "0");
  AddAttribute("dm-0", "dm", nullptr);
  AddDrive("nvme0n1", 7u << 20, "0");
  AddAttribute("nvme0n1", "device", nullptr);
  AddDrive("nvme0n1p1", 1u << 20, "0");  // as /sys/class/block lists partitions
  AddAttribute("nvme0n1p1", "partition", "1");
  AddDrive("sda", 3u << 20, "0");
  AddAttribute("sda", "device/type", "0");
  AddDrive("sr0", 1u << 20, "1");
  AddAttribute("sr0", "device/type", "5");
  const platform::DriveProbe probe(dir_.File("sys"), dir_.File("dev"));

  const auto entries = EnumerateDrives(probe);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].line, "DISK0  Fixed               7 MB");
  EXPECT_EQ(entries[0].path, dir_.File("dev/nvme0n1"));
  EXPECT_EQ(entries[1].line, "DISK1  Fixed               3 MB");
  EXPECT_EQ(entries[1].path, dir_.File("dev/sda"));
  EXPECT_EQ(probe.DrivePath(2), "");
}

TEST_F(FakeDrives, AttributesTellWhatANameDoesNot) {
  // Names that could be disks, shown for what they are by their attributes alone.
  AddDrive("vdb", 2u << 20, "0");
  AddAttribute("vdb", "dm", nullptr);  // device-mapper
  AddDrive("vdc", 2u << 20, "1");
  AddAttribute("vdc", "device/type", "5");  // an optical drive
  AddDrive("vdd", 2u << 20, "0");
  AddAttribute("vdd", "partition", "2");
  AddDrive("vde", 2u << 20, "0");
  AddAttribute("vde", "loop", nullptr);  // a loop device with a file behind it
  AddDrive("vdf", 4u << 20, "1");
  const auto entries = EnumerateDrives(platform::DriveProbe(dir_.File("sys"), dir_.File("dev")));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].line, "DISK0  Removable           4 MB");
}

TEST(DiskSelection, PicksTheFirstDriveUntilTheListMoves) {
  DiskSelection selection({{1, "DISK1 ...", "/dev/sdb"}, {4, "DISK4 ...", "/dev/sde"}});
  EXPECT_EQ(selection.SelectedPath(), "/dev/sdb");
  selection.SelectionChanged(1);
  EXPECT_EQ(selection.SelectedPath(), "/dev/sde");
  selection.SelectionChanged(2);
  selection.SelectionChanged(-1);
  EXPECT_EQ(selection.Selected(), 1);
  EXPECT_EQ(DiskSelection({}).SelectedPath(), "");
}

}  // namespace
}  // namespace dvr::media
