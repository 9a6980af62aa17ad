#include "app/status_text.h"

#include <cstdio>

#include "engine/viewer_engine.h"

namespace dvr::app {

std::string PlayerStateText(int state, double speed) {
  std::string text = engine::StateName(state);
  if (state == engine::kForward || state == engine::kBackward) {
    char speed_text[32];
    std::snprintf(speed_text, sizeof speed_text, " x %.1f   ", speed);
    text += speed_text;
  }
  return text;
}

}  // namespace dvr::app
