#include "platform/worker_thread.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <system_error>

namespace dvr::platform {
namespace {

int NiceValue(ThreadPriority priority) {
  switch (priority) {
    case ThreadPriority::kIdle: return 19;
    case ThreadPriority::kAboveNormal: return -5;
    case ThreadPriority::kNormal: break;
  }
  return 0;
}

void ApplyPriority(ThreadPriority priority) {
  const int nice = NiceValue(priority);
  if (nice == 0) return;
  // Linux keeps a nice value per thread; raising priority fails without privileges, which is fine.
  const auto tid = static_cast<id_t>(syscall(SYS_gettid));
  (void)setpriority(PRIO_PROCESS, tid, nice);
}

}  // namespace

WorkerThread::WorkerThread() : state_(std::make_shared<State>()) {}

WorkerThread::~WorkerThread() {
  state_->running = false;
  for (int waited = 0; waited < 5000 && state_->has_thread; waited += 10) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (!thread_.joinable()) return;
  if (state_->has_thread) {
    thread_.detach();  // it keeps its own reference to the shared state
  } else {
    thread_.join();
  }
}

int WorkerThread::Start(ThreadPriority priority) {
  state_->running = true;
  if (state_->has_thread) return 0;
  if (thread_.joinable()) thread_.join();  // finished on its own; collect it
  state_->stop.Reset();
  state_->has_thread = true;
  try {
    thread_ = std::thread([this, state = state_, priority] {
      ApplyPriority(priority);
      Run();
      state->running = false;
      state->has_thread = false;
    });
  } catch (const std::system_error& error) {
    state_->has_thread = false;
    state_->running = false;
    return error.code().value() ? error.code().value() : EAGAIN;
  }
  return 0;
}

void WorkerThread::Stop() {
  state_->stop.Set();
  if (!thread_.joinable()) return;
  if (thread_.get_id() == std::this_thread::get_id()) return;  // Run asked to stop itself
  thread_.join();
}

}  // namespace dvr::platform
