#include "app/status_text.h"

#include <cstdio>

#include "engine/viewer_engine.h"

namespace dvr::app {

std::string PlayerStateText(std::string_view state_name, int state, double speed) {
  std::string text(state_name);
  if (state == engine::kForward || state == engine::kBackward) {
    char speed_text[32];
    std::snprintf(speed_text, sizeof speed_text, " x %.1f   ", speed);
    text += speed_text;
  }
  return text;
}

}  // namespace dvr::app
