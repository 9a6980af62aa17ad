#include "codec/coefficient_vlc.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace dvr::codec {
namespace {

// The table must be a complete prefix code over the windows 0x10 .. 0xFFFF: every window starts
// with exactly one code. A mistyped code breaks one of the two checks below.
TEST(CoefficientVlc, CodesCoverEveryValidWindowExactlyOnce) {
  uint64_t covered = (uint64_t{1} << (16 - kEndOfBlockLength)) + (uint64_t{1} << (16 - kEscapeLength));
  std::set<std::pair<int, int>> run_levels;
  for (const RunLevelCode& code : RunLevelCodes()) {
    covered += uint64_t{1} << (16 - code.length);
    EXPECT_TRUE(run_levels.insert({code.run, code.level}).second) << "duplicate " << int{code.run} << "/" << int{code.level};
  }
  // A code of n bits starts 2^(16 - n) windows (its sign bit lies in the windows' tail).
  EXPECT_EQ(covered, 0x10000u - 0x10u);
  EXPECT_EQ(RunLevelCodes().size(), 111u);
}

TEST(CoefficientVlc, EveryCodeLooksUpToItsEntry) {
  for (const RunLevelCode& code : RunLevelCodes()) {
    for (uint32_t tail : {0u, 0xFFFFu}) {
      const uint32_t window = (uint32_t{code.bits} << (16 - code.length)) | (tail >> code.length);
      const VlcEntry& entry = LookupCode(window);
      ASSERT_EQ(entry.run, code.run) << std::hex << window;
      ASSERT_EQ(entry.level, code.level) << std::hex << window;
      ASSERT_EQ(entry.length, code.length) << std::hex << window;
    }
  }
  EXPECT_EQ(LookupCode(0x8000).run, kEndOfBlock);
  EXPECT_EQ(LookupCode(0xBFFF).run, kEndOfBlock);
  EXPECT_EQ(LookupCode(0x0400).run, kEscape);
  EXPECT_EQ(LookupCode(0x07FF).run, kEscape);
  EXPECT_EQ(LookupCode(0x0010).run, 1);  // 0000 0000 0001 0000: run 1, level 18
  EXPECT_EQ(LookupCode(0x0010).level, 18);
  EXPECT_EQ(LookupCode(0xC000).run, 0);  // 11: run 0, level 1
  EXPECT_EQ(LookupCode(0xC000).length, 2);
}

TEST(CoefficientVlc, WellKnownCodes) {
  // A few codes of the MPEG table, as printed there.
  const struct {
    uint32_t window;
    int run, level, length;
  } known[] = {{0x6000, 1, 1, 3}, {0x2800, 0, 3, 5}, {0x0A00, 9, 1, 7}, {0x2000, 13, 1, 8},
               {0x0280, 0, 7, 10}, {0x01D0, 0, 8, 12}, {0x00D0, 0, 12, 13}, {0x007C, 0, 16, 14},
               {0x0030, 0, 32, 15}, {0x001F, 27, 1, 16}, {0x0014, 6, 3, 16}};
  for (const auto& k : known) {
    const VlcEntry& entry = LookupCode(k.window);
    EXPECT_EQ(entry.run, k.run) << std::hex << k.window;
    EXPECT_EQ(entry.level, k.level) << std::hex << k.window;
    EXPECT_EQ(entry.length, k.length) << std::hex << k.window;
  }
}

}  // namespace
}  // namespace dvr::codec
