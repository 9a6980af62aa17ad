#pragma once
// The frame rate of an AVI export. In the player it follows the recording: the recorder's picture
// rate for the variant and picture height, slowed by the pacing count and shared by the channels,
// never above the display's 25 or 30. From a live DVR it is the display's rate, or 25 on a slow
// link.
namespace dvr::exporting {

// Frames per second as an exact fraction in lowest terms, so that a long export keeps time with
// its sound (7.5 is 15/2, not 7).
struct FrameRate {
  int num = 30;
  int den = 1;

  // Implicit: a whole number of frames per second is a rate as it stands.
  constexpr FrameRate(int per_second = 30) : num(per_second) {}
  constexpr FrameRate(int numerator, int denominator) : num(numerator), den(denominator) {}
  bool operator==(const FrameRate&) const = default;
  double PerSecond() const { return static_cast<double>(num) / den; }
};

// No channel gives the display's rate.
FrameRate PlayerExportRate(int channels, int picture_height, int variant, int pacing);
int NetworkExportRate(int picture_height, bool low_speed);

// The export kinds of the live export: every picture, or the current picture every 40 ms.
enum ExportKind : int { kLowSpeedExport = 6, kEveryPictureExport = 7 };

}  // namespace dvr::exporting
