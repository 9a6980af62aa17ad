// Whole walks over random streams, checked against a plain byte-by-byte reading of the stream.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <set>
#include <vector>

#include "media/recording_reader.h"
#include "support/failing_block_source.h"
#include "support/ndf_builder.h"
#include "support/recorded_notices.h"
#include "support/temp_dir.h"

namespace dvr::media {
namespace {

struct Delivered {
  uint64_t offset;
  bool is_audio;
  unsigned channel;
  std::vector<uint8_t> payload;
  bool operator==(const Delivered&) const = default;
};

Delivered FromExpected(const test::ExpectedFrame& frame) {
  return {frame.offset, frame.is_audio, frame.channel, frame.payload};
}

// Random frames of every kind and size, with start codes at every position relative to block
// boundaries, slice-like markers, audio frames too short to carry samples and runs of zeros.
std::vector<uint8_t> RandomStream(std::mt19937& rng, size_t frames) {
  std::vector<uint8_t> stream;
  std::uniform_int_distribution<int> kind(0, 9), byte(0, 255), small(0, 40);
  std::geometric_distribution<int> size(1.0 / 3000);
  for (size_t i = 0; i < frames; ++i) {
    const int k = kind(rng);
    std::vector<uint8_t> frame;
    if (k < 6) {
      frame = test::VideoFrame(static_cast<uint8_t>(byte(rng) & 15), 5 + small(rng) + size(rng) % 20000,
                               static_cast<uint8_t>(byte(rng)), byte(rng) & 1);
      if (frame.size() > 20) {  // a slice marker and a run of zeros inside
        frame[10] = 0, frame[11] = 0, frame[12] = 1, frame[13] = static_cast<uint8_t>(byte(rng) & 0x7F);
        frame[frame.size() - 3] = 0, frame[frame.size() - 2] = 0;
      }
    } else if (k < 9) {
      frame = test::AudioFrame(static_cast<unsigned>(byte(rng) & 3), static_cast<size_t>(small(rng) * 20),
                               static_cast<uint8_t>(byte(rng)));
    } else {
      frame = {0, 0, 1, static_cast<uint8_t>(0xFA + (byte(rng) & 3))};  // no samples at all
      frame.resize(4 + static_cast<size_t>(byte(rng) % 3), 0x77);
    }
    stream.insert(stream.end(), frame.begin(), frame.end());
  }
  return stream;
}

// Every frame one way from an end, going on past blocks the reader could not use, which it
// counts in `skipped`.
std::vector<Delivered> Walk(RecordingReader& reader, bool backward, int* skipped = nullptr) {
  std::vector<Delivered> frames;
  std::vector<uint8_t> buffer(kFrameCapacity);
  if (backward) reader.SetPositionToEnd();
  for (int guard = 0; guard < 100000; ++guard) {
    const uint32_t n = backward ? reader.PreviousFrame(buffer) : reader.NextFrame(buffer);
    if (n == 0) {
      if (!reader.LastBlockBad()) break;
      if (skipped) ++*skipped;
      continue;
    }
    frames.push_back({reader.FrameOffset(), reader.IsAudio(), reader.Channel(),
                      std::vector<uint8_t>(buffer.begin(), buffer.begin() + n)});
  }
  return frames;
}

class WalkTest : public ::testing::TestWithParam<int> {
 protected:
  test::TempDir dir_;
  test::RecordedNotices notices_;
};

TEST_P(WalkTest, ForwardAndBackwardDeliverEveryFrameOnce) {
  std::mt19937 rng(static_cast<unsigned>(GetParam()));
  const auto stream = RandomStream(rng, 300);
  std::vector<Delivered> expected;
  for (const auto& frame : test::ExpectedFrames(stream)) expected.push_back(FromExpected(frame));
  ASSERT_GT(expected.size(), 100u);

  for (const bool disk : {false, true}) {
    SCOPED_TRACE(disk ? "disk" : "file");
    test::NdfBuilder builder;
    builder.Append(stream);
    const auto image = disk ? test::DiskImage(builder.Build()) : builder.Build();
    RecordingReader reader(notices_);
    ASSERT_TRUE(reader.Open(dir_.Write("walk.NDF", image), disk));
    const auto forward = Walk(reader, false);
    EXPECT_EQ(forward, expected);

    auto backward = Walk(reader, true);
    // Backward, an audio frame keeps the channel of the frame before it; compare the rest.
    for (size_t i = 0; i < backward.size(); ++i) {
      const size_t j = expected.size() - 1 - i;
      if (j < expected.size() && backward[i].is_audio) backward[i].channel = expected[j].channel;
    }
    std::reverse(backward.begin(), backward.end());
    EXPECT_EQ(backward, expected);
  }
}

TEST_P(WalkTest, AlternatingDirectionsFollowTheFrameOrder) {
  std::mt19937 rng(static_cast<unsigned>(GetParam()) + 1000);
  const auto stream = RandomStream(rng, 200);
  const auto expected = test::ExpectedFrames(stream);
  test::NdfBuilder builder;
  builder.Append(stream);
  RecordingReader reader(notices_);
  ASSERT_TRUE(reader.Open(dir_.Write("alt.NDF", builder.Build()), false));

  std::vector<uint8_t> buffer(kFrameCapacity);
  std::bernoulli_distribution forward(0.6);
  long index = -1;  // the frame delivered last
  for (int step = 0; step < 2000; ++step) {
    const bool next = forward(rng);
    const long want = next ? index + 1 : index - 1;
    const uint32_t n = next ? reader.NextFrame(buffer) : reader.PreviousFrame(buffer);
    if (want < 0 || want >= static_cast<long>(expected.size())) {
      ASSERT_EQ(n, 0u) << "step " << step;
      if (want < 0) index = -1;
      if (want >= static_cast<long>(expected.size())) {
        // The end leaves the position after the last frame; a backward step returns it again.
        index = static_cast<long>(expected.size());
      }
      continue;
    }
    ASSERT_EQ(std::vector<uint8_t>(buffer.begin(), buffer.begin() + n),
              expected[static_cast<size_t>(want)].payload)
        << "step " << step << (next ? " next " : " previous ") << want << " offset "
        << reader.FrameOffset() << " expected " << expected[static_cast<size_t>(want)].offset
        << " around " << expected[static_cast<size_t>(want) - 1].offset << " "
        << expected[static_cast<size_t>(want) + 1].offset;
    index = want;
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, WalkTest, ::testing::Range(1, 9));

TEST(UnreadableBlocks, CostOnlyTheFramesThatTouchThem) {
  // Video frames over 25 blocks. Block 5 lies in the first read-ahead forward, block 17 in the
  // first one backward from the end.
  std::vector<uint8_t> stream;
  std::vector<size_t> starts;
  for (unsigned i = 0; stream.size() < 24 * kPayloadSize; ++i) {
    starts.push_back(stream.size());
    const auto frame = test::VideoFrame(static_cast<uint8_t>(i % 16), 1000 + i * 377 % 1400,
                                        static_cast<uint8_t>(i));
    stream.insert(stream.end(), frame.begin(), frame.end());
  }
  const std::set<uint64_t> unreadable = {5, 17};
  // A frame is lost when a byte of it or of the start code after it lies in such a block.
  std::vector<Delivered> expected;
  for (size_t k = 0; k + 1 < starts.size(); ++k) {
    const uint64_t first = test::SourceOffset(starts[k]) / kBlockSize;
    const uint64_t last = test::SourceOffset(starts[k + 1] + 3) / kBlockSize;
    if (unreadable.lower_bound(first) != unreadable.upper_bound(last)) continue;
    std::vector<uint8_t> payload(stream.begin() + static_cast<long>(starts[k]),
                                 stream.begin() + static_cast<long>(starts[k + 1]));
    expected.push_back({test::SourceOffset(starts[k]), false, payload[4] & 15u, payload});
  }
  ASSERT_GT(expected.size(), 50u);

  test::TempDir dir;
  test::RecordedNotices notices;
  for (const bool disk : {false, true}) {
    SCOPED_TRACE(disk ? "disk" : "file");
    test::NdfBuilder builder;
    builder.Append(stream);
    const auto image = disk ? test::DiskImage(builder.Build()) : builder.Build();
    RecordingReader reader(notices, std::make_unique<test::FailingBlockSource>(unreadable));
    ASSERT_TRUE(reader.Open(dir.Write("failing.NDF", image), disk));
    int skipped = 0;
    EXPECT_EQ(Walk(reader, false, &skipped), expected);
    EXPECT_EQ(skipped, 2);  // one failed call for each unreadable block
    skipped = 0;
    auto backward = Walk(reader, true, &skipped);
    std::reverse(backward.begin(), backward.end());
    EXPECT_EQ(backward, expected);
    EXPECT_EQ(skipped, 2);
  }
}

}  // namespace
}  // namespace dvr::media
