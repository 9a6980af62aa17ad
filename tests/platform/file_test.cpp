#include "platform/file.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include "platform/md5.h"
#include "support/temp_dir.h"

namespace dvr::platform {
namespace {

TEST(File, ReadsAtSixtyFourBitOffsets) {
  test::TempDir dir;
  const std::string path = dir.File("big.bin");
  const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY, 0644);
  ASSERT_EQ(::pwrite(fd, "tail", 4, int64_t{5} << 30), 4);  // sparse, past 4 GiB
  ::close(fd);

  File file;
  ASSERT_TRUE(file.OpenRead(path));
  EXPECT_FALSE(file.IsBlockDevice());
  EXPECT_EQ(file.Size(), (uint64_t{5} << 30) + 4);
  EXPECT_EQ(file.SectorSize(), 512u);
  char buffer[8] = {};
  const ReadResult tail = file.ReadAt(uint64_t{5} << 30, buffer, sizeof buffer);
  EXPECT_EQ(tail.bytes, 4u);
  EXPECT_FALSE(tail.failed);  // the end, not an error
  EXPECT_EQ(std::string(buffer, 4), "tail");
  EXPECT_EQ(file.ReadAt(uint64_t{6} << 30, buffer, sizeof buffer).bytes, 0u);
}

TEST(File, OpenRefusesMissingPathsAndFolders) {
  test::TempDir dir;
  File file;
  EXPECT_FALSE(file.OpenRead(dir.File("missing")));
  EXPECT_FALSE(file.OpenRead(dir.Path()));
  EXPECT_FALSE(file.IsOpen());
}

TEST(File, CreateTruncatesAndWrites) {
  test::TempDir dir;
  const std::string path = dir.Write("out.bin", std::vector<uint8_t>(100, 1));
  {
    File out;
    ASSERT_TRUE(out.Create(path));
    EXPECT_TRUE(out.Write("abc", 3));
  }
  EXPECT_EQ(test::ReadFileBytes(path), (std::vector<uint8_t>{'a', 'b', 'c'}));
  File in;
  ASSERT_TRUE(in.OpenRead(path));
  EXPECT_TRUE(in.SameFileAs(path));
  EXPECT_FALSE(in.SameFileAs(dir.Write("other.bin", {1})));
  EXPECT_FALSE(in.SameFileAs(dir.File("missing")));
  EXPECT_TRUE(RemoveFile(path));
  EXPECT_FALSE(RemoveFile(path));
}

TEST(Md5, KnownDigests) {
  EXPECT_EQ(Md5Hex("", 0), "d41d8cd98f00b204e9800998ecf8427e");
  EXPECT_EQ(Md5Hex("abc", 3), "900150983cd24fb0d6963f7d28e17f72");
}

}  // namespace
}  // namespace dvr::platform
