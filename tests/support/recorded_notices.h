#pragma once
// Notices kept in a list, for tests to look at.
#include <mutex>
#include <string>
#include <vector>

#include "platform/notices.h"

namespace dvr::test {

class RecordedNotices final : public platform::Notices {
 public:
  void Show(std::string_view text) override {
    std::lock_guard lock(mutex_);
    texts_.emplace_back(text);
  }
  std::vector<std::string> Texts() const {
    std::lock_guard lock(mutex_);
    return texts_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> texts_;
};

}  // namespace dvr::test
