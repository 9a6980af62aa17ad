#pragma once
// The frame rate of an AVI export. In the player it follows the recording: the recorder's picture
// rate for the variant and picture height, slowed by the pacing count and shared by the channels,
// never above the display's 25 or 30. From a live DVR it is the display's rate, or 25 on a slow
// link.
namespace dvr::exporting {

// Truncated to whole frames per second; no channel gives the display's rate.
int PlayerExportRate(int channels, int picture_height, int variant, int pacing);
int NetworkExportRate(int picture_height, bool low_speed);

// The export kinds of the live export: every picture, or the current picture every 40 ms.
enum ExportKind : int { kLowSpeedExport = 6, kEveryPictureExport = 7 };

}  // namespace dvr::exporting
