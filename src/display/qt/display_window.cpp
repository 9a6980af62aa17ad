#include "display/qt/display_window.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QPainter>
#include <QScreen>

#include <cmath>

#include "display/qt/gl_canvas.h"
#include "display/qt/gl_error_text.h"
#include "display/qt/still_bitmap.h"

namespace dvr::display {
namespace {

// The key-state flags of a mouse event: 1 left, 2 right, 4 shift, 8 control, 16 middle.
int MouseFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
  return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
         (modifiers & Qt::ShiftModifier ? 4 : 0) | (modifiers & Qt::ControlModifier ? 8 : 0) |
         (buttons & Qt::MiddleButton ? 16 : 0);
}

}  // namespace

DisplayWindow::DisplayWindow(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  // A right click goes on to the main window, which opens its menu unless the right button over
  // the picture belongs to the DVR's mouse remote control.
  setContextMenuPolicy(Qt::DefaultContextMenu);
  SetUseDirectDraw(true);
}

DisplayWindow::~DisplayWindow() = default;

void DisplayWindow::SetUseDirectDraw(bool on) {
  Presenter::SetUseDirectDraw(on);
  if (!on) {
    UseSoftware({});
  } else if (gl_ == nullptr) {
    StartOpenGl();
  }
}

bool DisplayWindow::StartOpenGl() {
  const QString platform = QGuiApplication::platformName();
  // QOpenGLWidget brings down the process on the offscreen platform, so only a window system.
  if (platform != "xcb" && platform != "wayland") {
    UseSoftware(kNoWindowSystemText);
    return false;
  }
  if (const QScreen* screen = QGuiApplication::primaryScreen();
      screen != nullptr && screen->depth() <= 8) {
    UseSoftware(kPaletteModeText);
    return false;
  }
  QOpenGLContext probe;
  if (!probe.create()) {
    UseSoftware(kNoContextText);
    return false;
  }
  const int generation = ++gl_generation_;
  gl_ = new GlCanvas(this, scene_, mutex_, [this, generation](const std::string& error) {
    // Reported while the canvas paints: the switch happens once that is over.
    QMetaObject::invokeMethod(
        this,
        [this, generation, error] {
          if (generation == gl_generation_) UseSoftware(error);
        },
        Qt::QueuedConnection);
  });
  gl_->setGeometry(rect());
  gl_->show();
  std::lock_guard lock(mutex_);
  gl_active_ = true;
  RedrawAll();
  return true;
}

void DisplayWindow::UseSoftware(const std::string& error) {
  if (gl_ != nullptr) {
    gl_repaints_ += gl_->Repaints();
    delete gl_;
    gl_ = nullptr;
  }
  std::lock_guard lock(mutex_);
  if (!error.empty()) last_error_ = error;
  gl_active_ = false;
  RedrawAll();
}

bool DisplayWindow::OpenGlActive() const {
  std::lock_guard lock(mutex_);
  return gl_active_;
}

std::string DisplayWindow::LastError() const {
  std::lock_guard lock(mutex_);
  return last_error_;
}

uint64_t DisplayWindow::RepaintCount() const {
  return software_repaints_ + gl_repaints_ + (gl_ != nullptr ? gl_->Repaints() : 0);
}

QImage DisplayWindow::Still() {
  std::lock_guard lock(mutex_);
  // The canvas paints into its framebuffer on this thread, taking the lock again.
  if (gl_active_ && gl_ != nullptr)
    return gl_->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
  return back_.copy();
}

bool DisplayWindow::SaveSnapshot(const std::string& path) {
  return SaveStill(Still(), path);
}

void DisplayWindow::DrawPicture(Surface surface, const Rect& tile, const uint8_t* picture,
                                int width, int height) {
  if (surface == Surface::kExport) {
    export_painter_.DrawPicture(export_canvas_, tile, picture, width, height);
  } else if (gl_active_) {
    scene_.SetPicture(tile, picture, width, height);
  } else {
    painter_.DrawPicture(back_, tile, picture, width, height);
  }
}

