#pragma once
// A slider drawn from bitmaps: a channel (and optionally a second channel for the part before the
// thumb) and a thumb (and optionally a second thumb shown while dragging). Integer range, page
// keys, Home and End, the arrows. It reports `Tracked` while the thumb moves under the mouse, and
// `Set` after a key and when the mouse button is let go.
#include <QColor>
#include <QPixmap>
#include <QPoint>
#include <QWidget>

#include <optional>

#include "ui/slider_geometry.h"

namespace dvr::ui {

// How a bitmap is made transparent: not at all (its own alpha channel still counts), or every
// pixel of a key colour, given or taken from a pixel of the bitmap.
struct KeyColour {
  bool transparent = false;
  std::optional<QColor> colour;  // none: the colour of `pixel`
  QPoint pixel;
};

class BitmapSlider final : public QWidget {
  Q_OBJECT

 public:
  explicit BitmapSlider(Qt::Orientation orientation = Qt::Horizontal, QWidget* parent = nullptr);

  // The position is kept inside the range; an empty range (maximum <= minimum) holds its minimum.
  void SetRange(int minimum, int maximum, bool redraw = true);
  void SetPosition(int position);
  void SetPageSize(int page_size);
  void SetMargins(int left, int top, int right, int bottom);
  // The channel is drawn across the whole length: its two ends (half its thickness each) as they
  // are, its middle stretched. A null pixmap clears it (and the active one).
  void SetChannelBitmaps(const QPixmap& channel, const QPixmap& active, KeyColour key = {});
  void SetThumbBitmaps(const QPixmap& thumb, const QPixmap& active, KeyColour key = {});
  void SetTooltip(const QString& text);
  void SetDrawFocusRectangle(bool on);

  int Minimum() const { return minimum_; }
  int Maximum() const { return maximum_; }
  int Position() const { return position_; }
  int PageSize() const { return page_size_; }
  bool Dragging() const { return dragging_; }
  SliderGeometry Geometry() const;
  // The pixel of the thumb's centre along the slider now.
  int ThumbPixel() const;

 signals:
  void Tracked(int position);
  void Set(int position);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool event(QEvent* event) override;

 private:
  int Along(QPoint point) const;
  void MoveThumbTo(int pixel);
  void UpdateIfMoved();
  void EndDrag();

  Qt::Orientation orientation_;
  int minimum_ = 0, maximum_ = 0, position_ = 0, page_size_ = 1;
  int margin_left_ = 0, margin_top_ = 0, margin_right_ = 0, margin_bottom_ = 0;
  QPixmap channel_, active_channel_, thumb_, active_thumb_;
  bool dragging_ = false;
  bool draw_focus_ = false;
  int grab_offset_ = 0;
  int painted_pixel_ = -1;  // the thumb pixel of the last paint: repaint only when it moves
};

}  // namespace dvr::ui
