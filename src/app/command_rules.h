#pragma once
// When a command of the main window is enabled and when it is checked: a pure function of what the
// window and the engine are doing, so that every rule is checked without a widget.
#include "app/main_layout.h"

namespace dvr::app {

struct WindowFacts {
  int mode = 1;              // 1 player, 2 network client
  int engine_state = 0;      // the engine worker's state (0: nothing playing)
  bool recording_open = false;
  bool time_in_labels = true;
  VideoSize video;
  bool maximized = false;
  bool always_on_top = false;
  bool muted = false;
  bool logged_in = false;
  bool local_recording = false;
  bool time_map_ready = false;  // the open source's recorded-time map is there
  bool span_marked = false;     // marks in and out, in that order
  bool exporting = false;       // an export of any kind is under way
};

struct CommandState {
  bool enabled = true;
  bool checked = false;
};

CommandState StateOf(int command_id, const WindowFacts& facts);

}  // namespace dvr::app