void DisplayWindow::FillBlack(Surface surface, const Rect& tile) {
  if (surface == Surface::kExport) {
    ImagePainter::FillBlack(export_canvas_, tile);
  } else if (gl_active_) {
    if (tile == Rect{0, 0, canvas_.width, canvas_.height}) scene_.Clear();
    scene_.SetBlack(tile);
  } else {
    ImagePainter::FillBlack(back_, tile);
  }
}

void DisplayWindow::DrawLabel(Surface surface, const std::string& text, int x, int y,
                              const LabelSettings& style) {
  if (surface == Surface::kExport) {
    export_painter_.DrawLabel(export_canvas_, text, x, y, style);
  } else if (gl_active_) {
    scene_.SetLabelStyle(style);
    scene_.SetLabel(QString::fromStdString(text), x, y);
  } else {
    painter_.DrawLabel(back_, text, x, y, style);
  }
}

void DisplayWindow::Present() {
  ++presents_;
  RequestRepaint();
}

void DisplayWindow::RequestRepaint() {
  if (repaint_pending_.exchange(true)) return;
  QMetaObject::invokeMethod(
      this,
      [this] {
        repaint_pending_ = false;
        if (gl_ != nullptr) {
          gl_->update();
        } else {
          update();
        }
      },
      Qt::QueuedConnection);
}

void DisplayWindow::FontChanged(const LabelFont& font) {
  font_ = font;
  painter_.SetFont(font, pixel_ratio_);
  export_painter_.SetFont(font);
}

void DisplayWindow::PrepareExportCanvas(int width, int height) {
  ImagePainter::PrepareCanvas(export_canvas_, width, height);
}

bool DisplayWindow::ReadExportCanvas(uint8_t* frame, int width, int height) {
  return ImagePainter::ReadDib24(export_canvas_, frame, width, height);
}

void DisplayWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  std::lock_guard lock(mutex_);
  if (gl_active_) return;  // the canvas covers the window
  ++software_repaints_;
  painter.drawImage(QRectF(0, 0, back_.width() / pixel_ratio_, back_.height() / pixel_ratio_),
                    back_);
}

void DisplayWindow::resizeEvent(QResizeEvent*) {
  if (gl_ != nullptr) gl_->setGeometry(rect());
  const qreal ratio = devicePixelRatioF();
  const int width = qRound(this->width() * ratio), height = qRound(this->height() * ratio);
  if (width <= 0 || height <= 0) return;  // minimised: the pictures stay as they are
  std::lock_guard lock(mutex_);
  canvas_ = {width, height};
  if (back_.width() != width || back_.height() != height) {
    back_ = QImage(width, height, QImage::Format_RGB32);
    back_.fill(Qt::black);
  }
  if (ratio != pixel_ratio_) {
    pixel_ratio_ = ratio;
    painter_.SetFont(font_, ratio);
  }
  RedrawAll();
}

QPoint DisplayWindow::CanvasPoint(const QMouseEvent* event) const {
  const QPointF at = event->position() * pixel_ratio_;
  return {static_cast<int>(std::floor(at.x())), static_cast<int>(std::floor(at.y()))};
}

void DisplayWindow::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = CanvasPoint(event);
  Mouse().Move(at.x(), at.y(), canvas_.width, canvas_.height,
               MouseFlags(event->buttons(), event->modifiers()));
}

void DisplayWindow::mousePressEvent(QMouseEvent* event) {
  const QPoint at = CanvasPoint(event);
  if (event->button() == Qt::LeftButton)
    Mouse().LeftDown(at.x(), at.y(), canvas_.width, canvas_.height);
}

void DisplayWindow::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint at = CanvasPoint(event);
  if (event->button() == Qt::LeftButton)
    Mouse().LeftUp(at.x(), at.y(), canvas_.width, canvas_.height);
}

void DisplayWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  const QPoint at = CanvasPoint(event);
  if (event->button() == Qt::RightButton) {
    Mouse().RightDoubleClick(at.x(), at.y(), canvas_.width, canvas_.height);
  } else if (event->button() == Qt::LeftButton) {
    Mouse().LeftDoubleClick(at.x(), at.y(), canvas_.width, canvas_.height);
    DoubleClick(at.x(), at.y());
    if (on_double_click_) on_double_click_();
  }
}

}  // namespace dvr::display
