#include "ui/slider_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace dvr::ui {
namespace {

// How far the thumb's centre can travel: the channel less its margins and the thumb itself.
int Travel(const SliderGeometry& geometry) {
  return geometry.length - geometry.start_margin - geometry.end_margin - geometry.thumb;
}

bool Degenerate(const SliderGeometry& geometry) {
  return geometry.maximum <= geometry.minimum || Travel(geometry) <= 0;
}

}  // namespace

int PixelForPosition(const SliderGeometry& geometry, int position) {
  const int first = FirstThumbPixel(geometry);
  if (Degenerate(geometry)) return first;
  const int64_t clamped = std::clamp(position, geometry.minimum, geometry.maximum);
  // A position slider's range is a recording's size in 4096-byte blocks: the product of a range
  // of millions and a travel of thousands of pixels needs 64 bits.
  const int64_t range = int64_t{geometry.maximum} - geometry.minimum;
  return first + static_cast<int>(Travel(geometry) * (clamped - geometry.minimum) / range);
}

int PositionForPixel(const SliderGeometry& geometry, int pixel) {
  if (Degenerate(geometry)) return geometry.minimum;
  const double minimum = geometry.minimum, maximum = geometry.maximum;
  const double offset = static_cast<double>(pixel) - FirstThumbPixel(geometry);
  // Multiplied before dividing: whole-number products stay exact, so a pixel that stands for a
  // whole position gives exactly that position rather than one below it after truncation.
  const double position = std::trunc(minimum + offset * (maximum - minimum) / Travel(geometry));
  return static_cast<int>(std::clamp(position, minimum, maximum));
}

int FirstThumbPixel(const SliderGeometry& geometry) {
  return geometry.start_margin + geometry.thumb / 2;
}

int LastThumbPixel(const SliderGeometry& geometry) {
  return std::max(FirstThumbPixel(geometry),
                  geometry.length - geometry.end_margin - geometry.thumb / 2);
}

}  // namespace dvr::ui
