#pragma once
// The Qt application the offscreen screen needs, set up for a shell without a display, and the
// screen's label style.
#include <QGuiApplication>

#include <memory>

#include "display/presenter.h"

namespace dvrtool {

// The labels as the viewer sets them up at start: Arial 16, yellow on a black outline.
void SetViewerLabels(dvr::display::Presenter& screen);

class HeadlessQt {
 public:
  HeadlessQt();

 private:
  int argc_ = 1;
  char name_[8] = "dvrtool";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QGuiApplication> application_;
};

}  // namespace dvrtool
