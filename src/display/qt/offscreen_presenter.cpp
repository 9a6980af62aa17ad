#include "display/qt/offscreen_presenter.h"

#include <QPainter>

#include <algorithm>

#include "codec/yuv_to_rgb.h"

namespace dvr::display {

QColor ColourOf(uint32_t colorref) {
  return QColor(static_cast<int>(colorref & 0xFF), static_cast<int>((colorref >> 8) & 0xFF),
                static_cast<int>((colorref >> 16) & 0xFF));
}

namespace {

QFont FontOf(const LabelFont& f) {
  QFont font(QString::fromStdString(f.face));
  font.setPixelSize(f.height > 0 ? f.height : 16);
  // The same 100 .. 900 scale; 0 asks for the normal weight.
  font.setWeight(static_cast<QFont::Weight>(f.weight == 0 ? 400 : std::clamp(f.weight, 100, 900)));
  font.setItalic(f.italic);
  return font;
}

QRect QRectOf(const Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

}  // namespace

OffscreenPresenter::OffscreenPresenter(int width, int height)
    : canvas_(width, height, QImage::Format_RGB32), converted_(640, 272, QImage::Format_RGB32),
      font_(FontOf(LabelFont{})) {
  canvas_.fill(Qt::black);
}

QImage OffscreenPresenter::Snapshot() const {
  std::lock_guard lock(mutex_);
  return canvas_.copy();
}

void OffscreenPresenter::OnPresent(std::function<void(const QImage&)> callback) {
  std::lock_guard lock(mutex_);
  on_present_ = std::move(callback);
}

uint64_t OffscreenPresenter::PresentCount() const {
  std::lock_guard lock(mutex_);
  return presents_;
}

void OffscreenPresenter::DrawPicture(Surface surface, const Rect& tile, const uint8_t* picture, int width, int height) {
  QImage& target = Target(surface);
  if (target.isNull()) return;
  codec::YuvToRgb32(converted_.bits(), converted_.bytesPerLine(), picture, width, height);
  QPainter painter(&target);
  painter.drawImage(QRectOf(tile), converted_, QRect(0, 0, width, height));
}

void OffscreenPresenter::FillBlack(Surface surface, const Rect& tile) {
  QImage& target = Target(surface);
  if (target.isNull()) return;
  QPainter painter(&target);
  painter.fillRect(QRectOf(tile), Qt::black);
}

void OffscreenPresenter::DrawLabel(Surface surface, const std::string& text, int x, int y, const LabelSettings& style) {
  QImage& target = Target(surface);
  if (target.isNull()) return;
  QPainter painter(&target);
  painter.setFont(font_);
  const QString label = QString::fromStdString(text);
  const QRect area(x, y, target.width(), target.height());
  // A one-pixel outline: the text in the outline colour at the eight neighbouring places first.
  painter.setPen(ColourOf(style.outline_colour));
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      if (dx != 0 || dy != 0) painter.drawText(area.translated(dx, dy), Qt::AlignLeft | Qt::AlignTop, label);
    }
  }
  painter.setPen(ColourOf(style.text_colour));
  painter.drawText(area, Qt::AlignLeft | Qt::AlignTop, label);
}

void OffscreenPresenter::Present() {
  ++presents_;
  if (on_present_) on_present_(canvas_);
}

void OffscreenPresenter::PrepareExportCanvas(int width, int height) {
  if (export_canvas_.width() != width || export_canvas_.height() != height) {
    export_canvas_ = QImage(width, height, QImage::Format_RGB32);
  }
  export_canvas_.fill(Qt::black);
}

bool OffscreenPresenter::ReadExportCanvas(uint8_t* frame, int width, int height) {
  if (export_canvas_.width() != width || export_canvas_.height() != height) return false;
  codec::Rgb32ToDib24(frame, export_canvas_.constBits(), width, height);
  return true;
}

void OffscreenPresenter::FontChanged(const LabelFont& font) { font_ = FontOf(font); }

}  // namespace dvr::display
