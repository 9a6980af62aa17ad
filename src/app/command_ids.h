#pragma once
// The identifiers of the main window's commands and controls: one id per action, shared by the
// context-menu item, the button, the accelerator and the tooltip text.
namespace dvr::app {

enum CommandId : int {
  kCmdAbout = 16,
  kCmdStillImage = 1253,
  kCmdExport = 1254,
  kCmdSingle = 1694,
  kCmdTimeInLabels = 32774,
  kCmdNormalSize = 32775,
  kCmdOpenFile = 32776,
  kCmdClose = 32777,
  kCmdMute = 32787,
  kCmdPlay = 32788,
  kCmdPause = 32789,
  kCmdFastForward = 32790,
  kCmdFastBackward = 32791,
  kCmdStepForward = 32792,
  kCmdStepBackward = 32793,
  kCmdSplit4 = 32796,
  kCmdSplit9 = 32797,
  kCmdSplit16 = 32798,
  kCmdOptions = 32800,
  kCmdBackward = 32804,
  kCmdAlwaysOnTop = 32805,
  kCmdSize448 = 32807,
  kCmdSize544 = 32808,
  kCmdMaximize = 32809,
  kCmdCloseFile = 32815,
  kCmdOpenDisk = 32820,
  kCmdConnect = 32846,
  kCmdPlayerMode = 32863,
  kCmdNetworkMode = 32864,
  kCmdNetworkOptions = 32865,
  kCmdStartRecording = 32873,
  kCmdStopRecording = 32874,
  // Finding the moment: the recorded-time map's commands.
  kCmdGoToTime = 32890,
  kCmdMarkIn = 32891,
  kCmdMarkOut = 32892,
  kCmdExportSpan = 32893,
  // Remote keys: 32848..32862 and 32876..32882 (net/remote_control.h has their key codes).
  kCmdFirstRemote = 32848,
  kCmdLastRemote = 32862,
  kCmdFirstRemoteExtra = 32876,
  kCmdLastRemoteExtra = 32882,
};

// Controls of the main window that are not commands.
enum ControlId : int {
  kCtlVolume = 1638,
  kCtlStatusLine = 1652,
  kCtlPosition = 1658,
  kCtlMinimize = 1672,
  kCtlCloseButton = 1674,
  kCtlIcon = 1676,
  kCtlTitle = 1695,
};

inline bool IsRemoteCommand(int id) {
  return (id >= kCmdFirstRemote && id <= kCmdLastRemote) ||
         (id >= kCmdFirstRemoteExtra && id <= kCmdLastRemoteExtra);
}

}  // namespace dvr::app
