// Making bitmaps partly transparent: by a key colour, and through a mask with greys.
#include <gtest/gtest.h>

#include "ui/skin_pixmap.h"
#include "widget_probe.h"

namespace dvr::test {
namespace {

TEST(SkinPixmap, OnlyTheExactKeyColourBecomesTransparent) {
  QPixmap pixmap = SolidStrip({qRgb(255, 0, 255), qRgb(254, 0, 255)}, QSize(2, 2), 2);
  const QImage keyed = ui::WithKeyColourTransparent(pixmap, QColor(255, 0, 255)).toImage();
  EXPECT_EQ(keyed.devicePixelRatio(), 2);
  EXPECT_EQ(qAlpha(keyed.pixel(1, 1)), 0);
  EXPECT_EQ(keyed.pixel(5, 1), qRgb(254, 0, 255));
}

TEST(SkinPixmap, AMaskIsOpaqueInBlackTransparentInWhitePartlyInGrey) {
  QImage frame(3, 1, QImage::Format_ARGB32);
  frame.fill(qRgba(200, 100, 50, 255));
  frame.setPixel(2, 0, qRgba(200, 100, 50, 102));
  QImage mask(3, 1, QImage::Format_RGB32);
  mask.setPixel(0, 0, qRgb(0, 0, 0));
  mask.setPixel(1, 0, qRgb(255, 255, 255));
  mask.setPixel(2, 0, qRgb(128, 128, 128));
  QPixmap frame_pixmap = QPixmap::fromImage(frame), mask_pixmap = QPixmap::fromImage(mask);
  frame_pixmap.setDevicePixelRatio(2);
  mask_pixmap.setDevicePixelRatio(2);
  const QImage masked =
      ui::ThroughMask(frame_pixmap, mask_pixmap).toImage().convertToFormat(QImage::Format_ARGB32);
  EXPECT_EQ(masked.devicePixelRatio(), 2);
  EXPECT_EQ(masked.pixel(0, 0), qRgba(200, 100, 50, 255));
  EXPECT_EQ(qAlpha(masked.pixel(1, 0)), 0);
  EXPECT_EQ(qAlpha(masked.pixel(2, 0)), 102 * 127 / 255);
}

TEST(SkinPixmap, AMissingSkinBitmapIsNull) {
  EXPECT_TRUE(ui::LoadSkinPixmap("no-such-bitmap").isNull());
}

}  // namespace
}  // namespace dvr::test
