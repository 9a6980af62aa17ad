#pragma once
// The player's status line in words: the engine state's name and, while playing, the speed
// (" x 16.0" and three blanks). Qt-free.
#include <string>

namespace dvr::app {

std::string PlayerStateText(int state, double speed);

}  // namespace dvr::app
