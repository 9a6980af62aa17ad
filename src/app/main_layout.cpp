#include "app/main_layout.h"

#include <iterator>

#include "app/command_ids.h"

namespace dvr::app {
namespace {

// Where a control's table position is counted from. The table's positions are those of a 608 x 300
// window: the right-hand and bottom anchors move a control by the difference.
enum class Anchor { kTopLeft, kTopRight, kBottomLeft, kBottomRight, kStatusRows };

// The modes a control is shown in, as a mask of the mode numbers (1 player, 2 network).
constexpr int kNever = 0;
constexpr int kPlayer = 1;
constexpr int kNetwork = 2;
constexpr int kBoth = kPlayer | kNetwork;

constexpr int kTableWidth = 608;
constexpr int kTableHeight = 300;
// In narrower windows the mute button and the volume slider would run into the row of buttons on
// their left, which is longer in network mode.
constexpr int kVolumeMinWidthPlayer = 518;
constexpr int kVolumeMinWidthNetwork = 636;

struct Control {
  int id;
  Anchor anchor;
  int x;
  int y;
  int modes;
};

constexpr int Remote(int n) {
  return kCmdFirstRemote + n;
}

constexpr Control kControls[] = {
    {kCtlIcon, Anchor::kTopLeft, 5, 5, kBoth},
    {kCtlTitle, Anchor::kTopLeft, 22, 4, kBoth},
    {kCtlMinimize, Anchor::kTopRight, 560, 2, kBoth},
    {kCtlCloseButton, Anchor::kTopRight, 582, 2, kBoth},
    {kCmdPlayerMode, Anchor::kTopLeft, 160, 2, kNever},
    {kCmdNetworkMode, Anchor::kTopLeft, 240, 2, kNever},
    {kCtlStatusLine, Anchor::kStatusRows, 0, 0, kBoth},
    {kCtlPosition, Anchor::kStatusRows, 0, 0, kPlayer},
    {kCmdOpenFile, Anchor::kBottomLeft, 10, 262, kPlayer},
    {kCmdFastBackward, Anchor::kBottomLeft, 49, 262, kPlayer},
    {kCmdBackward, Anchor::kBottomLeft, 80, 262, kPlayer},
    {kCmdStepBackward, Anchor::kBottomLeft, 111, 262, kPlayer},
    {kCmdPause, Anchor::kBottomLeft, 142, 262, kPlayer},
    {kCmdStepForward, Anchor::kBottomLeft, 173, 262, kPlayer},
    {kCmdPlay, Anchor::kBottomLeft, 204, 262, kPlayer},
    {kCmdFastForward, Anchor::kBottomLeft, 235, 262, kPlayer},
    {kCmdStillImage, Anchor::kBottomLeft, 274, 262, kPlayer},
    {kCmdExport, Anchor::kTopLeft, 360, 2, kBoth},
    {kCmdSingle, Anchor::kBottomLeft, 336, 262, kPlayer},
    {kCmdSplit4, Anchor::kBottomLeft, 367, 262, kPlayer},
    {kCmdSplit9, Anchor::kBottomLeft, 398, 262, kNever},
    {kCmdSplit16, Anchor::kBottomLeft, 429, 262, kNever},
    {kCmdMute, Anchor::kBottomRight, 500, 262, kBoth},
    {kCtlVolume, Anchor::kBottomRight, 532, 269, kBoth},
    {kCmdConnect, Anchor::kBottomLeft, 10, 262, kNetwork},
    {Remote(0), Anchor::kBottomLeft, 49, 262, kNetwork},
    {Remote(1), Anchor::kBottomLeft, 80, 262, kNetwork},
    {Remote(2), Anchor::kBottomLeft, 111, 262, kNetwork},
    {Remote(3), Anchor::kBottomLeft, 142, 262, kNetwork},
    {Remote(4), Anchor::kBottomLeft, 173, 262, kNetwork},
    {Remote(5), Anchor::kBottomLeft, 204, 262, kNetwork},
    {Remote(7), Anchor::kBottomLeft, 243, 262, kNetwork},
    {Remote(8), Anchor::kBottomLeft, 274, 262, kNetwork},
    {Remote(9), Anchor::kBottomLeft, 305, 262, kNetwork},
    {Remote(10), Anchor::kBottomLeft, 336, 262, kNetwork},
    {Remote(6), Anchor::kBottomLeft, 367, 262, kNetwork},
    {Remote(11), Anchor::kBottomLeft, 406, 262, kNetwork},
    {Remote(12), Anchor::kBottomLeft, 437, 262, kNetwork},
    {Remote(13), Anchor::kBottomLeft, 468, 262, kNetwork},
    {Remote(14), Anchor::kBottomLeft, 499, 262, kNetwork},
};

ControlPlacement Place(const Control& control, int width, int height) {
  ControlPlacement place{control.id, control.x, control.y, 0, 0, false};
  const int right_shift = width - kTableWidth;
  const int down_shift = height - kTableHeight;
  switch (control.anchor) {
    case Anchor::kTopLeft:
      break;
    case Anchor::kTopRight:
      place.x += right_shift;
      break;
    case Anchor::kBottomLeft:
      place.y += down_shift;
      break;
    case Anchor::kBottomRight:
      place.x += right_shift;
      place.y += down_shift;
      break;
    case Anchor::kStatusRows:
      // The status line above the position slider, both stretched across the window.
      place.x = 13;
      if (control.id == kCtlStatusLine) {
        place.y = height - 74;
        place.width = width - 116;
        place.height = 17;
      } else {
        place.y = height - 52;
        place.width = width - 26;
      }
      break;
  }
  return place;
}

bool Shown(const Control& control, int width, int mode) {
  if ((control.modes & mode) == 0) return false;
  if (control.anchor != Anchor::kBottomRight) return true;
  return width >= (mode == kNetwork ? kVolumeMinWidthNetwork : kVolumeMinWidthPlayer);
}

}  // namespace

WindowRect WindowForVideo(VideoSize video) {
  return {0, 0, video.width + 5, video.height + 102};
}

WindowRect VideoAreaFor(int window_width, int window_height) {
  return {2, 27, window_width - 5, window_height - 102};
}

std::vector<ControlPlacement> LayoutControls(int window_width, int window_height, int mode) {
  std::vector<ControlPlacement> placements;
  placements.reserve(std::size(kControls));
  for (const Control& control : kControls) {
    ControlPlacement place = Place(control, window_width, window_height);
    place.visible = Shown(control, window_width, mode);
    placements.push_back(place);
  }
  return placements;
}

}  // namespace dvr::app
