#pragma once
// Work that must not hold up the window (mapping a disk, copying a span out, hashing it) on a
// thread of its own. The work reports back through Post, which queues a call to the window
// thread; it never waits for the window. Cancel asks the work to end and waits for it, which
// takes at most one read of the medium.
#include <QObject>

#include <atomic>
#include <functional>
#include <thread>

namespace dvr::app {

class BackgroundJob {
 public:
  // `context` lives on the window thread; calls posted for it are dropped once it is gone.
  explicit BackgroundJob(QObject* context) : context_(context) {}
  ~BackgroundJob() { Cancel(); }
  BackgroundJob(const BackgroundJob&) = delete;
  BackgroundJob& operator=(const BackgroundJob&) = delete;

  // Runs `work` on a new thread after ending the one before; `work` polls `cancel`.
  void Start(std::function<void(const std::atomic<bool>& cancel)> work);
  void Cancel();
  bool Busy() const { return busy_.load(); }

  // From the work: runs `call` on the window thread, later.
  void Post(std::function<void()> call) const;

 private:
  QObject* context_;
  std::thread thread_;
  std::atomic<bool> cancel_{false};
  std::atomic<bool> busy_{false};
};

}  // namespace dvr::app
