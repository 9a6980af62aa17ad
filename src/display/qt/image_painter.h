#pragma once
// Drawing slots into an image with QPainter: a picture converted to RGB and stretched into its
// tile, black fills, and the label with its one-pixel outline. The offscreen screen and the
// window's software path draw the same way with it; the OpenGL path draws its labels with
// DrawOutlinedText.
#include <QFont>
#include <QImage>

#include <cstdint>
#include <string>

#include "display/labels.h"
#include "display/split_layout.h"

class QPainter;

namespace dvr::display {

// A COLORREF (0x00BBGGRR) as a Qt colour.
QColor ColourOf(uint32_t colorref);
QRect QRectOf(const Rect& r);
// The label font; `scale` is the device pixel ratio of the target.
QFont FontOf(const LabelFont& font, qreal scale = 1);
// The label text with its outline (the eight neighbouring places in the outline colour first),
// top-left corner at (x, y).
void DrawOutlinedText(QPainter& painter, const QString& text, int x, int y,
                      const LabelSettings& style);

class ImagePainter {
 public:
  ImagePainter();

  void DrawPicture(QImage& target, const Rect& tile, const uint8_t* picture, int width, int height);
  static void FillBlack(QImage& target, const Rect& tile);
  void DrawLabel(QImage& target, const std::string& text, int x, int y, const LabelSettings& style);
  void SetFont(const LabelFont& font, qreal scale = 1) { font_ = FontOf(font, scale); }

  // An export canvas of width x height, black; made anew only when the size changes.
  static void PrepareCanvas(QImage& canvas, int width, int height);
  // The canvas as a 24-bit bottom-up frame; false when it is not width x height.
  static bool ReadDib24(const QImage& canvas, uint8_t* frame, int width, int height);

 private:
  QImage converted_;  // the picture in RGB before stretching, 640 x 272 at most
  QFont font_;
};

}  // namespace dvr::display
