#pragma once
// The program's version, as the window and the files it writes give it.

namespace dvr::platform {

inline constexpr const char* kProgramVersion = "2.78";

}  // namespace dvr::platform
