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
  EXPECT_EQ(entries[0].line, "DISK0  Floppy              1 MB");  // fd0, loop0, sda, sdb, sdc
  EXPECT_EQ(entries[1].number, 2);
  EXPECT_EQ(entries[1].line, "DISK2  Fixed               3 MB");
  EXPECT_EQ(entries[1].path, dir_.File("dev/sda"));
  EXPECT_EQ(entries[2].line, "DISK3  Removable           5 MB");
  EXPECT_EQ(probe.DrivePath(5), "");
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
