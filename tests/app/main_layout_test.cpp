#include "app/main_layout.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "app/command_ids.h"

namespace dvr::app {
namespace {

constexpr int kPlayer = 1;
constexpr int kNetwork = 2;

std::map<int, ControlPlacement> ById(const std::vector<ControlPlacement>& placements) {
  std::map<int, ControlPlacement> by_id;
  for (const ControlPlacement& p : placements) {
    EXPECT_TRUE(by_id.emplace(p.id, p).second) << "control " << p.id << " placed twice";
  }
  return by_id;
}

std::set<int> Visible(const std::vector<ControlPlacement>& placements) {
  std::set<int> ids;
  for (const ControlPlacement& p : placements) {
    if (p.visible) ids.insert(p.id);
  }
  return ids;
}

std::set<int> Range(int first, int last) {
  std::set<int> ids;
  for (int id = first; id <= last; ++id) ids.insert(id);
  return ids;
}

std::set<int> Union(std::set<int> a, const std::set<int>& b) {
  a.insert(b.begin(), b.end());
  return a;
}

// Shown in both modes (with a window wide enough for the volume controls).
const std::set<int> kCommon = {kCtlIcon,       kCtlTitle,  kCtlMinimize, kCtlCloseButton,
                               kCtlStatusLine, kCmdExport, kCmdMute,     kCtlVolume};
const std::set<int> kPlayerOnly = {kCtlPosition,     kCmdOpenFile,   kCmdFastBackward, kCmdBackward,
                                   kCmdStepBackward, kCmdPause,      kCmdStepForward,  kCmdPlay,
                                   kCmdFastForward,  kCmdStillImage, kCmdSingle,       kCmdSplit4};
const std::set<int> kNeverShown = {kCmdSplit9, kCmdSplit16, kCmdPlayerMode, kCmdNetworkMode};
const std::set<int> kNetworkOnly = Union({kCmdConnect}, Range(kCmdFirstRemote, kCmdLastRemote));

TEST(MainLayout, TheWindowIsTheVideoAndItsFrame) {
  const WindowRect window = WindowForVideo({640, 448});
  EXPECT_EQ(window.width, 645);
  EXPECT_EQ(window.height, 550);
  const WindowRect video = VideoAreaFor(645, 550);
  EXPECT_EQ(video.x, 2);
  EXPECT_EQ(video.y, 27);
  EXPECT_EQ(video.width, 640);
  EXPECT_EQ(video.height, 448);
  EXPECT_EQ(WindowForVideo({640, 544}).height, 646);
}

TEST(MainLayout, EachModeShowsItsOwnControls) {
  const auto player = LayoutControls(645, 550, kPlayer);
  const auto network = LayoutControls(645, 550, kNetwork);
  EXPECT_EQ(Visible(player), Union(kCommon, kPlayerOnly));
  EXPECT_EQ(Visible(network), Union(kCommon, kNetworkOnly));
  // Every control is listed once, shown or not.
  const std::set<int> all = Union(Union(kCommon, kPlayerOnly), Union(kNetworkOnly, kNeverShown));
  for (const auto& placements : {player, network}) {
    std::set<int> listed;
    for (const auto& [id, place] : ById(placements)) listed.insert(id);
    EXPECT_EQ(listed, all);
    EXPECT_EQ(placements.size(), all.size());
  }
}

TEST(MainLayout, ControlsFollowTheirCornersAt640By448) {
  const auto at = ById(LayoutControls(645, 550, kPlayer));
  const auto expect_at = [&](int id, int x, int y) {
    SCOPED_TRACE(id);
    EXPECT_EQ(at.at(id).x, x);
    EXPECT_EQ(at.at(id).y, y);
  };
  expect_at(kCtlIcon, 5, 5);
  expect_at(kCtlTitle, 22, 4);
  expect_at(kCmdExport, 360, 2);
  expect_at(kCtlMinimize, 597, 2);  // 560 + 645 - 608
  expect_at(kCtlCloseButton, 619, 2);
  expect_at(kCmdOpenFile, 10, 512);  // 262 + 550 - 300
  expect_at(kCmdFastForward, 235, 512);
  expect_at(kCmdStillImage, 274, 512);
  expect_at(kCmdSplit4, 367, 512);
  expect_at(kCmdMute, 537, 512);
  expect_at(kCtlVolume, 569, 519);

  const ControlPlacement status = at.at(kCtlStatusLine);
  EXPECT_EQ(status.x, 13);
  EXPECT_EQ(status.y, 476);
  EXPECT_EQ(status.width, 529);
  EXPECT_EQ(status.height, 17);
  const ControlPlacement position = at.at(kCtlPosition);
  EXPECT_EQ(position.x, 13);
  EXPECT_EQ(position.y, 498);
  EXPECT_EQ(position.width, 619);

  // The remote keys, with the stop key (32854) placed after the four that follow it.
  const auto keys = ById(LayoutControls(645, 550, kNetwork));
  EXPECT_EQ(keys.at(kCmdConnect).x, 10);
  EXPECT_EQ(keys.at(kCmdFirstRemote).x, 49);
  EXPECT_EQ(keys.at(32853).x, 204);
  EXPECT_EQ(keys.at(32855).x, 243);
  EXPECT_EQ(keys.at(32858).x, 336);
  EXPECT_EQ(keys.at(32854).x, 367);
  EXPECT_EQ(keys.at(32859).x, 406);
  EXPECT_EQ(keys.at(kCmdLastRemote).x, 499);
  EXPECT_EQ(keys.at(kCmdLastRemote).y, 512);
}

TEST(MainLayout, TheVolumeControlsNeedAWideEnoughWindow) {
  const auto volume_shown = [](int width, int mode) {
    const auto at = ById(LayoutControls(width, 550, mode));
    EXPECT_EQ(at.at(kCmdMute).visible, at.at(kCtlVolume).visible);
    return at.at(kCtlVolume).visible;
  };
  EXPECT_FALSE(volume_shown(600, kNetwork));
  EXPECT_FALSE(volume_shown(635, kNetwork));
  EXPECT_TRUE(volume_shown(636, kNetwork));
  EXPECT_FALSE(volume_shown(517, kPlayer));
  EXPECT_TRUE(volume_shown(518, kPlayer));
}

TEST(MainLayout, SomeButtonsAreNeverShown) {
  for (const int mode : {kPlayer, kNetwork}) {
    const auto at = ById(LayoutControls(1920, 1080, mode));
    for (const int id : kNeverShown) EXPECT_FALSE(at.at(id).visible) << id << " in mode " << mode;
  }
}

}  // namespace
}  // namespace dvr::app
