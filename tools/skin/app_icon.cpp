#include "app_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "canvas.h"
#include "palette.h"

namespace dvr::skin {
namespace {

constexpr int kSizes[] = {16, 24, 32, 48, 64, 128, 256};
// Up to this size the icon is drawn in its plain form.
constexpr int kPlainUpTo = 24;

// The rounded screen the lens sits in, with a light top edge.
void DrawScreen(QPainter& painter, const QRectF& area, qreal radius, qreal pixel) {
  QPainterPath screen;
  screen.addRoundedRect(area, radius, radius);
  painter.fillPath(screen, VerticalGradient(area.top(), area.bottom(), kTitleTop, kPanelBottom));
  QColor light(255, 255, 255, 40);
  QColor clear(255, 255, 255, 0);
  painter.setPen(QPen(VerticalGradient(area.top(), area.center().y(), light, clear), pixel));
  painter.setBrush(Qt::NoBrush);
  const qreal inset = pixel / 2;
  painter.drawRoundedRect(area.adjusted(inset, inset, -inset, -inset), radius - inset,
                          radius - inset);
}

void DrawGlass(QPainter& painter, QPointF centre, qreal radius) {
  QRadialGradient glass(centre - QPointF(radius, radius) * 0.3, radius * 1.3);
  glass.setColorAt(0, kLensGlassCentre);
  glass.setColorAt(1, kLensGlassEdge);
  painter.fillPath(Disc(centre, radius), glass);
}

// A soft reflection on the glass.
void DrawGlint(QPainter& painter, QPointF centre, qreal radius, int alpha) {
  QRadialGradient glint(centre, radius);
  glint.setColorAt(0, QColor(255, 255, 255, alpha));
  glint.setColorAt(0.5, QColor(255, 255, 255, alpha * 2 / 3));
  glint.setColorAt(1, QColor(255, 255, 255, 0));
  painter.fillPath(Disc(centre, radius), glint);
}

void DrawAccentRing(QPainter& painter, QPointF centre, qreal radius, qreal width) {
  painter.setPen(QPen(
      VerticalGradient(centre.y() - radius, centre.y() + radius, kAccent, kAccentDeep), width));
  painter.setBrush(Qt::NoBrush);
  painter.drawEllipse(centre, radius, radius);
}

// Designed on a 64 x 64 grid.
void DrawDetailed(QPainter& painter, int size) {
  painter.scale(size / 64.0, size / 64.0);
  const qreal pixel = 64.0 / size;
  DrawScreen(painter, QRectF(3, 3, 58, 58), 13, pixel);
  const QPointF centre(32, 33.5);
  painter.fillPath(Disc(centre + QPointF(0, 1.5), 21), QColor(0, 0, 0, 90));
  painter.fillPath(Disc(centre, 21), VerticalGradient(centre.y() - 21, centre.y() + 21,
                                                      kLensBarrelTop, kLensBarrelBottom));
  DrawAccentRing(painter, centre, 15, 4.5);
  DrawGlass(painter, centre, 12.5);
  DrawGlint(painter, centre + QPointF(-4.5, -4.5), 4, 200);
  DrawGlint(painter, centre + QPointF(4.5, 5), 2, 90);
  painter.fillPath(Disc({51.5, 12.5}, 3.5), kRecord);
}

// Screen, accent ring and dark glass only, on whole pixels of the icon's own size.
void DrawPlain(QPainter& painter, int size) {
  const qreal half = size / 2.0;
  const QPointF centre(half, half);
  const qreal margin = size <= 16 ? 0 : 1;
  DrawScreen(painter, QRectF(margin, margin, size - 2 * margin, size - 2 * margin), size / 5.0, 1);
  const qreal ring = size <= 16 ? 2 : 3;
  const qreal outer = half - margin - 2;
  DrawAccentRing(painter, centre, outer - ring / 2, ring);
  DrawGlass(painter, centre, outer - ring);
  if (size > 16) {
    painter.fillPath(Disc(centre - QPointF(1.5, 1.5), 1.25), QColor(255, 255, 255, 150));
  }
}

}  // namespace

std::span<const int> AppIconSizes() {
  return kSizes;
}

QImage DrawAppIcon(int size, int scale) {
  return Paint({size, size}, scale, Qt::transparent, Edges::kSmooth, [size](QPainter& painter) {
    if (size <= kPlainUpTo) {
      DrawPlain(painter, size);
    } else {
      DrawDetailed(painter, size);
    }
  });
}

}  // namespace dvr::skin
