#include "media/ndf_time.h"

#include <gtest/gtest.h>

#include <ctime>

namespace dvr::media {
namespace {

TEST(ConvertTime, EpochIsAThursday) {
  const FrameTime t = ConvertTime(0, 0);
  EXPECT_EQ(FormatFrameTime(t), "1970-01-01 00:00:00");
  EXPECT_EQ(t.day_of_week, 4);
  EXPECT_EQ(t.milliseconds, 0);
}

TEST(ConvertTime, StandardBiasShiftsToLocalTime) {
  // Tokyo is 9 hours east: the bias is -32400 seconds.
  EXPECT_EQ(FormatFrameTime(ConvertTime(0, -32400)), "1970-01-01 09:00:00");
  // New York's standard time, 5 hours west, also in summer: no daylight saving.
  EXPECT_EQ(FormatFrameTime(ConvertTime(1783339200, 18000)), "2026-07-06 07:00:00");
  // Wraps modulo 2^32; the recorder's rule takes 2100 for a leap year, so this lands a day early.
  EXPECT_EQ(FormatFrameTime(ConvertTime(0, 1)), "2106-02-06 06:28:15");
}

// Against the C library's UTC calendar over the years the recorder's rule covers.
TEST(ConvertTime, MatchesTheCalendarFrom1970To2099) {
  for (uint64_t t = 0; t < 4102444800ull; t += 86400 * 13 + 3607) {
    const std::time_t moment = static_cast<std::time_t>(t);
    std::tm utc{};
    gmtime_r(&moment, &utc);
    const FrameTime got = ConvertTime(static_cast<uint32_t>(t), 0);
    ASSERT_EQ(got.year, utc.tm_year + 1900) << t;
    ASSERT_EQ(got.month, utc.tm_mon + 1) << t;
    ASSERT_EQ(got.day, utc.tm_mday) << t;
    ASSERT_EQ(got.day_of_week, utc.tm_wday) << t;
    ASSERT_EQ(got.hour, utc.tm_hour) << t;
    ASSERT_EQ(got.minute, utc.tm_min) << t;
    ASSERT_EQ(got.second, utc.tm_sec) << t;
    ASSERT_EQ(ToTimeField(got, 0), t) << t;
  }
}

TEST(ConvertTime, LeapDays) {
  EXPECT_EQ(FormatFrameTime(ConvertTime(951782400, 0)), "2000-02-29 00:00:00");
  EXPECT_EQ(FormatFrameTime(ConvertTime(1735689599, 0)), "2024-12-31 23:59:59");
  EXPECT_EQ(FormatFrameTime(ConvertTime(68169600, 0)), "1972-02-29 00:00:00");
}

TEST(FrameTimeText, ParsesRealDatesOnly) {
  const auto t = ParseFrameTime("2026-12-08 14:52:13");
  ASSERT_TRUE(t);
  EXPECT_EQ(FormatFrameTime(*t), "2026-12-08 14:52:13");
  EXPECT_EQ(t->day_of_week, 2);  // a Tuesday
  EXPECT_FALSE(ParseFrameTime("2026-02-30 00:00:00"));
  EXPECT_FALSE(ParseFrameTime("2026-12-08 24:00:00"));
  EXPECT_FALSE(ParseFrameTime("2026-12-08"));
  EXPECT_FALSE(ParseFrameTime("2026-12-08 10:00:00x"));
  EXPECT_FALSE(ParseFrameTime("1969-12-31 23:59:59"));
  EXPECT_EQ(ToTimeField(*ParseFrameTime("1970-01-01 09:00:00"), -32400), 0u);
  EXPECT_FALSE(ToTimeField(*ParseFrameTime("1970-01-01 08:59:59"), -32400));  // before 1970 UTC
}

TEST(FrameTimeValidity, RejectsTheUnloadedTime) {
  EXPECT_FALSE(IsValidFrameTime(FrameTime{}));
  EXPECT_TRUE(IsValidFrameTime(ConvertTime(0, 0)));
  FrameTime t = ConvertTime(0, 0);
  t.second = 60;
  EXPECT_FALSE(IsValidFrameTime(t));
}

}  // namespace
}  // namespace dvr::media
