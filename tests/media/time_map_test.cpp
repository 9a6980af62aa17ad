#include "media/time_map.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <functional>

#include "media/ndf_format.h"
#include "support/ndf_builder.h"
#include "support/temp_dir.h"

namespace dvr::media {
namespace {

constexpr int64_t kBad = -1;    // a block whose check byte is wrong
constexpr int64_t kBlank = -2;  // a block never written: all zeros

// A source of any size at no cost: its file is sparse and each block's header is made up, from
// `content` (a time, kBad or kBlank), as the block is read. Counts the reads of the medium.
class MadeUpSource : public BlockSource {
 public:
  MadeUpSource(const test::TempDir& dir, uint64_t blocks, bool big_endian,
               std::function<int64_t(uint64_t)> content)
      : big_endian_(big_endian), content_(std::move(content)) {
    const std::string path = dir.Write("made_up.NDF", {});
    std::filesystem::resize_file(path, blocks * kBlockSize);
    EXPECT_TRUE(Open(path, false));
  }

  platform::ReadResult ReadAt(uint64_t offset, uint8_t* buffer, size_t n) const override {
    ++reads;
    const platform::ReadResult got = BlockSource::ReadAt(offset, buffer, n);
    for (size_t at = 0; at + kBlockSize <= got.bytes; at += kBlockSize) {
      const int64_t content = content_((offset + at) / kBlockSize);
      if (content == kBlank) continue;
      WriteBlockHeader(buffer + at, content == kBad ? 0 : uint32_t(content), 1, 1, big_endian_);
      if (content == kBad) buffer[at + 7] ^= 0x5A;
    }
    return got;
  }

  mutable uint64_t reads = 0;

