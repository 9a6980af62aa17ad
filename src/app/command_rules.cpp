#include "app/command_rules.h"

#include "app/command_ids.h"

namespace dvr::app {

CommandState StateOf(int id, const WindowFacts& facts) {
  if (IsRemoteCommand(id)) return {facts.logged_in, false};
  switch (id) {
    case kCmdCloseFile:
      return {facts.recording_open, false};
    case kCmdPlay:
    case kCmdBackward:
    case kCmdPause:
    case kCmdFastForward:
    case kCmdFastBackward:
    case kCmdStepForward:
    case kCmdStepBackward:
      // The engine's state is 0 whenever no worker plays; in network mode the live loop's state
      // stays 0 as well, so these follow the player.
      return {facts.mode == 1 && facts.engine_state != 0, false};
    case kCmdTimeInLabels:
      return {true, facts.time_in_labels};
    case kCmdSize448:
      return {true, facts.video.width == 640 && facts.video.height == 448};
    case kCmdSize544:
      return {true, facts.video.width == 640 && facts.video.height == 544};
    case kCmdNormalSize:
      return {true, !facts.maximized};
    case kCmdMaximize:
      return {true, facts.maximized};
    case kCmdAlwaysOnTop:
      return {true, facts.always_on_top};
    case kCmdMute:
      return {true, facts.muted};
    case kCmdStartRecording:
      return {facts.logged_in && !facts.local_recording, false};
    case kCmdStopRecording:
      return {facts.local_recording, false};
    case kCmdGoToTime:
      return {facts.mode == 1 && facts.recording_open && facts.time_map_ready, false};
    case kCmdMarkIn:
    case kCmdMarkOut:
      return {facts.mode == 1 && facts.engine_state != 0 && !facts.exporting, false};
    case kCmdExportSpan:
      return {facts.mode == 1 && facts.recording_open && facts.time_map_ready && facts.span_marked &&
                  !facts.exporting,
              false};
    case kCmdPlayerMode:
      return {true, facts.mode == 1};
    case kCmdNetworkMode:
      return {true, facts.mode == 2};
    default:
      return {true, false};
  }
}

}  // namespace dvr::app
