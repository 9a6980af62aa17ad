#pragma once
// The Qt application the offscreen screen needs, set up for a shell without a display.
#include <QGuiApplication>

#include <memory>

namespace dvrtool {

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
