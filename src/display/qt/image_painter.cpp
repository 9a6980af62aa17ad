#include "display/qt/image_painter.h"

#include <QPainter>

#include <algorithm>

#include "codec/yuv_to_rgb.h"

namespace dvr::display {

QColor ColourOf(uint32_t colorref) {
  return QColor(static_cast<int>(colorref & 0xFF), static_cast<int>((colorref >> 8) & 0xFF),
                static_cast<int>((colorref >> 16) & 0xFF));
}

QRect QRectOf(const Rect& r) {
  return QRect(r.left, r.top, r.Width(), r.Height());
}

QFont FontOf(const LabelFont& f, qreal scale) {
  QFont font(QString::fromStdString(f.face));
  font.setPixelSize(std::max(1, qRound((f.height > 0 ? f.height : 16) * scale)));
  // The same 100 .. 900 scale; 0 asks for the normal weight.
  font.setWeight(static_cast<QFont::Weight>(f.weight == 0 ? 400 : std::clamp(f.weight, 100, 900)));
  font.setItalic(f.italic);
  return font;
}

void DrawOutlinedText(QPainter& painter, const QString& text, int x, int y,
                      const LabelSettings& style) {
  const QRect area(x, y, 4096, 1024);
  painter.setPen(ColourOf(style.outline_colour));
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      if (dx != 0 || dy != 0)
        painter.drawText(area.translated(dx, dy), Qt::AlignLeft | Qt::AlignTop, text);
    }
  }
  painter.setPen(ColourOf(style.text_colour));
  painter.drawText(area, Qt::AlignLeft | Qt::AlignTop, text);
}

ImagePainter::ImagePainter()
    : converted_(640, 272, QImage::Format_RGB32), font_(FontOf(LabelFont{})) {}

void ImagePainter::DrawPicture(QImage& target, const Rect& tile, const uint8_t* picture, int width,
                               int height) {
  if (target.isNull()) return;
  codec::YuvToRgb32(converted_.bits(), converted_.bytesPerLine(), picture, width, height);
  QPainter painter(&target);
  painter.drawImage(QRectOf(tile), converted_, QRect(0, 0, width, height));
}

void ImagePainter::FillBlack(QImage& target, const Rect& tile) {
  if (target.isNull()) return;
  QPainter painter(&target);
  painter.fillRect(QRectOf(tile), Qt::black);
}

void ImagePainter::DrawLabel(QImage& target, const std::string& text, int x, int y,
                             const LabelSettings& style) {
  if (target.isNull()) return;
  QPainter painter(&target);
  painter.setFont(font_);
  DrawOutlinedText(painter, QString::fromStdString(text), x, y, style);
}

void ImagePainter::PrepareCanvas(QImage& canvas, int width, int height) {
  if (canvas.width() != width || canvas.height() != height)
    canvas = QImage(width, height, QImage::Format_RGB32);
  canvas.fill(Qt::black);
}

bool ImagePainter::ReadDib24(const QImage& canvas, uint8_t* frame, int width, int height) {
  if (canvas.width() != width || canvas.height() != height) return false;
  codec::Rgb32ToDib24(frame, canvas.constBits(), width, height);
  return true;
}

}  // namespace dvr::display
