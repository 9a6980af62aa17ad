#pragma once
// Block times: the 32-bit seconds field of a block header and its calendar form in local standard
// time. The recorder's own rule makes every fourth year a leap year, right from 1970 to 2099.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dvr::media {

struct FrameTime {
  uint16_t year = 0;
  uint16_t month = 0;        // 1..12
  uint16_t day_of_week = 0;  // 0 = Sunday
  uint16_t day = 0;          // 1..31
  uint16_t hour = 0;
  uint16_t minute = 0;
  uint16_t second = 0;
  uint16_t milliseconds = 0;

  bool operator==(const FrameTime&) const = default;
};

// Time field (host order) to calendar time. bias_seconds is the zone's standard-time offset west
// of UTC (platform::StandardBiasSeconds).
FrameTime ConvertTime(uint32_t time_field, int32_t bias_seconds);

// The inverse: the time field of a local standard calendar time, or nothing when the fields are
// not a date the field can hold (1970 to early 2106, local time).
std::optional<uint32_t> ToTimeField(const FrameTime& time, int32_t bias_seconds);

// A block time the rest of the system may show: year >= 1900, month 1..12, day 1..31,
// hour <= 23, minute and second <= 59.
bool IsValidFrameTime(const FrameTime& time);

// "YYYY-MM-DD HH:MM:SS".
std::string FormatFrameTime(const FrameTime& time);
// Reads "YYYY-MM-DD HH:MM:SS" (a real calendar date); the day of week is filled in.
std::optional<FrameTime> ParseFrameTime(std::string_view text);

}  // namespace dvr::media
