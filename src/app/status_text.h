#pragma once
// The player's status line in words: the engine state's name as the window shows it (in the
// user's language) and, while playing, the speed (" x 16.0" and three blanks). Qt-free.
#include <string>
#include <string_view>

namespace dvr::app {

std::string PlayerStateText(std::string_view state_name, int state, double speed);

}  // namespace dvr::app
