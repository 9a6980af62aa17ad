#pragma once
// A button drawn from a horizontal strip of equal frames: 0 normal, 1 pressed or checked, 2 mouse
// over, 3 disabled, and with the mask option a fifth frame, the transparency mask. It can be a push
// button, a check box or a radio button (siblings of one parent form a radio group). A caption, an
// optional 3-D edge and a tooltip complete it.
#include <QAbstractButton>
#include <QColor>
#include <QPixmap>

#include <array>

namespace dvr::ui {

class BitmapButton final : public QAbstractButton {
  Q_OBJECT

 public:
  enum Kind { kPushButton = 0, kCheckBox = 2, kRadioButton = 4 };
  enum Frame { kNormalFrame = 0, kPressedFrame = 1, kHoverFrame = 2, kDisabledFrame = 3 };

  explicit BitmapButton(Kind kind = kPushButton, QWidget* parent = nullptr);

  // Takes the strip (4 frames, or 5 with `mask_frame`) and resizes the button to one frame. A
  // negative text margin counts as 0. A null or too narrow strip clears the bitmap.
  void SetBitmap(const QPixmap& strip, bool draw_edge, int text_margin, bool mask_frame);
  void SetTooltip(const QString& text);
  void SetTextColour(QColor colour);
  Kind ButtonKind() const { return kind_; }
  QSize FrameSize() const { return frame_size_; }
  bool MouseOver() const { return mouse_over_; }
  // The frame a paint would draw now.
  Frame CurrentFrame() const;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void nextCheckState() override;

 private:
  void UncheckOtherRadioButtons();

  Kind kind_;
  std::array<QPixmap, 4> frames_;  // cut from the strip (and through its mask) once per strip
  QSize frame_size_;
  bool draw_edge_ = false;
  int text_margin_ = 0;
  QColor text_colour_;
  bool mouse_over_ = false;
};

}  // namespace dvr::ui
