#pragma once
// Where a capture goes: a still image or a local recording, in its folder, named after the local
// date and time. A name already taken gets a numbered suffix, so that two captures started in the
// same second are both kept.
#include <ctime>
#include <string>

#include "platform/local_time.h"

namespace dvr::app {

// 20090315-140509.bmp, then 20090315-140509_1.bmp, _2 ...
std::string FreeStillImagePath(const std::string& folder, const platform::CalendarTime& time);
// 20090315-140509.NDF, then 20090315-140509-1.NDF, -2 ...
std::string FreeRecordingPath(const std::string& folder, std::time_t now);

}  // namespace dvr::app
