#pragma once
// Where the system's message-box texts go: a dialog in the viewer, standard error in the tools,
// a list in tests.
#include <string_view>

namespace dvr::platform {

class Notices {
 public:
  virtual ~Notices() = default;
  virtual void Show(std::string_view text) = 0;
};

class StderrNotices final : public Notices {
 public:
  void Show(std::string_view text) override;
};

}  // namespace dvr::platform
