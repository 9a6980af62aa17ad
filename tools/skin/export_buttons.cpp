#include "export_buttons.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

#include "button_face.h"
#include "canvas.h"
#include "glyph.h"
#include "label_font.h"

namespace dvr::skin {
namespace {

constexpr qreal kMarkSize = 8;
constexpr qreal kMarkGap = 4;

// The mark and the word side by side, centred as a group on the frame's glyph centre.
void DrawMarkAndWord(QPainter& painter, const QRectF& frame, FaceKind face, Frame state,
                     const Glyph& mark, QColor mark_ink, QColor word_ink) {
  const QString word = QStringLiteral("AVI");
  const QFont font = LabelFont(11, Edges::kSmooth);
  const QFontMetricsF metrics(font);
  const qreal width = kMarkSize + kMarkGap + metrics.horizontalAdvance(word);
  const QPointF centre = GlyphCentre(frame, face, state);
  const qreal left = std::round(centre.x() - width / 2);
  FillGlyph(painter, mark, QPointF(left + kMarkSize / 2, centre.y()), mark_ink);
  painter.setFont(font);
  painter.setPen(word_ink);
  painter.drawText(QPointF(left + kMarkSize + kMarkGap, centre.y() + metrics.capHeight() / 2),
                   word);
}

QImage DrawStrip(FaceKind face, const Glyph& mark, Ink mark_ink, int scale) {
  return Paint(
      StripSize(kExportFrame), scale, Qt::transparent, Edges::kSmooth, [&](QPainter& painter) {
        for (Frame state : kStripFrames) {
          const QRectF frame = FrameRect(kExportFrame, state);
          DrawFace(painter, frame, face, state);
          DrawMarkAndWord(painter, frame, face, state, mark, InkColour(mark_ink, face, state),
                          InkColour(Ink::kGlyph, face, state));
        }
      });
}

}  // namespace

QImage DrawExportStrip(int scale) {
  return DrawStrip(FaceKind::kPlayer, {Disc({0, 0}, kMarkSize / 2)}, Ink::kRecord, scale);
}

QImage DrawStopExportStrip(int scale) {
  const qreal half = kMarkSize / 2;
  return DrawStrip(FaceKind::kRunning, {Box(-half, -half, half, half)}, Ink::kGlyph, scale);
}

}  // namespace dvr::skin
