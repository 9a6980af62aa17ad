#include "platform/event.h"

#include <algorithm>
#include <chrono>

namespace dvr::platform {

// One per WaitAny call: the events it waits on poke it when they are set.
struct EventWaiter {
  std::mutex mutex;
  std::condition_variable poked;
  bool pending = false;  // guarded by mutex
};

void Event::Set() {
  std::lock_guard lock(mutex_);
  // Whoever waits on an event that is already set has been told, or sees it set before waiting.
  if (signalled_) return;
  signalled_ = true;
  changed_.notify_all();
  for (EventWaiter* waiter : waiters_) {
    std::lock_guard waiter_lock(waiter->mutex);
    waiter->pending = true;
    waiter->poked.notify_one();
  }
}

void Event::Reset() {
  std::lock_guard lock(mutex_);
  signalled_ = false;
}

bool Event::IsSet() const {
  std::lock_guard lock(mutex_);
  return signalled_;
}

bool Event::Wait(uint32_t timeout_ms) {
  std::unique_lock lock(mutex_);
  if (timeout_ms == kWaitForever) {
    changed_.wait(lock, [this] { return signalled_; });
    return true;
  }
  return changed_.wait_for(lock, std::chrono::milliseconds(timeout_ms),
                           [this] { return signalled_; });
}

void Event::Attach(EventWaiter* waiter) {
  std::lock_guard lock(mutex_);
  waiters_.push_back(waiter);
}

void Event::Detach(EventWaiter* waiter) {
  std::lock_guard lock(mutex_);
  waiters_.erase(std::remove(waiters_.begin(), waiters_.end(), waiter), waiters_.end());
}

namespace {

int FirstSet(std::initializer_list<Event*> events) {
  int index = 0;
  for (Event* event : events) {
    if (event->IsSet()) return index;
    ++index;
  }
  return kWaitTimeout;
}

}  // namespace

int WaitAny(std::initializer_list<Event*> events, uint32_t timeout_ms) {
  int found = FirstSet(events);
  if (found != kWaitTimeout || timeout_ms == 0) return found;

  EventWaiter waiter;
  for (Event* event : events) event->Attach(&waiter);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    found = FirstSet(events);
    if (found != kWaitTimeout) break;
    std::unique_lock lock(waiter.mutex);
    if (timeout_ms == kWaitForever) {
      waiter.poked.wait(lock, [&] { return waiter.pending; });
    } else if (!waiter.poked.wait_until(lock, deadline, [&] { return waiter.pending; })) {
      lock.unlock();
      found = FirstSet(events);
      break;
    }
    waiter.pending = false;
  }
  for (Event* event : events) event->Detach(&waiter);
  return found;
}

}  // namespace dvr::platform
