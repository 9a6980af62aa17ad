#include "app/background_job.h"

#include <QMetaObject>

namespace dvr::app {

void BackgroundJob::Start(std::function<void(const std::atomic<bool>& cancel)> work) {
  Cancel();
  cancel_ = false;
  busy_ = true;
  thread_ = std::thread([this, work = std::move(work)] {
    work(cancel_);
    busy_ = false;
  });
}

void BackgroundJob::Cancel() {
  cancel_ = true;
  if (thread_.joinable()) thread_.join();
  busy_ = false;
}

void BackgroundJob::Post(std::function<void()> call) const {
  QMetaObject::invokeMethod(context_, std::move(call), Qt::QueuedConnection);
}

}  // namespace dvr::app
