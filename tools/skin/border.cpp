#include "border.h"

#include <QPainter>
#include <QPainterPath>

#include "canvas.h"
#include "palette.h"

namespace dvr::skin {
namespace {

// The 201 x 201 window the bitmap is cut from, in its own rows and columns.
constexpr int kModel = kBorderSize.width() + 1;
constexpr int kTitleHairlineRow = 26;  // the title bar's last row; the picture starts below it
constexpr int kPanelRow = kModel - 75;
constexpr int kPictureLeft = 2;
constexpr int kPictureRight = kModel - 3;  // one past the picture's last column
constexpr qreal kCornerRadius = 6;         // the window is cut with 12 x 12 corner ellipses
// The recessed display behind the status line (13, H - 74, 17 high). The line ends in the
// stretched middle, where nothing may change along x, so the display runs on into the right
// quarter and ends there.
constexpr int kWellLeft = 11;
constexpr int kWellRight = kModel - 12;
constexpr int kWellBottom = kPanelRow + 19;

void FillRows(QPainter& painter, int top, int bottom, const QBrush& brush) {
  painter.fillRect(QRectF(0, top, kModel, bottom - top), brush);
}

void DrawTitleBar(QPainter& painter) {
  FillRows(painter, 0, kTitleHairlineRow,
           VerticalGradient(1, kTitleHairlineRow, kTitleTop, kTitleBottom));
  FillRows(painter, 1, 2, kTitleHighlight);
  FillRows(painter, kTitleHairlineRow, kTitleHairlineRow + 1, kHairlineDark);
}

void DrawPictureSurround(QPainter& painter) {
  FillRows(painter, kTitleHairlineRow + 1, kPanelRow, kSideFrame);
  painter.fillRect(
      QRectF(QPointF(kPictureLeft, kTitleHairlineRow + 1), QPointF(kPictureRight, kPanelRow)),
      kPicture);
}

void DrawStatusWell(QPainter& painter) {
  // Square where it meets the hairline, rounded below.
  QPainterPath well;
  well.addRoundedRect(QRectF(QPointF(kWellLeft, kPanelRow - 4), QPointF(kWellRight, kWellBottom)),
                      3, 3);
  painter.save();
  painter.setClipRect(QRectF(0, kPanelRow + 1, kModel, kModel));
  painter.fillPath(well.translated(0, 1), kHighlight);
  painter.fillPath(well, kWell);
  painter.restore();
}

void DrawControlPanel(QPainter& painter) {
  FillRows(painter, kPanelRow, kModel,
           VerticalGradient(kPanelRow, kModel, kPanelTop, kPanelBottom));
  FillRows(painter, kPanelRow, kPanelRow + 1, kHairlineDark);
  FillRows(painter, kPanelRow + 1, kPanelRow + 2, kHighlight);
  DrawStatusWell(painter);
}

// A 1-pixel line around the window with rounded corners; the corners outside it take its colour
// too, as the window's cut leaves a few of them.
void DrawOutline(QPainter& painter) {
  QPainterPath outside;
  outside.addRect(QRectF(0, 0, kModel, kModel));
  outside.addRoundedRect(QRectF(1, 1, kModel - 2, kModel - 2), kCornerRadius - 1,
                         kCornerRadius - 1);
  outside.setFillRule(Qt::OddEvenFill);
  painter.fillPath(outside, kOutline);
}

}  // namespace

QImage DrawBorder(int scale) {
  const QImage model =
      Paint({kModel, kModel}, scale, kOutline, Edges::kSmooth, [](QPainter& painter) {
        DrawTitleBar(painter);
        DrawPictureSurround(painter);
        DrawControlPanel(painter);
        DrawOutline(painter);
      });
  QImage border =
      model.copy(QRect(QPoint(0, 0), kBorderSize * scale)).convertToFormat(QImage::Format_RGB32);
  // The window paints its last row and column in this pixel's colour: the outline's.
  const int last = kBorderSize.width() * scale - 1;
  border.setPixelColor(last, last, kOutline);
  return border;
}

}  // namespace dvr::skin
