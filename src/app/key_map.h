#pragma once
// A key pressed over the main window as the virtual-key code the DVR's key translation takes:
// letters 65..90, digits 48..57 (the keypad's digits too), F1..F12 112..123, the arrows and the
// editing keys by their codes. 0 for a key that has none.
namespace dvr::app {

int VirtualKeyFor(int qt_key);

}  // namespace dvr::app
