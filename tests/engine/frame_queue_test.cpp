#include "engine/frame_queue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <random>
#include <vector>

namespace dvr::engine {
namespace {

media::MediaFrame Frame(uint8_t value, uint32_t length, size_t capacity = 131072) {
  media::MediaFrame frame(std::max<size_t>(capacity, length));
  std::fill(frame.payload.begin(), frame.payload.begin() + length, value);
  frame.length = length;
  frame.time.second = value;
  frame.info[15] = value;
  return frame;
}

TEST(FrameQueue, SixteenSlotsInOrderTheSeventeenthLost) {
  FrameQueue queue("Default");
  ASSERT_TRUE(queue.Allocate(131072, 16));
  EXPECT_TRUE(queue.HasSpaceEvent().IsSet());
  EXPECT_FALSE(queue.HasFramesEvent().IsSet());
  for (uint8_t i = 0; i < 16; ++i) ASSERT_TRUE(queue.Push(Frame(i, 100 + i)));
  EXPECT_FALSE(queue.HasSpaceEvent().IsSet());
  EXPECT_FALSE(queue.Push(Frame(99, 10)));
  media::MediaFrame out(131072);
  for (uint8_t i = 0; i < 16; ++i) {
    ASSERT_TRUE(queue.Take(out));
    EXPECT_EQ(out.length, 100u + i);
    EXPECT_EQ(out.payload[0], i);
    EXPECT_EQ(out.time.second, i);
    EXPECT_EQ(out.info[15], i);
    EXPECT_TRUE(queue.HasSpaceEvent().IsSet());
  }
  EXPECT_FALSE(queue.HasFramesEvent().IsSet());
  EXPECT_FALSE(queue.Take(out));
  EXPECT_FALSE(queue.HasFramesEvent().IsSet());
}

TEST(FrameQueue, OversizeFramesLeaveTheQueueAsItWas) {
  FrameQueue queue("Default");
  ASSERT_TRUE(queue.Allocate(4096, 2));
  EXPECT_FALSE(queue.Push(Frame(1, 5000)));
  ASSERT_TRUE(queue.Push(Frame(2, 4096)));
  ASSERT_TRUE(queue.Push(Frame(3, 10)));
  EXPECT_EQ(queue.Lost(), 1u);
  // A buffer too small for the oldest frame: that frame is lost, not left to block the others.
  media::MediaFrame small(100);
  EXPECT_FALSE(queue.Take(small));
  EXPECT_EQ(queue.Lost(), 2u);
  ASSERT_TRUE(queue.HasFramesEvent().IsSet());
  ASSERT_TRUE(queue.Take(small));
  EXPECT_EQ(small.payload[0], 3);
  EXPECT_FALSE(queue.HasFramesEvent().IsSet());
}

// Storage counted in bytes: room for many small frames, and a large one waits for the oldest
// ones to leave. Nothing wraps so far that it overwrites a frame not yet taken.
TEST(FrameQueue, StorageInBytesWrapsWithoutOverwriting) {
  FrameQueue queue("Default");
  ASSERT_TRUE(queue.Allocate(1000, 100, 4000));
  for (uint8_t i = 0; i < 4; ++i) ASSERT_TRUE(queue.Push(Frame(i, 900)));  // 0..3600
  EXPECT_FALSE(queue.Push(Frame(4, 900)));  // 400 left at the end, and the front is taken
  media::MediaFrame out(1000);
  ASSERT_TRUE(queue.Take(out));
  ASSERT_TRUE(queue.Push(Frame(7, 300)));   // into the 400 at the end
  EXPECT_FALSE(queue.Push(Frame(5, 900)));  // 900 free at the front: it would touch frame 1
  ASSERT_TRUE(queue.Push(Frame(6, 899)));   // just below it
  EXPECT_EQ(queue.Lost(), 2u);
  std::vector<uint8_t> order;
  while (queue.Take(out)) {
    order.push_back(out.payload[0]);
    EXPECT_TRUE(std::all_of(out.payload.begin(), out.payload.begin() + out.length,
                            [&](uint8_t b) { return b == out.payload[0]; }));
  }
  EXPECT_EQ(order, (std::vector<uint8_t>{1, 2, 3, 7, 6}));
}

// Frames of every size pushed and taken in an irregular rhythm come out whole and in order, and
// every push that fails is counted, never silently dropped.
TEST(FrameQueue, IrregularTrafficKeepsEveryFrameWholeAndInOrder) {
  FrameQueue queue("Default");
  ASSERT_TRUE(queue.Allocate(5000, 64, 20000));
  std::mt19937 random(7);
  std::deque<std::pair<uint32_t, uint8_t>> expected;  // length and fill of what is queued
  media::MediaFrame out(5000);
  uint64_t refused = 0;
  for (int round = 0; round < 20000; ++round) {
    if (random() % 3 != 0) {
      const auto length = static_cast<uint32_t>(random() % 5001);
      const auto fill = static_cast<uint8_t>(round);
      if (queue.Push(Frame(fill, length, 5000))) {
        expected.emplace_back(length, fill);
      } else {
        ++refused;
      }
    } else if (queue.Take(out)) {
      ASSERT_FALSE(expected.empty());
      ASSERT_EQ(out.length, expected.front().first) << round;
      ASSERT_EQ(out.time.second, expected.front().second);
      for (uint32_t i = 0; i < out.length; ++i) ASSERT_EQ(out.payload[i], expected.front().second) << round;
      expected.pop_front();
    } else {
      ASSERT_TRUE(expected.empty());
    }
    ASSERT_EQ(queue.Count(), expected.size());
  }
  EXPECT_EQ(queue.Lost(), refused);
  EXPECT_GT(refused, 0u);
}

TEST(FrameQueue, TinySlotsAreSixteenBytes) {
  FrameQueue queue("x");
  ASSERT_TRUE(queue.Allocate(8, 2));
  EXPECT_EQ(queue.Capacity(), 16u);
  EXPECT_TRUE(queue.Push(Frame(1, 16, 16)));
  EXPECT_FALSE(queue.Allocate(8, 2));  // made once
}

}  // namespace
}  // namespace dvr::engine
