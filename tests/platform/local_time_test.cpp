#include "platform/local_time.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/clock.h"

namespace dvr::platform {
namespace {

// Sets TZ for one test and puts the old value back.
class ZoneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* old = std::getenv("TZ")) saved_ = old;
  }
  void TearDown() override {
    saved_ ? setenv("TZ", saved_->c_str(), 1) : unsetenv("TZ");
    tzset();
  }
  static void Zone(const char* tz) {
    setenv("TZ", tz, 1);
    tzset();
  }
  std::optional<std::string> saved_;
};

TEST_F(ZoneTest, StandardBiasIgnoresDaylightSaving) {
  Zone("JST-9");
  EXPECT_EQ(StandardBiasSeconds(), -32400);
  Zone("EST5EDT,M3.2.0,M11.1.0");
  EXPECT_EQ(StandardBiasSeconds(), 18000);
  Zone("UTC0");
  EXPECT_EQ(StandardBiasSeconds(), 0);
}

TEST_F(ZoneTest, LocalTimeFollowsTheWallClock) {
  Zone("EST5EDT,M3.2.0,M11.1.0");
  CalendarTime t;
  ASSERT_TRUE(LocalTime(1783339200, t));  // 2026-07-06 12:00 UTC, summer time in New York
  EXPECT_EQ(t.year, 2026);
  EXPECT_EQ(t.month, 7);
  EXPECT_EQ(t.day, 6);
  EXPECT_EQ(t.hour, 8);
  EXPECT_EQ(t.weekday, 1);
}

TEST(Clock, ManualClockMovesOnlyWhenTold) {
  ManualClock clock(UINT32_MAX - 5);
  clock.Sleep(10);  // wraps like the real tick
  EXPECT_EQ(clock.Tick(), 4u);
  clock.Advance(6);
  EXPECT_EQ(clock.Tick() - (UINT32_MAX - 5), 16u);
}

TEST(Clock, SteadyClockAdvances) {
  Clock& clock = SystemClock();
  const uint32_t before = clock.Tick();
  clock.Sleep(15);
  EXPECT_GE(static_cast<uint32_t>(clock.Tick() - before), 15u);
}

}  // namespace
}  // namespace dvr::platform
