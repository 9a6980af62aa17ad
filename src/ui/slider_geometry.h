#pragma once
// Where a slider's thumb sits for a position and which position a pixel means. Pure arithmetic on
// the channel's length along the slider, its two margins along it and the thumb's length, so that
// it is checked without a widget. Degenerate sliders (an empty range, a channel no longer than its
// margins and thumb) never divide by zero: every pixel then means the minimum, and the minimum
// sits at the start of the travel.
namespace dvr::ui {

struct SliderGeometry {
  int length = 0;        // the channel's length: the client width, or height when vertical
  int start_margin = 0;  // left (or top) inset of the channel
  int end_margin = 0;    // right (or bottom) inset
  int thumb = 0;         // the thumb's length along the channel
  int minimum = 0;
  int maximum = 0;
};

// The pixel of the thumb's centre for a position (clamped into the range first).
int PixelForPosition(const SliderGeometry& geometry, int position);
// The position a thumb centre at `pixel` means, clamped into the range.
int PositionForPixel(const SliderGeometry& geometry, int pixel);
// The first and last pixel the thumb's centre can take.
int FirstThumbPixel(const SliderGeometry& geometry);
int LastThumbPixel(const SliderGeometry& geometry);

}  // namespace dvr::ui
