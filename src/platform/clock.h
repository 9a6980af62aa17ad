#pragma once
// The millisecond tick that paces playback: monotonic, unsigned 32 bits (it wraps after about
// 49.7 days, and every user subtracts ticks modulo 2^32). Behind an interface so that tests and
// batch jobs can run on a clock that never really waits.
#include <atomic>
#include <cstdint>
#include <initializer_list>

#include "platform/event.h"

namespace dvr::platform {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual uint32_t Tick() const = 0;
  // Milliseconds since `tick`, an earlier reading of this clock: the difference modulo 2^32, right
  // across the wrap for spans up to 49.7 days. Ticks are compared only through it, never as
  // absolute values or deadlines (a deadline left behind for 24.8 days reads as the future).
  uint32_t Since(uint32_t tick) const { return Tick() - tick; }
  virtual void Sleep(uint32_t ms) = 0;
  // Sleeps up to `ms`, waking early when one of the events is set (so that a waiting worker
  // still hears stop and commands).
  virtual void SleepUnless(uint32_t ms, std::initializer_list<Event*> wake) = 0;
};

// The real clock: the process's steady clock in milliseconds.
class SteadyClock final : public Clock {
 public:
  uint32_t Tick() const override;
  void Sleep(uint32_t ms) override;
  void SleepUnless(uint32_t ms, std::initializer_list<Event*> wake) override { WaitAny(wake, ms); }
};

// A clock that moves only when told to; sleeping advances it at once, so that work paced by it
// runs as fast as the machine allows (tests, batch jobs). Thread safe.
class ManualClock final : public Clock {
 public:
  explicit ManualClock(uint32_t start = 0) : now_(start) {}
  uint32_t Tick() const override { return now_.load(); }
  void Sleep(uint32_t ms) override { now_ += ms; }
  void SleepUnless(uint32_t ms, std::initializer_list<Event*>) override;
  void Advance(uint32_t ms) { now_ += ms; }

 private:
  std::atomic<uint32_t> now_;
};

// The process-wide steady clock.
Clock& SystemClock();

}  // namespace dvr::platform
