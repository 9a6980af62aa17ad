#include "display/mouse_recorder.h"

namespace dvr::display {

bool MouseRecorder::Hit(int x, int y, int width, int height) {
  if (x < 0 || x >= width || y < 0 || y >= height) return false;
  report_.x = x;
  report_.y = y;
  report_.width = width;
  report_.height = height;
  report_.pending = true;
  return true;
}

void MouseRecorder::Move(int x, int y, int width, int height, int buttons) {
  std::lock_guard lock(mutex_);
  if (Hit(x, y, width, height) && (buttons == 0 || buttons == 1 || buttons == 2)) report_.state = buttons;
}

void MouseRecorder::LeftDown(int x, int y, int width, int height) {
  std::lock_guard lock(mutex_);
  if (Hit(x, y, width, height)) report_.state = 1;
}

void MouseRecorder::LeftUp(int x, int y, int width, int height) {
  std::lock_guard lock(mutex_);
  if ((report_.state == 1 || report_.state == 2) && Hit(x, y, width, height)) report_.state = 0;
}

void MouseRecorder::LeftDoubleClick(int x, int y, int width, int height) {
  std::lock_guard lock(mutex_);
  if (Hit(x, y, width, height)) report_.state = 3;
}

void MouseRecorder::RightDoubleClick(int x, int y, int width, int height) {
  std::lock_guard lock(mutex_);
  if (Hit(x, y, width, height)) report_.state = 4;
}

bool MouseRecorder::TakePending(MouseReport& report) {
  std::lock_guard lock(mutex_);
  if (!report_.pending) return false;
  report = report_;
  report_.pending = false;
  return true;
}

MouseReport MouseRecorder::Peek() const {
  std::lock_guard lock(mutex_);
  return report_;
}

}  // namespace dvr::display
