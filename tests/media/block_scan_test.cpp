#include "media/block_scan.h"
#include "media/time_map.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "support/failing_block_source.h"
#include "support/ndf_builder.h"
#include "support/temp_dir.h"

namespace dvr::media {
namespace {

// The blocks of [start, stop] as the time map finds them.
std::optional<std::pair<uint64_t, uint64_t>> BlocksOfTimes(BlockSource& source, uint32_t start,
                                                           uint32_t stop) {
  return BlocksInTime(source, false, BuildTimeMap(source, false), start, stop);
}

class BlockScanTest : public ::testing::Test {
 protected:
  BlockSource& Open(const std::vector<uint8_t>& image) {
    EXPECT_TRUE(source_.Open(dir_.Write("scan.NDF", image), false));
    return source_;
  }
  test::TempDir dir_;
  BlockSource source_;
};

TEST_F(BlockScanTest, VisitsEveryWholeBlock) {
  auto image = test::NdfBuilder().FillTo(4 * 4088).Build(500);
  test::CorruptBlock(image, 2);
  image.resize(image.size() + 10);  // a short tail is not a block
  std::vector<std::pair<uint32_t, bool>> seen;
  const uint64_t count = ScanBlocks(Open(image), false, [&](uint64_t, const BlockHeader& h, bool good) {
    seen.emplace_back(h.time, good);
  });
  EXPECT_EQ(count, 4u);
  EXPECT_EQ(seen, (std::vector<std::pair<uint32_t, bool>>{{500, true}, {501, true}, {502, false}, {503, true}}));
}

TEST_F(BlockScanTest, UnreadableBlocksCountAsBadAndTheScanGoesOn) {
  // 600 blocks, four per second; the blocks that cannot be read are found as if they were bad.
  auto image = test::NdfBuilder().FillTo(600 * 4088).Build();
  for (size_t i = 0; i < 600; ++i) {
    test::RestampBlock(image, i, 10000 + static_cast<uint32_t>(i / 4));
  }
  const std::set<uint64_t> unreadable = {3, 150, 151, 152, 153, 154, 155, 156, 157, 300, 599};
  test::FailingBlockSource failing(unreadable);
  ASSERT_TRUE(failing.Open(dir_.Write("failing.NDF", image), false));
  std::set<uint64_t> bad;
  EXPECT_EQ(ScanBlocks(failing, false,
                       [&](uint64_t index, const BlockHeader&, bool good) {
                         if (!good) bad.insert(index);
                       }),
            600u);
  EXPECT_EQ(bad, unreadable);

  for (const uint64_t index : unreadable) test::CorruptBlock(image, index);
  auto& spoilt = Open(image);
  for (const auto& [start, stop] :
       {std::pair{10000u, 10149u}, {10037u, 10075u}, {10075u, 10200u}}) {
    SCOPED_TRACE(start);
    EXPECT_EQ(BlocksOfTimes(failing, start, stop), BlocksOfTimes(spoilt, start, stop));
  }
}

TEST_F(BlockScanTest, FindsTheBlocksOfATimeSpanDespiteStrayBlocks) {
  // 2000 blocks, four per second from t = 10000; a few bad and a few with wrong times.
  auto image = test::NdfBuilder().FillTo(2000 * 4088).Build();
  for (size_t i = 0; i < 2000; ++i) test::RestampBlock(image, i, 10000 + static_cast<uint32_t>(i / 4));
  for (size_t bad : {100, 101, 102, 799, 1200}) test::CorruptBlock(image, bad);
  test::RestampBlock(image, 300, 1);           // far too early
  test::RestampBlock(image, 1000, 4000000000); // far too late
  auto& source = Open(image);

  // Seconds 10050..10100 are blocks 200..403.
  auto range = BlocksOfTimes(source, 10050, 10100);
  ASSERT_TRUE(range);
  EXPECT_EQ(range->first, 200u);
  EXPECT_EQ(range->second, 404u);

  // Edges on bad blocks: second 10025 begins with the bad blocks 100..102.
  range = BlocksOfTimes(source, 10025, 10199);
  ASSERT_TRUE(range);
  EXPECT_EQ(range->first, 103u);
  EXPECT_EQ(range->second, 799u);  // block 799 is bad, 796..798 are second 10199

  range = BlocksOfTimes(source, 0, 20000);
  ASSERT_TRUE(range);
  EXPECT_EQ(range->first, 0u);
  EXPECT_EQ(range->second, 2000u);

  EXPECT_FALSE(BlocksOfTimes(source, 20000, 30000));
  EXPECT_FALSE(BlocksOfTimes(source, 100, 9999));
  EXPECT_FALSE(BlocksOfTimes(source, 10100, 10050));
}

}  // namespace
}  // namespace dvr::media
