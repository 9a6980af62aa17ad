#include "platform/process_services.h"

#include <csignal>
#include <mutex>

namespace dvr::platform {
namespace {

std::mutex mutex;
int users = 0;                    // guarded by mutex
void (*previous_sigpipe)(int) = SIG_DFL;  // guarded by mutex

}  // namespace

void AcquireProcessServices() {
  std::lock_guard lock(mutex);
  if (users++ == 0) previous_sigpipe = std::signal(SIGPIPE, SIG_IGN);
}

void ReleaseProcessServices() {
  std::lock_guard lock(mutex);
  if (--users == 0) std::signal(SIGPIPE, previous_sigpipe);
}

}  // namespace dvr::platform
