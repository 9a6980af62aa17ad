#pragma once
// The system's message-box texts in the viewer: from any thread, shown on the window thread as a
// box that does not block (posted, never waited for).
#include <QWidget>

#include "platform/notices.h"

namespace dvr::app {

class GuiNotices final : public platform::Notices {
 public:
  explicit GuiNotices(QWidget* parent) : parent_(parent) {}
  void Show(std::string_view text) override;

 private:
  QWidget* parent_;
};

}  // namespace dvr::app
