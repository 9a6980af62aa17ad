#pragma once
// The window in which all video is shown: the presenter on the screen. Two drawing paths: OpenGL
// (a child canvas with one texture per tile) while "Use DDraw" is on and a context works, and
// QPainter into a back buffer otherwise. Switching keeps every slot's picture: the stored
// pictures are drawn again on the new path.
//
// Threads (a deadlock here is the fault users would meet first):
// - Pictures arrive on the engine's worker (ShowPicture). The worker converts and draws into the
//   back buffer or the tile scene under the presenter's lock, then asks for one repaint: a queued
//   call to the window thread, posted only if none is pending. It never waits for the window
//   thread.
// - Painting, resizing, mouse, still images and the path switch run on the window thread. Painting
//   takes the lock only to copy the back buffer to the window or to upload the tiles that changed.
// - The window thread never holds the lock while it waits for another thread; the worker releases
//   it before an export frame is encoded (Presenter), so no repaint waits for an encoder.
// - OpenGL failures reach the window thread queued; the switch to software happens there.
#include <QImage>
#include <QWidget>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "display/presenter.h"
#include "display/qt/image_painter.h"
#include "display/qt/tile_scene.h"

namespace dvr::display {

class GlCanvas;

class DisplayWindow final : public QWidget, public Presenter {
 public:
  explicit DisplayWindow(QWidget* parent = nullptr);
  ~DisplayWindow() override;

  // Window thread only. On: the OpenGL path if the platform and a context allow it, else the
  // software path with the reason as the last error. Off: the software path.
  void SetUseDirectDraw(bool on) override;
  // Window thread only: the still image to the clipboard and to a BMP file at `path`.
  bool SaveSnapshot(const std::string& path) override;

  // What the window shows, labels included, copied under the lock from the back buffer or the
  // OpenGL framebuffer (never from the screen). Window thread only.
  QImage Still();
  bool OpenGlActive() const;
  std::string LastError() const;
  // After the double-click rule ran (window thread).
  void OnDoubleClick(std::function<void()> callback) { on_double_click_ = std::move(callback); }

  // Screens completed (ShowPicture and redraws) and window repaints, for the benchmark.
  uint64_t PresentCount() const { return presents_.load(); }
  uint64_t RepaintCount() const;

 protected:
  Size CanvasSize() const override { return canvas_; }
  void DrawPicture(Surface surface, const Rect& tile, const uint8_t* picture, int width,
                   int height) override;
  void FillBlack(Surface surface, const Rect& tile) override;
  void DrawLabel(Surface surface, const std::string& text, int x, int y,
                 const LabelSettings& style) override;
  void Present() override;
  void FontChanged(const LabelFont& font) override;
  void PrepareExportCanvas(int width, int height) override;
  bool ReadExportCanvas(uint8_t* frame, int width, int height) override;

  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  // Any thread: one queued repaint until the window thread has run it.
  void RequestRepaint();
  // Window thread: make or drop the OpenGL canvas, then redraw on the path now in use.
  bool StartOpenGl();
  void UseSoftware(const std::string& error);
  // A mouse position in canvas (device) pixels.
  QPoint CanvasPoint(const QMouseEvent* event) const;

  // Guarded by the presenter's lock.
  Size canvas_;                  // device pixels; kept while the window is zero-sized
  qreal pixel_ratio_ = 1;        // device pixels per window pixel
  QImage back_;                  // the software path's back buffer, canvas-sized
  QImage export_canvas_;         // the AVI frame, composed like the screen
  ImagePainter painter_;         // the screen's, its font scaled by the pixel ratio
  ImagePainter export_painter_;  // the export canvas's
  LabelFont font_;
  TileScene scene_;         // the OpenGL path's tiles
  bool gl_active_ = false;  // the hooks draw into the scene rather than the back buffer
  std::string last_error_;

  // Window thread only.
  GlCanvas* gl_ = nullptr;  // the child while the OpenGL path is in use
  int gl_generation_ = 0;   // canvases made; a late failure of an older one is ignored
  uint64_t software_repaints_ = 0, gl_repaints_ = 0;
  std::function<void()> on_double_click_;
  std::atomic<bool> repaint_pending_{false};
  std::atomic<uint64_t> presents_{0};
};

}  // namespace dvr::display
