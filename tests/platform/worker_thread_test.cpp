#include "platform/worker_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

namespace dvr::platform {
namespace {

// Counts its runs and waits for the stop event, as the engine's loops do.
class Looper : public WorkerThread {
 public:
  ~Looper() override { Stop(); }
  std::atomic<int> runs{0};
  std::atomic<bool> finish_early{false};

 protected:
  void Run() override {
    ++runs;
    while (!finish_early && IsRunning() && !StopEvent().Wait(5)) {
    }
  }
};

TEST(WorkerThread, StartRunsOnceUntilStopped) {
  Looper worker;
  EXPECT_FALSE(worker.IsRunning());
  EXPECT_EQ(worker.Start(ThreadPriority::kIdle), 0);
  EXPECT_TRUE(worker.IsRunning());
  EXPECT_EQ(worker.Start(ThreadPriority::kIdle), 0);  // a thread is held: nothing more
  worker.Stop();
  EXPECT_EQ(worker.runs, 1);
  EXPECT_FALSE(worker.IsRunning());
  EXPECT_FALSE(worker.HasThread());
  worker.Stop();  // harmless twice
}

TEST(WorkerThread, RestartsAfterStopAndAfterRunEnds) {
  Looper worker;
  ASSERT_EQ(worker.Start(ThreadPriority::kAboveNormal), 0);
  worker.Stop();
  ASSERT_EQ(worker.Start(ThreadPriority::kNormal), 0);  // the stop event was reset
  EXPECT_TRUE(worker.IsRunning());
  worker.finish_early = true;
  for (int i = 0; i < 500 && worker.HasThread(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  EXPECT_FALSE(worker.HasThread());  // Run returned: flags cleared by the thread itself
  EXPECT_FALSE(worker.IsRunning());
  worker.finish_early = false;
  ASSERT_EQ(worker.Start(ThreadPriority::kNormal), 0);
  worker.Stop();
  EXPECT_EQ(worker.runs, 3);
}

}  // namespace
}  // namespace dvr::platform
