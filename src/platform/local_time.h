#pragma once
// Local time and the zone's standard-time bias. Recording times are shown in local standard time:
// daylight saving is deliberately not applied, as the recorder itself does not apply it.
#include <cstdint>
#include <ctime>

namespace dvr::platform {

struct CalendarTime {
  int year = 0;     // e.g. 2026
  int month = 0;    // 1..12
  int day = 0;      // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int weekday = 0;  // 0 = Sunday
};

// Seconds west of UTC of the local zone's standard time (Tokyo: -32400, New York: 18000).
int32_t StandardBiasSeconds();

// The local calendar time (with daylight saving, as clocks on the wall show it) of a moment.
bool LocalTime(std::time_t moment, CalendarTime& out);

}  // namespace dvr::platform
