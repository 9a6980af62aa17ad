#include "platform/event.h"

#include <gtest/gtest.h>

#include <thread>

namespace dvr::platform {
namespace {

TEST(Event, StaysSetUntilReset) {
  Event event;
  EXPECT_FALSE(event.IsSet());
  EXPECT_FALSE(event.Wait(0));
  event.Set();
  EXPECT_TRUE(event.Wait(0));
  EXPECT_TRUE(event.Wait(kWaitForever));  // manual reset: still set
  event.Reset();
  EXPECT_FALSE(event.Wait(10));
}

TEST(WaitAny, ReportsTheFirstSetEventInListOrder) {
  Event a, b, c;
  EXPECT_EQ(WaitAny({&a, &b, &c}, 0), kWaitTimeout);
  c.Set();
  b.Set();
  EXPECT_EQ(WaitAny({&a, &b, &c}, 0), 1);
  EXPECT_EQ(WaitAny({&a, &c}, kWaitForever), 1);
  b.Reset();
  c.Reset();
  EXPECT_EQ(WaitAny({&a, &b, &c}, 20), kWaitTimeout);
}

TEST(WaitAny, WakesWhenAnotherThreadSetsOne) {
  Event stop, data;
  std::thread setter([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    data.Set();
  });
  EXPECT_EQ(WaitAny({&stop, &data}, kWaitForever), 1);
  setter.join();
}

TEST(WaitAny, ManyWaitersOnOneEvent) {
  Event go;
  std::vector<std::thread> waiters;
  std::atomic<int> woken{0};
  for (int i = 0; i < 4; ++i) {
    waiters.emplace_back([&] {
      Event other;
      if (WaitAny({&other, &go}, 5000) == 1) ++woken;
    });
  }
  go.Set();
  for (auto& t : waiters) t.join();
  EXPECT_EQ(woken, 4);
}

}  // namespace
}  // namespace dvr::platform
