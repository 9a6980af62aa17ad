#pragma once
// The last mouse event over the picture, kept for the DVR's mouse remote control: written by the
// window's mouse handlers, taken by the network client at most every 250 ms.
#include <mutex>

#include "display/split_layout.h"

namespace dvr::display {

class MouseRecorder {
 public:
  // Button flags of a move: exactly 1 (left) or 2 (right) or 0 set the state; others only move.
  void Move(int x, int y, int width, int height, int buttons);
  void LeftDown(int x, int y, int width, int height);
  // Ends a drag (state 1 or 2) inside the window: state 0.
  void LeftUp(int x, int y, int width, int height);
  void LeftDoubleClick(int x, int y, int width, int height);
  void RightDoubleClick(int x, int y, int width, int height);

  // The report if one is pending; the pending mark is cleared either way.
  bool TakePending(MouseReport& report);
  MouseReport Peek() const;

 private:
  // Records the point when it lies in the window; false (nothing changed) otherwise.
  bool Hit(int x, int y, int width, int height);

  mutable std::mutex mutex_;
  MouseReport report_;  // guarded by mutex_
};

}  // namespace dvr::display
