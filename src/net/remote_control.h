#pragma once
// The DVR's remote control: one key code per function, the keyboard's keys translated to key
// codes, and the mouse modes.
#include <optional>
#include <span>

namespace dvr::net {

struct RemoteCommand {
  int command_id;    // shared by the menu item, the button and its tooltip
  const char* text;  // the menu text
  int key_code;
};

// Every remote-control command of the viewer.
std::span<const RemoteCommand> RemoteCommands();
// The key code of a command id, or nothing.
std::optional<int> KeyCodeForCommand(int command_id);

// The key code a keyboard key (its virtual-key code) sends, or nothing when it sends none.
std::optional<int> KeyCodeForKey(int virtual_key);

enum MouseMode : int { kMouseOff = 0, kMouseHiddenCursor = 1, kMouseShownCursor = 2 };

}  // namespace dvr::net
