#pragma once
// How the playback commands change the speed.
namespace dvr::engine {

// Play forward or backward at |requested|, at most 8; 0 means 1.
constexpr double NormalSpeed(double requested) {
  const double speed = requested < 0 ? -requested : requested;
  if (speed == 0) return 1.0;
  return speed > 8 ? 8.0 : speed;
}

// Fast forward or backward: 8 right after the other direction or from another state, 32 stays 32,
// else doubling from 8 on. Presses give 8, 16, 32, 32 ...
constexpr double FasterSpeed(double speed, bool other_direction_last, bool playing_this_way) {
  if (other_direction_last) return 8;
  if (speed == 32) return 32;
  if (!playing_this_way) return 8;
  return speed >= 8 ? speed * 2 : 8;
}

// Pause ends fast play: 8, 16, 32 and 64 fall back to 1; slower speeds are kept.
constexpr double SpeedAfterPause(double speed) {
  return speed == 8 || speed == 16 || speed == 32 || speed == 64 ? 1.0 : speed;
}

}  // namespace dvr::engine
