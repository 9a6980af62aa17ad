#pragma once
// The main window's commands, once: the menu text, the accelerator, the button picture and the
// tooltip of every command id, and the two context menus built from them.
#include <QString>

#include <span>
#include <vector>

namespace dvr::app {

struct CommandSpec {
  int id = 0;
  const char* text = nullptr;      // the menu text (a source text); nullptr: the remote key's own
  const char* shortcut = nullptr;  // "Ctrl+O"; nullptr: none
  const char* image = nullptr;     // the button's picture name; nullptr: no button
  const char* tooltip = nullptr;   // nullptr: the menu text without its accelerator part
  bool checkable = false;
};

std::span<const CommandSpec> Commands();
// The command's menu text, translated.
QString CommandText(const CommandSpec& command);
const CommandSpec* FindCommand(int id);

// A context menu as a list: command ids, kSeparator, and kSubmenu ... kEndSubmenu around the
// remote-control commands ("Dvr Control").
inline constexpr int kSeparator = 0;
inline constexpr int kSubmenu = -1;
inline constexpr int kEndSubmenu = -2;
// "Player(9ch)" in player mode, "Viewer(Net)" in network mode.
const std::vector<int>& ContextMenu(int mode);

}  // namespace dvr::app