 private:
  bool big_endian_;
  std::function<int64_t(uint64_t)> content_;
};

// Recording with an hour's gap every 20000 blocks, a bad stretch, and blank disk after it: more
// edges than a small budget finds.
int64_t GappyRecording(uint64_t i) {
  if (i >= 300'000 && i < 315'000) return kBad;
  if (i >= 900'000) return kBlank;
  return 100000 + i / 4 + (i / 20000) * 3600;
}

void ExpectSameMap(const TimeMap& got, const TimeMap& want) {
  ASSERT_EQ(got.spans.size(), want.spans.size());
  for (size_t i = 0; i < want.spans.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(got.spans[i].first_block, want.spans[i].first_block);
    EXPECT_EQ(got.spans[i].end_block, want.spans[i].end_block);
    EXPECT_EQ(got.spans[i].start_time, want.spans[i].start_time);
    EXPECT_EQ(got.spans[i].end_time, want.spans[i].end_time);
  }
  ASSERT_EQ(got.gaps.size(), want.gaps.size());
  for (size_t i = 0; i < want.gaps.size(); ++i) {
    EXPECT_EQ(got.gaps[i].after, want.gaps[i].after);
    EXPECT_EQ(got.gaps[i].before, want.gaps[i].before);
  }
  ASSERT_EQ(got.bad.size(), want.bad.size());
  for (size_t i = 0; i < want.bad.size(); ++i) {
    EXPECT_EQ(got.bad[i].first_block, want.bad[i].first_block);
    EXPECT_EQ(got.bad[i].end_block, want.bad[i].end_block);
    EXPECT_EQ(got.bad[i].blank, want.bad[i].blank);
  }
  EXPECT_EQ(got.complete, want.complete);
}

class TimeMapTest : public ::testing::Test {
 protected:
  // The reads of the medium that going to `time` takes, and where it lands.
  std::pair<std::optional<uint64_t>, uint64_t> GoCounted(MadeUpSource& source, bool big_endian,
                                                         const TimeMap& map, uint32_t time) {
    const uint64_t before = source.reads;
    const auto block = GoToTime(source, big_endian, map, time);
    return {block, source.reads - before};
  }
  test::TempDir dir_;
};

TEST_F(TimeMapTest, MonotonicRecordingIsOneSpanWithItsChannels) {
  test::NdfBuilder builder;
  while (builder.StreamSize() < 3000 * kPayloadSize) {
    builder.Append(test::VideoFrame(0, 3000)).Append(test::VideoFrame(5, 2000));
    builder.Append(test::AudioFrame(2, 400));
  }
  auto image = builder.Build();
  const uint64_t blocks = image.size() / kBlockSize;
  for (size_t i = 0; i < blocks; ++i) test::RestampBlock(image, i, 50000 + uint32_t(i / 4));
  BlockSource source;
  ASSERT_TRUE(source.Open(dir_.Write("one.NDF", image), false));

  std::vector<std::pair<uint64_t, uint64_t>> progress;
  TimeMapLimits limits;
  limits.progress = [&](uint64_t done, uint64_t total) { progress.emplace_back(done, total); };
  const TimeMap map = BuildTimeMap(source, false, limits);
  ASSERT_EQ(map.spans.size(), 1u);
  EXPECT_EQ(map.spans[0].first_block, 0u);
  EXPECT_EQ(map.spans[0].end_block, blocks);
  EXPECT_EQ(map.spans[0].start_time, 50000u);
  EXPECT_EQ(map.spans[0].end_time, 50000u + uint32_t((blocks - 1) / 4));
  EXPECT_TRUE(map.gaps.empty());
  EXPECT_TRUE(map.bad.empty());
  EXPECT_TRUE(map.complete);
  EXPECT_EQ(map.video_channels, (1u << 0) | (1u << 5));
  EXPECT_EQ(map.audio_channels, 1u << 2);
  ASSERT_FALSE(progress.empty());
  EXPECT_EQ(progress.back(), (std::pair<uint64_t, uint64_t>{map.reads, 4000}));

  EXPECT_EQ(GoToTime(source, false, map, 50100), 400u);
  EXPECT_EQ(GoToTime(source, false, map, 1), 0u);  // before the first time: the first block
  EXPECT_FALSE(GoToTime(source, false, map, 60000));
}

TEST_F(TimeMapTest, GapsAndBadStretchesSplitARecording) {
  // Four million blocks (16 GiB), eight a second: a bad stretch, an hour's gap, then blank disk.
  const uint32_t t0 = 1700000000;
  MadeUpSource source(dir_, 4'000'000, false, [&](uint64_t i) -> int64_t {
    if (i < 1'500'000) return t0 + i / 8;
    if (i < 1'500'777) return kBad;
    if (i < 3'000'000) return t0 + 3600 + i / 8;
    return kBlank;
  });
  const TimeMap map = BuildTimeMap(source, false);
  EXPECT_TRUE(map.complete);
  EXPECT_LE(map.reads, 4000u);
  EXPECT_LE(source.reads, 4000u);
  ASSERT_EQ(map.spans.size(), 2u);
  EXPECT_EQ(map.spans[0].first_block, 0u);
  EXPECT_EQ(map.spans[0].end_block, 1'500'000u);
  EXPECT_EQ(map.spans[0].end_time, t0 + 1'499'999 / 8);
  EXPECT_EQ(map.spans[1].first_block, 1'500'777u);
  EXPECT_EQ(map.spans[1].end_block, 3'000'000u);
  EXPECT_EQ(map.spans[1].start_time, t0 + 3600 + 1'500'777 / 8);
  ASSERT_EQ(map.gaps.size(), 1u);
  EXPECT_EQ(map.gaps[0].after, t0 + 1'499'999 / 8);
  EXPECT_EQ(map.gaps[0].before, t0 + 3600 + 1'500'777 / 8);
  ASSERT_EQ(map.bad.size(), 2u);
  EXPECT_EQ(map.bad[0].first_block, 1'500'000u);
  EXPECT_EQ(map.bad[0].end_block, 1'500'777u);
  EXPECT_FALSE(map.bad[0].blank);
  EXPECT_EQ(map.bad[1].first_block, 3'000'000u);
  EXPECT_EQ(map.bad[1].end_block, 4'000'000u);
  EXPECT_TRUE(map.bad[1].blank);

  // A time in the gap goes to the first block after it; each search stays within its bound.
  for (const auto& [time, block] : {std::pair<uint32_t, uint64_t>{t0 + 1000, 8000},
                                    {t0 + 100000, 800000},
                                    {t0 + 1'499'999 / 8 + 10, 1'500'777},
                                    {t0 + 3600 + 200000, 1'600'000}}) {
    SCOPED_TRACE(time);
    const auto [found, reads] = GoCounted(source, false, map, time);
    EXPECT_EQ(found, block);
    EXPECT_LE(reads, 64u);
  }
  EXPECT_FALSE(GoCounted(source, false, map, t0 + 3600 + 400000).first);
}

TEST_F(TimeMapTest, WrappedDiskComesOutInTimeOrder) {
  // A 64 GiB big-endian disk, sixteen blocks a second, that wrapped: its newest recording runs
  // up to the write point, its oldest from there to the end.
  const uint64_t blocks = uint64_t{64} << 18;
  const uint64_t write_point = 5'000'000;
  const uint32_t oldest = 1600000000, newest = oldest + 800000;
  MadeUpSource source(dir_, blocks, true, [&](uint64_t i) -> int64_t {
    return i < write_point ? newest + i / 16 : oldest + (i - write_point) / 16;
  });
  const TimeMap map = BuildTimeMap(source, true);
  EXPECT_LE(source.reads, 4000u);
  ASSERT_EQ(map.spans.size(), 2u);
  EXPECT_EQ(map.spans[0].first_block, write_point);
  EXPECT_EQ(map.spans[0].end_block, blocks);
  EXPECT_EQ(map.spans[0].start_time, oldest);
  EXPECT_EQ(map.spans[1].first_block, 0u);
  EXPECT_EQ(map.spans[1].end_block, write_point);
  EXPECT_EQ(map.spans[1].end_time, newest + (write_point - 1) / 16);
  ASSERT_EQ(map.gaps.size(), 1u);
  EXPECT_TRUE(map.bad.empty());

  for (const auto& [time, block] :
       {std::pair<uint32_t, uint64_t>{oldest + 12345, write_point + 12345 * 16},
        {oldest + 700000, write_point + 700000 * 16},
        {newest - 10, 0},
        {newest + 54321, 54321 * 16}}) {
    SCOPED_TRACE(time);
    const auto [found, reads] = GoCounted(source, true, map, time);
    EXPECT_EQ(found, block);
    EXPECT_LE(reads, 64u);
  }

  // A time range is one piece of the disk only while it keeps to one side of the write point.
  EXPECT_EQ(BlocksInTime(source, true, map, newest + 10, newest + 19),
            (std::pair<uint64_t, uint64_t>{160, 320}));
  EXPECT_EQ(BlocksInTime(source, true, map, oldest + 1, newest - 5),
            (std::pair<uint64_t, uint64_t>{write_point + 16, blocks}));
  EXPECT_FALSE(BlocksInTime(source, true, map, oldest + 1, newest + 5));
}

TEST_F(TimeMapTest, GoToTimeDespiteStrayBlocksNearTheTarget) {
  // 2000 blocks, four a second from 10000; bad and out-of-order blocks around second 10250.
  auto image = test::NdfBuilder().FillTo(2000 * kPayloadSize).Build();
  for (size_t i = 0; i < 2000; ++i) test::RestampBlock(image, i, 10000 + uint32_t(i / 4));
  for (size_t bad : {996, 997, 1003}) test::CorruptBlock(image, bad);
  test::RestampBlock(image, 998, 9000);         // far too early
  test::RestampBlock(image, 1001, 4000000000);  // far too late
  test::RestampBlock(image, 1005, 10249);       // a second early
  BlockSource source;
  ASSERT_TRUE(source.Open(dir_.Write("stray.NDF", image), false));
  const TimeMap map = BuildTimeMap(source, false);
  ASSERT_EQ(map.spans.size(), 1u);  // the strays the samples met are not spans of their own
  EXPECT_EQ(map.spans[0].start_time, 10000u);
  EXPECT_EQ(map.spans[0].end_time, 10499u);

  EXPECT_EQ(GoToTime(source, false, map, 10250), 1000u);
  EXPECT_EQ(GoToTime(source, false, map, 10249), 999u);  // 996..998 are bad or too early
  EXPECT_EQ(GoToTime(source, false, map, 10251), 1004u);
  EXPECT_EQ(GoToTime(source, false, map, 10100), 400u);
}

TEST_F(TimeMapTest, EmptyAndAllBadSourcesHaveNoSpans) {
  BlockSource empty;
  ASSERT_TRUE(empty.Open(dir_.Write("empty.NDF", {}), false));
  const TimeMap none = BuildTimeMap(empty, false);
  EXPECT_EQ(none.block_count, 0u);
  EXPECT_TRUE(none.spans.empty() && none.bad.empty() && none.gaps.empty());
  EXPECT_FALSE(GoToTime(empty, false, none, 12345));

  auto image = test::NdfBuilder().FillTo(500 * kPayloadSize).Build();
  for (size_t i = 0; i < 500; ++i) test::CorruptBlock(image, i);
  BlockSource bad;
  ASSERT_TRUE(bad.Open(dir_.Write("bad.NDF", image), false));
  const TimeMap all_bad = BuildTimeMap(bad, false);
  EXPECT_TRUE(all_bad.spans.empty());
  ASSERT_EQ(all_bad.bad.size(), 1u);
  EXPECT_EQ(all_bad.bad[0].first_block, 0u);
  EXPECT_EQ(all_bad.bad[0].end_block, 500u);
  EXPECT_FALSE(GoToTime(bad, false, all_bad, 12345));
}

TEST_F(TimeMapTest, BudgetAndCancelStopTheMapEarly) {
  // A recording with an hour's gap every 20000 blocks has more edges than a small budget finds.
  MadeUpSource source(dir_, 1'000'000, false,
                      [](uint64_t i) -> int64_t { return 100000 + i / 4 + (i / 20000) * 3600; });
  TimeMapLimits limits;
  limits.read_budget = 500;
  const TimeMap partial = BuildTimeMap(source, false, limits);
  EXPECT_EQ(partial.reads, 500u);
  EXPECT_FALSE(partial.complete);
  EXPECT_FALSE(partial.spans.empty());

  std::atomic<bool> cancel{false};
  limits = {};
  limits.cancel = &cancel;
  limits.progress = [&](uint64_t done, uint64_t) {
    if (done == 100) cancel = true;
  };
  const TimeMap cancelled = BuildTimeMap(source, false, limits);
  EXPECT_EQ(cancelled.reads, 100u);
  EXPECT_FALSE(cancelled.complete);

  cancel = true;  // before the first read: nothing to go on, and no crash
  const TimeMap nothing = BuildTimeMap(source, false, limits);
  EXPECT_EQ(nothing.reads, 0u);
  EXPECT_TRUE(nothing.spans.empty() && nothing.bad.empty());
  EXPECT_FALSE(nothing.complete);
}

TEST_F(TimeMapTest, RefiningInStepsEndsWithTheMapOfOneLongBuild) {
  MadeUpSource source(dir_, 1'000'000, false, GappyRecording);
  const TimeMap whole = BuildTimeMap(source, false);
  ASSERT_TRUE(whole.complete);
  ASSERT_EQ(whole.spans.size(), 45u);  // 15 before the bad stretch, 30 after

  TimeMapLimits limits;
  limits.read_budget = 200;
  TimeMap map = BuildTimeMap(source, false, limits);
  ASSERT_FALSE(map.complete);
  limits.read_budget = 50;
  int passes = 0;
  for (bool complete = false; !complete && passes < 100; ++passes) {
    const uint64_t reads_before = map.reads, medium_before = source.reads;
    complete = RefineTimeMap(source, false, map, limits);
    EXPECT_LE(map.reads - reads_before, 50u);
    EXPECT_LE(source.reads - medium_before, 50u);
    EXPECT_EQ(complete, map.complete);
  }
  EXPECT_GT(passes, 3);
  ExpectSameMap(map, whole);
  EXPECT_TRUE(map.samples.by_block.empty());  // nothing kept once there is nothing to go on with

  // A complete map stays as it is and costs no read.
  const uint64_t medium_before = source.reads, reads_before = map.reads;
  EXPECT_TRUE(RefineTimeMap(source, false, map, limits));
  EXPECT_EQ(source.reads, medium_before);
  EXPECT_EQ(map.reads, reads_before);
  ExpectSameMap(map, whole);
}

TEST_F(TimeMapTest, CancelledBuildsAndRefinementsGoOnWhereTheyStopped) {
  MadeUpSource source(dir_, 1'000'000, false, GappyRecording);
  const TimeMap whole = BuildTimeMap(source, false);

  // Cancelled while still sampling evenly, then while bisecting: each time the map goes on.
  std::atomic<bool> cancel{false};
  TimeMapLimits limits;
  limits.cancel = &cancel;
  uint64_t stop_at = 700;
  limits.progress = [&](uint64_t done, uint64_t) {
    if (done == stop_at) cancel = true;
  };
  TimeMap map = BuildTimeMap(source, false, limits);
  EXPECT_EQ(map.reads, 700u);
  EXPECT_FALSE(map.complete);
  EXPECT_FALSE(map.spans.empty());

  cancel = false;
  stop_at = 1400;
  EXPECT_FALSE(RefineTimeMap(source, false, map, limits));
  EXPECT_EQ(map.reads, 2100u);

  cancel = false;
  stop_at = 0;
  EXPECT_TRUE(RefineTimeMap(source, false, map, limits));
  ExpectSameMap(map, whole);
  EXPECT_EQ(map.reads, whole.reads);  // no block was read twice

  // Cancelled before its first read, the build leaves nothing; a refinement starts it afresh.
  cancel = true;
  TimeMap nothing = BuildTimeMap(source, false, limits);
  ASSERT_EQ(nothing.reads, 0u);
  EXPECT_FALSE(RefineTimeMap(source, false, nothing, limits));
  EXPECT_EQ(nothing.reads, 0u);
  cancel = false;
  EXPECT_TRUE(RefineTimeMap(source, false, nothing, limits));
  ExpectSameMap(nothing, whole);
}

}  // namespace
}  // namespace dvr::media
