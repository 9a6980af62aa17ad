#pragma once
// Pictures for the video window tests and ways to look at what the window shows.
#include <QImage>
#include <QTest>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "codec/yuv_to_rgb.h"
#include "display/qt/display_window.h"

namespace dvr::test {

// A planar 4:2:0 picture of one colour.
inline std::vector<uint8_t> FlatPicture(uint8_t y, uint8_t u, uint8_t v, int width = 640,
                                        int height = 224) {
  const size_t luma = static_cast<size_t>(width) * static_cast<size_t>(height);
  std::vector<uint8_t> picture(luma + luma / 2, u);
  std::fill_n(picture.begin(), luma, y);
  std::fill(picture.begin() + static_cast<std::ptrdiff_t>(luma + luma / 4), picture.end(), v);
  return picture;
}

// A distinct flat colour per slot, and that colour as the window shows it.
inline std::vector<uint8_t> SlotPicture(int slot, int width = 640, int height = 224) {
  return FlatPicture(static_cast<uint8_t>(60 + 11 * slot), static_cast<uint8_t>(70 + 9 * slot),
                     static_cast<uint8_t>(200 - 8 * slot), width, height);
}
inline QRgb SlotColour(int slot) {
  const std::vector<uint8_t> picture = SlotPicture(slot, 320, 112);
  QImage one(320, 112, QImage::Format_RGB32);
  codec::YuvToRgb32(one.bits(), one.bytesPerLine(), picture.data(), 320, 112);
  return one.pixel(100, 50);
}

inline bool Near(QRgb a, QRgb b, int tolerance = 2) {
  return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
         std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

// Mean absolute difference per colour channel of two images of one size.
inline double MeanDifference(const QImage& a, const QImage& b) {
  const QImage x = a.convertToFormat(QImage::Format_RGB32),
               y = b.convertToFormat(QImage::Format_RGB32);
  double sum = 0;
  for (int row = 0; row < x.height(); ++row) {
    for (int column = 0; column < x.width(); ++column) {
      const QRgb p = x.pixel(column, row), q = y.pixel(column, row);
      sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
             std::abs(qBlue(p) - qBlue(q));
    }
  }
  return sum / (3.0 * x.width() * x.height());
}

// Pixels of the label text colour (0x80FFFF: red and green 255, blue 128) in a region.
inline int LabelPixels(const QImage& image, const QRect& region) {
  int count = 0;
  for (int y = region.top(); y <= region.bottom() && y < image.height(); ++y) {
    for (int x = region.left(); x <= region.right() && x < image.width(); ++x) {
      if (Near(image.pixel(x, y), qRgb(255, 255, 128), 40)) ++count;
    }
  }
  return count;
}

// The rightmost column with label text in a region, -1 without any.
inline int LabelRightEdge(const QImage& image, const QRect& region) {
  for (int x = region.right(); x >= region.left(); --x) {
    if (LabelPixels(image, QRect(x, region.top(), 1, region.height())) > 0) return x;
  }
  return -1;
}

// Runs the queued repaints and the events they post.
inline void Settle() {
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

}  // namespace dvr::test
