#pragma once
// Waiting in real time for something another thread does.
#include <chrono>
#include <functional>
#include <thread>

namespace dvr::test {

// Polls `condition` every millisecond; false when it still fails after `limit_ms`.
inline bool WaitFor(const std::function<bool()>& condition, int limit_ms = 5000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limit_ms);
  while (std::chrono::steady_clock::now() < end) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return condition();
}

}  // namespace dvr::test
