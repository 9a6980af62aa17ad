#pragma once
// Base of every object that owns one worker thread (the viewer engine, the network client).
//
// Start sets the running flag and creates the thread unless one is already held; the thread runs
// Run, then clears the running flag and lets go of its handle. Stop sets the stop event and waits
// for the thread without limit. Destruction clears the running flag and waits at most five seconds
// for the thread to finish. A derived class must Stop in its own destructor: by the time this
// base is destroyed, the derived members that Run uses are gone.
#include <atomic>
#include <memory>
#include <thread>

#include "platform/event.h"

namespace dvr::platform {

// Best effort: a priority that needs privileges the process does not have is left at normal.
enum class ThreadPriority { kIdle, kNormal, kAboveNormal };

class WorkerThread {
 public:
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;
  virtual ~WorkerThread();

  // 0 on success (also when a thread is already running), else the system's error code.
  int Start(ThreadPriority priority);
  // Sets the stop event and waits for the thread to end. Harmless without a thread.
  void Stop();

  bool IsRunning() const { return state_->running.load(); }
  bool HasThread() const { return state_->has_thread.load(); }

 protected:
  WorkerThread();
  // The thread's body. It should return soon after the stop event is set or IsRunning turns false.
  virtual void Run() = 0;
  Event& StopEvent() { return state_->stop; }
  void ClearRunning() { state_->running = false; }

 private:
  // Shared with the thread, so that a thread outliving the bounded wait of the destructor never
  // touches freed memory of this base.
  struct State {
    std::atomic<bool> running{false};
    std::atomic<bool> has_thread{false};
    Event stop;
  };
  std::shared_ptr<State> state_;
  std::thread thread_;  // owner's thread only
};

}  // namespace dvr::platform
