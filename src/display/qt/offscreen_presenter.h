#pragma once
// A presenter that draws into an image instead of a window: each visible slot's picture
// converted to RGB and stretched into its tile, with its label. The tools run the engine with it,
// and the window reuses its composition for export.
#include <QImage>

#include <cstdint>
#include <functional>

#include "display/presenter.h"
#include "display/qt/image_painter.h"

namespace dvr::display {

class OffscreenPresenter final : public Presenter {
 public:
  OffscreenPresenter(int width, int height);

  // A copy of the composed screen.
  QImage Snapshot() const;
  // Called on the presenting thread, with the lock held, each time a screen is complete.
  void OnPresent(std::function<void(const QImage&)> callback);
  uint64_t PresentCount() const;

 protected:
  Size CanvasSize() const override { return {canvas_.width(), canvas_.height()}; }
  void DrawPicture(Surface surface, const Rect& tile, const uint8_t* picture, int width,
                   int height) override;
  void FillBlack(Surface surface, const Rect& tile) override;
  void DrawLabel(Surface surface, const std::string& text, int x, int y,
                 const LabelSettings& style) override;
  void Present() override;
  void FontChanged(const LabelFont& font) override;
  void PrepareExportCanvas(int width, int height) override;
  bool ReadExportCanvas(uint8_t* frame, int width, int height) override;

 private:
  QImage& Target(Surface surface) { return surface == Surface::kScreen ? canvas_ : export_canvas_; }

  QImage canvas_;
  QImage export_canvas_;  // the AVI frame, composed like the screen
  ImagePainter painter_;
  std::function<void(const QImage&)> on_present_;
  uint64_t presents_ = 0;
};

}  // namespace dvr::display
