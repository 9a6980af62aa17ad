#pragma once
// A top-level window without the system's caption and frame: drawn from one border bitmap (its four
// quarters in the corners, its middle strips stretched along the edges), cut to a rounded rectangle
// and moved by a press anywhere that no child takes, once the pointer has moved a little (so that a
// double click stays a double click). An optional corner in the bottom right resizes it, with the
// diagonal resize cursor over it. Moving and resizing go through the window system where it offers
// them (X11, Wayland); elsewhere the window follows the pointer itself.
#include <QPixmap>
#include <QRegion>
#include <QWidget>

namespace dvr::ui {

class SkinDialog : public QWidget {
 public:
  explicit SkinDialog(QWidget* parent = nullptr);

  void SetSkinBitmap(const QPixmap& border);
  void SetCorners(int width, int height);
  void SetDraggable(bool on);
  // The size of the square in the bottom-right corner that resizes the window; 0: none.
  void SetResizeCorner(int size);

  // The rounded rectangle a window of `size` is cut to.
  static QRegion RoundedRegion(QSize size, int corner_width, int corner_height);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  enum class Drag { kNone, kPressed, kMove, kResize };

  bool InResizeCorner(QPoint point) const;
  void ComposeBorder();
  void PlaceGrip();

  QPixmap border_;
  QPixmap composed_;  // the border at the window's size, made once per size
  int corner_width_ = 0, corner_height_ = 0;
  bool draggable_ = true;
  int resize_corner_ = 0;
  QWidget* grip_ = nullptr;  // the resize corner: a child of its own, so its cursor stays its own
  Drag drag_ = Drag::kNone;
  QPoint drag_offset_;  // the pointer from the window's top left (move) or bottom right (resize)
};

}  // namespace dvr::ui
