#include "platform/local_time.h"

namespace dvr::platform {

int32_t StandardBiasSeconds() {
  tzset();
  return static_cast<int32_t>(timezone);  // glibc: standard-time offset, seconds west of UTC
}

bool LocalTime(std::time_t moment, CalendarTime& out) {
  std::tm fields{};
  if (localtime_r(&moment, &fields) == nullptr) return false;
  out.year = fields.tm_year + 1900;
  out.month = fields.tm_mon + 1;
  out.day = fields.tm_mday;
  out.hour = fields.tm_hour;
  out.minute = fields.tm_min;
  out.second = fields.tm_sec;
  out.weekday = fields.tm_wday;
  return true;
}

}  // namespace dvr::platform
