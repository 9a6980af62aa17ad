#pragma once
// Images drawn in logical pixels at a whole-number scale: the painter carries the scale, so one
// drawing function makes both the 1x and the 2x bitmap, the latter at twice the resolution.
#include <QColor>
#include <QImage>
#include <QLinearGradient>
#include <QPainterPath>
#include <QPointF>
#include <QSize>

#include <functional>
#include <initializer_list>

class QPainter;

namespace dvr::skin {

// Whether a drawing blends its edges (glyphs, faces) or keeps every pixel one of its colours
// (the status sprite, whose colours are swapped by exact value).
enum class Edges { kSmooth, kPixelExact };

// A `logical` x `scale` image filled with `background`, handed to `draw` through a painter that
// works in logical pixels.
QImage Paint(QSize logical, int scale, QColor background, Edges edges,
             const std::function<void(QPainter&)>& draw);

// The area a pen of `width` covers along `centre_line`.
QPainterPath Stroked(const QPainterPath& centre_line, qreal width,
                     Qt::PenCapStyle cap = Qt::FlatCap, Qt::PenJoinStyle join = Qt::MiterJoin);

// An open path through `points`.
QPainterPath Polyline(std::initializer_list<QPointF> points);
// A closed path through `points`.
QPainterPath Polygon(std::initializer_list<QPointF> points);
// The rectangle between two edges across and two edges down.
QPainterPath Box(qreal left, qreal top, qreal right, qreal bottom);
// A filled circle.
QPainterPath Disc(QPointF centre, qreal radius);
// A gradient from `top` at row `from` down to `bottom` at row `to`.
QLinearGradient VerticalGradient(qreal from, qreal to, QColor top, QColor bottom);

}  // namespace dvr::skin
