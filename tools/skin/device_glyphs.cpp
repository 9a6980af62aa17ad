#include "device_glyphs.h"

#include <QTransform>

#include "canvas.h"

namespace dvr::skin {
namespace {

// An arc of `radius` around `centre` from `start` degrees (counter-clockwise from three o'clock)
// through `sweep` degrees.
QPainterPath Arc(QPointF centre, qreal radius, qreal start, qreal sweep) {
  const QRectF circle(centre - QPointF(radius, radius), QSizeF(2 * radius, 2 * radius));
  QPainterPath path;
  path.arcMoveTo(circle, start);
  path.arcTo(circle, start, sweep);
  return path;
}

QPainterPath SpeakerBody() {
  return Polygon({{-8, -3}, {-5, -3}, {0, -7}, {0, 7}, {-5, 3}, {-8, 3}});
}

// Chain links lie along x and are turned onto the rising diagonal.
const QTransform kChainSlope = QTransform().rotate(-45);

// A link from `left` to `right`, `height` across.
QPainterPath ChainLink(qreal left, qreal right, qreal height) {
  QPainterPath link;
  const qreal radius = height / 2;
  link.addRoundedRect(QRectF(QPointF(left, -radius), QPointF(right, radius)), radius, radius);
  return kChainSlope.map(Stroked(link, kStroke));
}

}  // namespace

Glyph OpenFolderGlyph() {
  const QPainterPath back = Polyline({{5, -1}, {5, -3}, {0, -3}, {-2, -5}, {-7, -5}, {-7, 6}});
  const QPainterPath front = Polygon({{-7, 6}, {-4, 0}, {8, 0}, {5, 6}});
  return {Stroked(back, kStroke), Stroked(front, kStroke, Qt::FlatCap, Qt::RoundJoin)};
}

Glyph StillCameraGlyph() {
  QPainterPath body;
  body.addRoundedRect(QRectF(QPointF(-7, -3), QPointF(7, 6)), 2, 2);
  const QPainterPath finder = Polyline({{-4, -3}, {-2.5, -6}, {2.5, -6}, {4, -3}});
  return {Stroked(body, kStroke), Stroked(finder, kStroke), Disc({0, 1.5}, 2.5)};
}

Glyph SpeakerGlyph() {
  return {SpeakerBody(), Stroked(Arc({0, 0}, 3.5, -45, 90), kStroke),
          Stroked(Arc({0, 0}, 7, -45, 90), kStroke)};
}

Glyph MutedSpeakerGlyph() {
  QPainterPath cross = Polyline({{2, -3}, {8, 3}});
  cross.addPath(Polyline({{2, 3}, {8, -3}}));
  return {SpeakerBody(), Stroked(cross, kStroke)};
}

Glyph LinkGlyph() {
  return {ChainLink(-7.5, 1.5, 6), ChainLink(-1.5, 7.5, 6)};
}

Glyph BrokenLinkGlyph() {
  QPainterPath sparks = Polyline({{0, -4}, {0, -6.5}});
  sparks.addPath(Polyline({{0, 4}, {0, 6.5}}));
  return {ChainLink(-8.5, -1.5, 5), ChainLink(1.5, 8.5, 5),
          kChainSlope.map(Stroked(sparks, kStroke, Qt::RoundCap))};
}

Glyph FilmStripGlyph() {
  QPainterPath film = Box(-6, -7, 6, 7);
  for (qreal top : {-6, -1, 4}) {
    film.addPath(Box(-5, top, -3, top + 2));
    film.addPath(Box(3, top, 5, top + 2));
  }
  film.addPath(Box(-2, -6, 2, -1));
  film.addPath(Box(-2, 1, 2, 6));
  film.setFillRule(Qt::OddEvenFill);
  return {film};
}

Glyph AntennaGlyph() {
  const QPointF top(0, -3);
  QPainterPath waves;
  for (qreal radius : {4, 7}) {
    waves.addPath(Arc(top, radius, -40, 80));
    waves.addPath(Arc(top, radius, 140, 80));
  }
  return {Stroked(Polyline({{0, -2}, {0, 7}}), kStroke), Disc(top, 2), Stroked(waves, kStroke)};
}

}  // namespace dvr::skin
