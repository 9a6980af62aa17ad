#include "app/still_command.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace dvr::app {
namespace {

using test::TempDir;

TEST(CaptureNames, RecordingsStartedInOneSecondGetDistinctNames) {
  TempDir dir;
  std::tm local{};
  local.tm_year = 2024 - 1900;
  local.tm_mon = 2;
  local.tm_mday = 5;
  local.tm_hour = 7;
  local.tm_min = 8;
  local.tm_sec = 9;
  local.tm_isdst = -1;
  const std::time_t now = std::mktime(&local);

  EXPECT_EQ(FreeRecordingPath(dir.Path(), now), dir.File("20240305-070809.NDF"));
  dir.Write("20240305-070809.NDF", {1});
  EXPECT_EQ(FreeRecordingPath(dir.Path(), now), dir.File("20240305-070809-1.NDF"));
  dir.Write("20240305-070809-1.NDF", {1});
  EXPECT_EQ(FreeRecordingPath(dir.Path() + "/", now), dir.File("20240305-070809-2.NDF"));
}

}  // namespace
}  // namespace dvr::app
