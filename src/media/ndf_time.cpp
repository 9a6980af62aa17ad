#include "media/ndf_time.h"

#include <cstdio>

namespace dvr::media {
namespace {

constexpr uint32_t kDay = 86400;
constexpr uint32_t kCommonYear = 365 * kDay;
constexpr uint32_t kLeapYear = 366 * kDay;
constexpr uint32_t kFourYears = 1461 * kDay;  // 365 + 365 + 366 + 365 days from 1970
// Day of year (0-based) before each month, less one: month m spans entry[m-1]+1 .. entry[m].
constexpr int kCommonDays[13] = {-1, 30, 58, 89, 119, 150, 180, 211, 242, 272, 303, 333, 364};
constexpr int kLeapDays[13] = {-1, 30, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365};

bool IsLeap(int year) { return year % 4 == 0; }

}  // namespace

FrameTime ConvertTime(uint32_t time_field, int32_t bias_seconds) {
  const uint32_t s = time_field - static_cast<uint32_t>(bias_seconds);
  FrameTime out;
  out.day_of_week = static_cast<uint16_t>((s / kDay + 4) % 7);

  uint32_t rest = s % kFourYears;
  int year = 1970 + 4 * static_cast<int>(s / kFourYears);
  const uint32_t lengths[4] = {kCommonYear, kCommonYear, kLeapYear, kCommonYear};
  for (uint32_t length : lengths) {
    if (rest < length) break;
    rest -= length;
    ++year;
  }
  const int day_of_year = static_cast<int>(rest / kDay);
  const int* table = IsLeap(year) ? kLeapDays : kCommonDays;
  int month = 1;
  while (table[month] < day_of_year) ++month;

  out.year = static_cast<uint16_t>(year);
  out.month = static_cast<uint16_t>(month);
  out.day = static_cast<uint16_t>(day_of_year - table[month - 1]);
  out.hour = static_cast<uint16_t>((s % kDay) / 3600);
  out.minute = static_cast<uint16_t>((s % 3600) / 60);
  out.second = static_cast<uint16_t>(s % 60);
  return out;
}

std::optional<uint32_t> ToTimeField(const FrameTime& time, int32_t bias_seconds) {
  if (time.year < 1970 || time.year > 2106 || time.month < 1 || time.month > 12) return {};
  const int* table = IsLeap(time.year) ? kLeapDays : kCommonDays;
  const int month_days = table[time.month] - table[time.month - 1];
  if (time.day < 1 || time.day > month_days || time.hour > 23 || time.minute > 59 ||
      time.second > 59) {
    return {};
  }
  const int years = time.year - 1970;
  const int64_t days = int64_t{years / 4} * 1461 + (years % 4) * 365 + (years % 4 == 3 ? 1 : 0) +
                       table[time.month - 1] + time.day;
  const int64_t local = days * kDay + time.hour * 3600 + time.minute * 60 + time.second;
  const int64_t utc = local + bias_seconds;
  if (local > UINT32_MAX || utc < 0 || utc > UINT32_MAX) return {};
  return static_cast<uint32_t>(utc);
}

bool IsValidFrameTime(const FrameTime& time) {
  return time.year >= 1900 && time.month >= 1 && time.month <= 12 && time.day >= 1 &&
         time.day <= 31 && time.hour <= 23 && time.minute <= 59 && time.second <= 59;
}

std::string FormatFrameTime(const FrameTime& time) {
  char text[48];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", time.year, time.month, time.day,
                time.hour, time.minute, time.second);
  return text;
}

std::optional<FrameTime> ParseFrameTime(std::string_view text) {
  unsigned fields[6];
  int used = 0;
  const std::string copy(text);
  if (std::sscanf(copy.c_str(), "%4u-%2u-%2u %2u:%2u:%2u%n", &fields[0], &fields[1], &fields[2],
                  &fields[3], &fields[4], &fields[5], &used) != 6 ||
      static_cast<size_t>(used) != copy.size()) {
    return {};
  }
  FrameTime time;
  time.year = static_cast<uint16_t>(fields[0]);
  time.month = static_cast<uint16_t>(fields[1]);
  time.day = static_cast<uint16_t>(fields[2]);
  time.hour = static_cast<uint16_t>(fields[3]);
  time.minute = static_cast<uint16_t>(fields[4]);
  time.second = static_cast<uint16_t>(fields[5]);
  const auto field = ToTimeField(time, 0);
  if (!field) return {};
  return ConvertTime(*field, 0);  // fills the day of week
}

}  // namespace dvr::media
