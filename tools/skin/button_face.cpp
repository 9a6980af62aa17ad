#include "button_face.h"

#include <QPainter>
#include <QPainterPath>

#include "canvas.h"
#include "palette.h"

namespace dvr::skin {
namespace {

struct FaceLook {
  QColor top;
  QColor bottom;
  QColor rim;
  bool raised = true;  // raised: a shadow under it and light on its top; else sunk in
};

FaceLook PlayerLook(Frame state) {
  switch (state) {
    case Frame::kNormal:
      return {kFaceTop, kFaceBottom, kFaceRim};
    case Frame::kPressed:
      return {kFacePressedTop, kFacePressedBottom, kFacePressedRim, false};
    case Frame::kHover:
      return {kFaceHoverTop, kFaceHoverBottom, kFaceRim};
    case Frame::kDisabled:
      return {kFaceDisabledTop, kFaceDisabledBottom, kFaceDisabledRim};
  }
  return {};
}

FaceLook RunningLook(Frame state) {
  switch (state) {
    case Frame::kNormal:
      return {kRunningTop, kRunningBottom, kRedRim};
    case Frame::kPressed:
      return {kRunningPressedTop, kRunningPressedBottom, kFacePressedRim, false};
    case Frame::kHover:
      return {kRunningHoverTop, kRunningHoverBottom, kRedRim};
    case Frame::kDisabled:
      return PlayerLook(Frame::kDisabled);
  }
  return {};
}

FaceLook LookFor(FaceKind kind, Frame state) {
  if (kind == FaceKind::kRunning) return RunningLook(state);
  if (kind == FaceKind::kClose && state == Frame::kHover) {
    return {kCloseHoverTop, kCloseHoverBottom, kRedRim};
  }
  return PlayerLook(state);
}

qreal CornerRadius(FaceKind kind) {
  switch (kind) {
    case FaceKind::kRemote:
      return 8;
    case FaceKind::kTitle:
    case FaceKind::kClose:
      return 4;
    default:
      return 5;
  }
}

QPainterPath Rounded(const QRectF& rect, qreal radius) {
  QPainterPath path;
  path.addRoundedRect(rect, radius, radius);
  return path;
}

// A 1-pixel line along the inside of the face's outline, strongest at the top and gone by the
// middle: light on a raised face, shadow on a sunk one.
void DrawTopEdge(QPainter& painter, const QRectF& face, qreal radius, QColor colour) {
  QColor clear = colour;
  clear.setAlpha(0);
  painter.setPen(QPen(VerticalGradient(face.top(), face.center().y(), colour, clear), 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(Rounded(face.adjusted(1.5, 1.5, -1.5, -1.5), radius - 1.5));
}

// The accent mark that tells the recorder's keys from the player's buttons.
void DrawRemoteMark(QPainter& painter, const QRectF& face, Frame state) {
  if (state == Frame::kDisabled) return;
  QColor mark = kAccent;
  if (state == Frame::kNormal) mark.setAlpha(150);
  const QPointF middle(face.center().x(), face.bottom() - 3.5);
  painter.fillPath(Rounded(QRectF(middle - QPointF(3, 0.5), QSizeF(6, 1)), 0.5), mark);
}

}  // namespace

void DrawFace(QPainter& painter, const QRectF& frame, FaceKind kind, Frame state) {
  const FaceLook look = LookFor(kind, state);
  const qreal radius = CornerRadius(kind);
  const QRectF face = frame.adjusted(1, 1, -1, -1);
  painter.save();
  // Under a raised face a shadow; under a sunk one the panel's light catches the lower lip.
  painter.fillPath(Rounded(face.translated(0, 1), radius), look.raised ? kShadow : kHighlight);
  painter.fillPath(Rounded(face, radius),
                   VerticalGradient(face.top(), face.bottom(), look.top, look.bottom));
  const bool lit = look.raised && state != Frame::kDisabled;
  if (lit) DrawTopEdge(painter, face, radius, kFaceLight);
  if (!look.raised) DrawTopEdge(painter, face, radius, kFaceInnerShadow);
  painter.setPen(QPen(look.rim, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(Rounded(face.adjusted(0.5, 0.5, -0.5, -0.5), radius - 0.5));
  if (kind == FaceKind::kRemote) DrawRemoteMark(painter, face, state);
  painter.restore();
}

QColor InkColour(Ink ink, FaceKind kind, Frame state) {
  if (ink == Ink::kRecord) {
    if (state == Frame::kDisabled) return kRecordDisabled;
    return state == Frame::kNormal ? kRecord : kRecordBright;
  }
  switch (state) {
    case Frame::kNormal:
      return kind == FaceKind::kRunning ? kGlyphHover : kGlyph;
    case Frame::kPressed:
      return kAccent;
    case Frame::kHover:
      return kGlyphHover;
    case Frame::kDisabled:
      return kGlyphDisabled;
  }
  return kGlyph;
}

QPointF GlyphCentre(const QRectF& frame, FaceKind kind, Frame state) {
  QPointF centre = frame.center();
  // The recorder's keys carry their mark below the glyph; the glyph moves up to share the face.
  if (kind == FaceKind::kRemote) centre.ry() -= 1;
  if (state == Frame::kPressed) centre += QPointF(1, 1);
  return centre;
}

}  // namespace dvr::skin
