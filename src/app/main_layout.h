#pragma once
// Where the main window's controls go: a pure function of the window's size and mode, so that it
// is checked without a widget. The video area sits at (2, 27) and is the window less 5 in width
// and 102 in height.
#include <vector>

namespace dvr::app {

inline constexpr int kMinWindowWidth = 578;
inline constexpr int kMinWindowHeight = 486;

struct VideoSize {
  int width = 640;
  int height = 448;
};

struct ControlPlacement {
  int id = 0;  // a CommandId or ControlId (app/command_ids.h)
  int x = 0;
  int y = 0;
  int width = 0;   // 0: the control keeps its own size
  int height = 0;  // 0: likewise
  bool visible = false;
};

struct WindowRect {
  int x = 0, y = 0, width = 0, height = 0;
};

// The window for a requested video size: (w + 5) x (h + 102).
WindowRect WindowForVideo(VideoSize video);
// The video area of a window of W x H: (2, 27, W - 5, H - 102).
WindowRect VideoAreaFor(int window_width, int window_height);
// Every control of the layout table with its place and whether it is shown in `mode` (1 player,
// 2 network). Controls that are never shown are listed with visible false.
std::vector<ControlPlacement> LayoutControls(int window_width, int window_height, int mode);

}  // namespace dvr::app
