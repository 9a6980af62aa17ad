#include "platform/clock.h"

#include <chrono>
#include <thread>

namespace dvr::platform {

uint32_t SteadyClock::Tick() const {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void SteadyClock::Sleep(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

void ManualClock::SleepUnless(uint32_t ms, std::initializer_list<Event*>) {
  now_ += ms;
  std::this_thread::yield();  // a loop that only sleeps must not starve the other threads
}

Clock& SystemClock() {
  static SteadyClock clock;
  return clock;
}

}  // namespace dvr::platform
