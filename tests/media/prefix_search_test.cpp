// Every start-code prefix routine against the portable one, on the same data.
#include "media/prefix_search.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace dvr::media {
namespace {

std::vector<platform::CpuLevel> LevelsHere() {
  std::vector<platform::CpuLevel> levels;
  for (auto level : {platform::CpuLevel::kScalar, platform::CpuLevel::kPacked,
                     platform::CpuLevel::kSse2, platform::CpuLevel::kAvx2}) {
    if (platform::CpuLevelAvailable(level)) levels.push_back(level);
  }
  return levels;
}

TEST(PrefixSearch, EveryLevelAgreesWithThePortableForm) {
  std::mt19937 rng(42);
  for (int round = 0; round < 4000; ++round) {
    // Lengths around the vector widths, sparse and dense patterns, hits at the very ends.
    const size_t n = round % 300;
    std::vector<uint8_t> data(n + 64, 0xEE);  // guard bytes after the searched part
    const int density = round % 4;
    for (size_t i = 0; i < n; ++i) {
      const int r = static_cast<int>(rng() % 64);
      data[i] = density == 0   ? static_cast<uint8_t>(rng())
                : r < density * 6 ? 0
                : r < density * 8 ? 1
                                  : static_cast<uint8_t>(rng() | 2);
    }
    if (n >= 3 && round % 5 == 0) data[n - 3] = 0, data[n - 2] = 0, data[n - 1] = 1;
    // A prefix straddling the end must not count.
    if (n >= 2 && round % 7 == 0) data[n - 2] = 0, data[n - 1] = 0, data[n] = 1;
    const size_t expected = FindPrefixPortable(data.data(), n);
    for (auto level : LevelsHere()) {
      ASSERT_EQ(PrefixSearchFor(level)(data.data(), n), expected)
          << platform::CpuLevelName(level) << " round " << round << " n " << n;
    }
  }
}

TEST(PrefixSearch, SelectionHonoursTheProcessor) {
  EXPECT_TRUE(platform::CpuLevelAvailable(platform::SelectedCpuLevel()));
  EXPECT_TRUE(platform::CpuLevelAvailable(platform::CpuLevel::kPacked));
  EXPECT_EQ(platform::ParseCpuLevel("sse2"), platform::CpuLevel::kSse2);
  EXPECT_FALSE(platform::ParseCpuLevel("mmx"));
  EXPECT_EQ(platform::CpuLevelName(platform::CpuLevel::kAvx2), "avx2");
}

}  // namespace
}  // namespace dvr::media
