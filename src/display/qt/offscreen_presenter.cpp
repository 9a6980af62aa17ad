#include "display/qt/offscreen_presenter.h"

namespace dvr::display {

OffscreenPresenter::OffscreenPresenter(int width, int height)
    : canvas_(width, height, QImage::Format_RGB32) {
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

void OffscreenPresenter::DrawPicture(Surface surface, const Rect& tile, const uint8_t* picture,
                                     int width, int height) {
  painter_.DrawPicture(Target(surface), tile, picture, width, height);
}

void OffscreenPresenter::FillBlack(Surface surface, const Rect& tile) {
  ImagePainter::FillBlack(Target(surface), tile);
}

void OffscreenPresenter::DrawLabel(Surface surface, const std::string& text, int x, int y,
                                   const LabelSettings& style) {
  painter_.DrawLabel(Target(surface), text, x, y, style);
}

void OffscreenPresenter::Present() {
  ++presents_;
  if (on_present_) on_present_(canvas_);
}

void OffscreenPresenter::PrepareExportCanvas(int width, int height) {
  ImagePainter::PrepareCanvas(export_canvas_, width, height);
}

bool OffscreenPresenter::ReadExportCanvas(uint8_t* frame, int width, int height) {
  return ImagePainter::ReadDib24(export_canvas_, frame, width, height);
}

void OffscreenPresenter::FontChanged(const LabelFont& font) {
  painter_.SetFont(font);
}

}  // namespace dvr::display
