// When the main window's commands are enabled and checked, in both modes; the player's state in
// the status line.
#include <gtest/gtest.h>

#include "app/command_ids.h"
#include "app/command_rules.h"
#include "app/status_text.h"
#include "engine/viewer_engine.h"

namespace dvr::app {
namespace {

TEST(CommandRules, PlayerCommandsNeedAPlayingEngine) {
  WindowFacts facts;
  for (const int id : {kCmdPlay, kCmdBackward, kCmdPause, kCmdFastForward, kCmdFastBackward,
                       kCmdStepForward, kCmdStepBackward}) {
    facts.engine_state = 0;
    EXPECT_FALSE(StateOf(id, facts).enabled) << id;
    facts.engine_state = 6;
    EXPECT_TRUE(StateOf(id, facts).enabled) << id;
    facts.mode = 2;  // the live loop is not a player
    EXPECT_FALSE(StateOf(id, facts).enabled) << id;
    facts.mode = 1;
  }
  EXPECT_FALSE(StateOf(kCmdCloseFile, facts).enabled);
  facts.recording_open = true;
  EXPECT_TRUE(StateOf(kCmdCloseFile, facts).enabled);
}

TEST(CommandRules, SpanCommandsNeedTheMapTheMarksAndNoExport) {
  WindowFacts facts;
  facts.recording_open = true;
  facts.engine_state = 6;
  EXPECT_FALSE(StateOf(kCmdGoToTime, facts).enabled);  // the map is still being built
  EXPECT_TRUE(StateOf(kCmdMarkIn, facts).enabled);
  facts.time_map_ready = true;
  EXPECT_TRUE(StateOf(kCmdGoToTime, facts).enabled);
  EXPECT_FALSE(StateOf(kCmdExportSpan, facts).enabled);
  facts.span_marked = true;
  EXPECT_TRUE(StateOf(kCmdExportSpan, facts).enabled);
  facts.exporting = true;  // one export at a time, and the marks hold still meanwhile
  EXPECT_FALSE(StateOf(kCmdExportSpan, facts).enabled);
  EXPECT_FALSE(StateOf(kCmdMarkOut, facts).enabled);
  EXPECT_TRUE(StateOf(kCmdGoToTime, facts).enabled);
  facts.exporting = false;
  facts.mode = 2;
  for (const int id : {kCmdGoToTime, kCmdMarkIn, kCmdMarkOut, kCmdExportSpan}) {
    EXPECT_FALSE(StateOf(id, facts).enabled) << id;
  }
}

TEST(CommandRules, RemoteKeysAndLocalRecordingNeedALogin) {
  WindowFacts facts;
  facts.mode = 2;
  for (const int id : {32848, 32853, 32854, 32862, 32876, 32882}) {
    EXPECT_FALSE(StateOf(id, facts).enabled) << id;
  }
  EXPECT_FALSE(StateOf(kCmdStartRecording, facts).enabled);
  EXPECT_FALSE(StateOf(kCmdStopRecording, facts).enabled);
  facts.logged_in = true;
  EXPECT_TRUE(StateOf(32850, facts).enabled);
  EXPECT_TRUE(StateOf(kCmdStartRecording, facts).enabled);
  facts.local_recording = true;
  EXPECT_FALSE(StateOf(kCmdStartRecording, facts).enabled);
  EXPECT_TRUE(StateOf(kCmdStopRecording, facts).enabled);
  // A recording still open after the login dropped can still be stopped.
  facts.logged_in = false;
  EXPECT_TRUE(StateOf(kCmdStopRecording, facts).enabled);
}

TEST(CommandRules, ChecksFollowTheirState) {
  WindowFacts facts;
  EXPECT_TRUE(StateOf(kCmdTimeInLabels, facts).checked);
  EXPECT_TRUE(StateOf(kCmdSize448, facts).checked);
  EXPECT_FALSE(StateOf(kCmdSize544, facts).checked);
  EXPECT_TRUE(StateOf(kCmdNormalSize, facts).checked);
  EXPECT_FALSE(StateOf(kCmdMaximize, facts).checked);
  EXPECT_TRUE(StateOf(kCmdPlayerMode, facts).checked);
  EXPECT_FALSE(StateOf(kCmdNetworkMode, facts).checked);
  facts = {.mode = 2, .time_in_labels = false, .video = {640, 544}, .maximized = true,
           .always_on_top = true, .muted = true};
  EXPECT_FALSE(StateOf(kCmdTimeInLabels, facts).checked);
  EXPECT_TRUE(StateOf(kCmdSize544, facts).checked);
  EXPECT_FALSE(StateOf(kCmdSize448, facts).checked);
  EXPECT_TRUE(StateOf(kCmdMaximize, facts).checked);
  EXPECT_FALSE(StateOf(kCmdNormalSize, facts).checked);
  EXPECT_TRUE(StateOf(kCmdAlwaysOnTop, facts).checked);
  EXPECT_TRUE(StateOf(kCmdMute, facts).checked);
  EXPECT_TRUE(StateOf(kCmdNetworkMode, facts).checked);
  // A window dragged to another size checks neither size.
  facts.video = {700, 500};
  EXPECT_FALSE(StateOf(kCmdSize544, facts).checked);
  EXPECT_FALSE(StateOf(kCmdSize448, facts).checked);
}

TEST(CommandRules, EverythingElseIsAlwaysThere) {
  const WindowFacts facts;
  for (const int id : {kCmdOpenFile, kCmdOpenDisk, kCmdSingle, kCmdSplit4, kCmdSplit9, kCmdSplit16,
                       kCmdStillImage, kCmdExport, kCmdOptions, kCmdNetworkOptions, kCmdConnect,
                       kCmdAbout, kCmdClose}) {
    EXPECT_TRUE(StateOf(id, facts).enabled) << id;
  }
}

}  // namespace
}  // namespace dvr::app

namespace dvr::app {
namespace {

TEST(StatusText, PlayingShowsTheSpeedThenThreeBlanks) {
  EXPECT_EQ(PlayerStateText(engine::StateName(2), 2, 16), "再生 x 16.0   ");
  EXPECT_EQ(PlayerStateText(engine::StateName(3), 3, 1), "再生 x 1.0   ");
  EXPECT_EQ(PlayerStateText(engine::StateName(6), 6, 16), "一時停止");
  EXPECT_EQ(PlayerStateText(engine::StateName(0), 0, 1), "READY");
  EXPECT_EQ(PlayerStateText(engine::StateName(4), 4, 1), "STEPF");
  EXPECT_EQ(PlayerStateText(engine::StateName(7), 7, 1), "SEARCH");
  EXPECT_EQ(PlayerStateText("Play", 2, 2), "Play x 2.0   ");
}

}  // namespace
}  // namespace dvr::app
