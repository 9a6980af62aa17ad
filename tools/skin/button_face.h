#pragma once
// The rounded face behind a button's glyph, in each of the four frames of a button strip, and the
// ink its glyph takes in that frame.
#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QSize>

#include <iterator>

class QPainter;

namespace dvr::skin {

// The frames of a strip, in strip order.
enum class Frame { kNormal = 0, kPressed = 1, kHover = 2, kDisabled = 3 };
inline constexpr Frame kStripFrames[] = {Frame::kNormal, Frame::kPressed, Frame::kHover,
                                         Frame::kDisabled};

// A strip of all frames side by side.
constexpr QSize StripSize(QSize frame) {
  return {frame.width() * static_cast<int>(std::size(kStripFrames)), frame.height()};
}
// Where `state`'s frame sits in its strip.
constexpr QRectF FrameRect(QSize frame, Frame state) {
  return {QPointF(frame.width() * static_cast<int>(state), 0), QSizeF(frame)};
}

enum class FaceKind {
  kPlayer,   // the local player's buttons
  kRemote,   // keys sent to the recorder: rounder, with an accent mark under the glyph
  kTitle,    // the title bar's small buttons
  kClose,    // a title button whose hover face warns in red
  kRunning,  // a button whose action is running: a red face
};

enum class Ink {
  kGlyph,   // light grey, accent when pressed
  kRecord,  // red in every frame but the disabled one
};

// Draws the face inside `frame` (a 1-pixel margin stays transparent).
void DrawFace(QPainter& painter, const QRectF& frame, FaceKind kind, Frame state);
QColor InkColour(Ink ink, FaceKind kind, Frame state);
// Where a glyph's centre goes: the middle of the face, a pixel down and right when pressed.
QPointF GlyphCentre(const QRectF& frame, FaceKind kind, Frame state);

}  // namespace dvr::skin
