#include "display/labels.h"

#include <ctime>

namespace dvr::display {

std::string FormatFrameTime(const media::FrameTime& time, const std::string& time_format) {
  if (time.year == 0) return {};
  std::tm fields{};
  fields.tm_year = time.year - 1900;
  fields.tm_mon = time.month - 1;
  fields.tm_mday = time.day;
  fields.tm_hour = time.hour;
  fields.tm_min = time.minute;
  fields.tm_sec = time.second;
  fields.tm_isdst = -1;  // the system decides daylight saving
  if (std::mktime(&fields) == static_cast<std::time_t>(-1)) return {};
  char text[kMaxTimeText];
  const size_t length = std::strftime(text, sizeof text, time_format.c_str(), &fields);
  return std::string(text, length);
}

std::string LabelText(int slot, const media::FrameTime& time, bool has_picture, bool time_in_labels,
                      const std::string& time_format) {
  std::string label = "CH" + std::to_string(slot + 1) + " ";
  if (!time_in_labels || !has_picture) return label;
  return label + FormatFrameTime(time, time_format);
}

}  // namespace dvr::display
