// Where the thumb sits for a position and back, including ranges and sizes that would overflow or
// divide by zero.
#include <gtest/gtest.h>

#include "ui/slider_geometry.h"

namespace dvr::test {
namespace {

using ui::SliderGeometry;

TEST(SliderGeometry, PositionsAndPixelsMapBothWays) {
  const SliderGeometry geometry{.length = 110, .thumb = 10, .minimum = 0, .maximum = 100};
  EXPECT_EQ(ui::PixelForPosition(geometry, 50), 55);
  EXPECT_EQ(ui::PixelForPosition(geometry, 0), ui::FirstThumbPixel(geometry));
  EXPECT_EQ(ui::PixelForPosition(geometry, 100), ui::LastThumbPixel(geometry));
  EXPECT_EQ(ui::PixelForPosition(geometry, 150), 105);  // clamped first
  for (int pixel = ui::FirstThumbPixel(geometry); pixel <= ui::LastThumbPixel(geometry); ++pixel) {
    EXPECT_EQ(ui::PixelForPosition(geometry, ui::PositionForPixel(geometry, pixel)), pixel);
  }
  EXPECT_EQ(ui::PositionForPixel(geometry, -40), 0);
  EXPECT_EQ(ui::PositionForPixel(geometry, 400), 100);
}

TEST(SliderGeometry, MarginsShiftTheTravel) {
  const SliderGeometry geometry{.length = 130,
                                .start_margin = 12,
                                .end_margin = 8,
                                .thumb = 10,
                                .minimum = -50,
                                .maximum = 50};
  EXPECT_EQ(ui::FirstThumbPixel(geometry), 17);
  EXPECT_EQ(ui::LastThumbPixel(geometry), 117);
  EXPECT_EQ(ui::PixelForPosition(geometry, 0), 67);
  EXPECT_EQ(ui::PositionForPixel(geometry, 67), 0);
  EXPECT_EQ(ui::PositionForPixel(geometry, 27), -40);
}

TEST(SliderGeometry, ARecordingSizedRangeDoesNotOverflow) {
  const SliderGeometry geometry{.length = 2000, .thumb = 10, .minimum = 0, .maximum = 16777216};
  EXPECT_EQ(ui::PixelForPosition(geometry, 16777216), 1995);
  EXPECT_EQ(ui::PixelForPosition(geometry, 8388608), 5 + 995);
  EXPECT_EQ(ui::PositionForPixel(geometry, 1995), 16777216);
  EXPECT_EQ(ui::PositionForPixel(geometry, 1000), 8388608);
}

TEST(SliderGeometry, DegenerateSlidersHoldTheMinimum) {
  const SliderGeometry empty_range{.length = 110, .thumb = 10, .minimum = 7, .maximum = 7};
  EXPECT_EQ(ui::PixelForPosition(empty_range, 7), 5);
  EXPECT_EQ(ui::PositionForPixel(empty_range, 60), 7);
  const SliderGeometry reversed{.length = 110, .thumb = 10, .minimum = 9, .maximum = 3};
  EXPECT_EQ(ui::PositionForPixel(reversed, 60), 9);
  EXPECT_EQ(ui::PixelForPosition(reversed, 5), 5);

  const SliderGeometry narrow{
      .length = 20, .start_margin = 6, .end_margin = 6, .thumb = 10, .minimum = 0, .maximum = 100};
  EXPECT_EQ(ui::PixelForPosition(narrow, 100), 11);
  EXPECT_EQ(ui::PositionForPixel(narrow, 15), 0);
  EXPECT_EQ(ui::FirstThumbPixel(narrow), 11);
  EXPECT_EQ(ui::LastThumbPixel(narrow), 11);  // never before the first
}

}  // namespace
}  // namespace dvr::test
