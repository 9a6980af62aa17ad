#pragma once
// Manual-reset events and a wait on several of them, the synchronisation the engine and the
// network client are built on.
#include <condition_variable>
#include <cstdint>
#include <initializer_list>
#include <mutex>
#include <vector>

namespace dvr::platform {

inline constexpr uint32_t kWaitForever = UINT32_MAX;
inline constexpr int kWaitTimeout = -1;

struct EventWaiter;

// Stays set until Reset; every waiter sees it while it is set.
class Event {
 public:
  Event() = default;
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;

  void Set();
  void Reset();
  bool IsSet() const;
  // True when the event is (or becomes) set within timeout_ms.
  bool Wait(uint32_t timeout_ms);

 private:
  friend int WaitAny(std::initializer_list<Event*> events, uint32_t timeout_ms);
  void Attach(EventWaiter* waiter);
  void Detach(EventWaiter* waiter);

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool signalled_ = false;          // guarded by mutex_
  std::vector<EventWaiter*> waiters_;  // guarded by mutex_
};

// Waits until one of the events is set. Returns the index of the first set event in the list
// order, or kWaitTimeout. timeout_ms 0 polls; kWaitForever waits without limit.
int WaitAny(std::initializer_list<Event*> events, uint32_t timeout_ms);

}  // namespace dvr::platform
