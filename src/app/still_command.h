#pragma once
// Where a still image goes: the capture folder and a name from the local date and time. A name
// already taken gets a suffix (_1, _2 ...), so two stills in the same second are both kept.
#include <string>

#include "platform/local_time.h"

namespace dvr::app {

std::string FreeStillImagePath(const std::string& folder, const platform::CalendarTime& time);

}  // namespace dvr::app
