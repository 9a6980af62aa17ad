#include "sliders.h"

#include <QPainter>
#include <QPainterPath>

#include "canvas.h"
#include "palette.h"

namespace dvr::skin {
namespace {

// A recessed track: the panel's light on its lower lip, then the track, dark or accent.
void DrawTrack(QPainter& painter, const QPainterPath& track, bool lit) {
  const QRectF area = track.boundingRect();
  painter.fillPath(track.translated(0, 1), kGrooveLip);
  if (lit) {
    painter.fillPath(track, VerticalGradient(area.top(), area.bottom(), kAccent, kAccentDeep));
  } else {
    painter.fillPath(track, VerticalGradient(area.top(), area.bottom(), kGrooveTop, kGrooveBottom));
  }
}

// A knob of `shape`: a soft shadow, a light face with a dark rim, and when dragged an accent ring
// in place of the face's outer part.
void DrawKnob(QPainter& painter, const QRectF& shape, qreal radius, bool dragged) {
  QPainterPath outer;
  outer.addRoundedRect(shape, radius, radius);
  painter.fillPath(outer.translated(0, 1), kShadow);
  QRectF face = shape;
  if (dragged) {
    painter.fillPath(outer, VerticalGradient(shape.top(), shape.bottom(), kAccent, kAccentDeep));
    face = shape.adjusted(2, 2, -2, -2);
    radius -= 2;
  }
  QPainterPath inner;
  inner.addRoundedRect(face, radius, radius);
  painter.fillPath(inner, VerticalGradient(face.top(), face.bottom(), kKnobTop, kKnobBottom));
  painter.setPen(QPen(kKnobRim, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRoundedRect(face.adjusted(0.5, 0.5, -0.5, -0.5), radius - 0.5, radius - 0.5);
}

}  // namespace

QImage DrawPositionChannel(bool played, int scale) {
  return Paint(kChannelSize, scale, Qt::transparent, Edges::kSmooth, [&](QPainter& painter) {
    QPainterPath groove;
    groove.addRoundedRect(QRectF(1, 5, kChannelSize.width() - 2, 4), 2, 2);
    DrawTrack(painter, groove, played);
  });
}

QImage DrawPositionThumb(bool dragged, int scale) {
  return Paint(kPositionThumbSize, scale, Qt::transparent, Edges::kSmooth,
               [&](QPainter& painter) { DrawKnob(painter, QRectF(1, 1, 12, 12), 6, dragged); });
}

QImage DrawVolumeChannel(bool filled, int scale) {
  return Paint(kChannelSize, scale, Qt::transparent, Edges::kSmooth, [&](QPainter& painter) {
    const qreal right = kChannelSize.width() - 1;
    DrawTrack(painter, Polygon({{1, 11}, {right, 11}, {right, 3}}), filled);
  });
}

QImage DrawVolumeThumb(bool dragged, int scale) {
  return Paint(kVolumeThumbSize, scale, Qt::transparent, Edges::kSmooth,
               [&](QPainter& painter) { DrawKnob(painter, QRectF(1, 1, 8, 12), 3, dragged); });
}

}  // namespace dvr::skin
