#include "engine/frame_queue.h"

#include <gtest/gtest.h>

namespace dvr::engine {
namespace {

media::MediaFrame Frame(uint8_t value, uint32_t length, size_t capacity = 131072) {
  media::MediaFrame frame(capacity);
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
  media::MediaFrame small(100);
  EXPECT_FALSE(queue.Take(small));  // too small a buffer: the frame stays
  media::MediaFrame out(4096);
  ASSERT_TRUE(queue.Take(out));
  EXPECT_EQ(out.payload[0], 2);
  ASSERT_TRUE(queue.HasFramesEvent().IsSet());
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
