#include "canvas.h"

#include <QPainter>
#include <QPainterPathStroker>
#include <QPolygonF>

namespace dvr::skin {

QImage Paint(QSize logical, int scale, QColor background, Edges edges,
             const std::function<void(QPainter&)>& draw) {
  QImage image(logical * scale, QImage::Format_ARGB32_Premultiplied);
  image.fill(background);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, edges == Edges::kSmooth);
  painter.setRenderHint(QPainter::TextAntialiasing, edges == Edges::kSmooth);
  painter.scale(scale, scale);
  draw(painter);
  painter.end();
  return image;
}

QPainterPath Stroked(const QPainterPath& centre_line, qreal width, Qt::PenCapStyle cap,
                     Qt::PenJoinStyle join) {
  QPainterPathStroker stroker;
  stroker.setWidth(width);
  stroker.setCapStyle(cap);
  stroker.setJoinStyle(join);
  return stroker.createStroke(centre_line);
}

QPainterPath Polyline(std::initializer_list<QPointF> points) {
  QPainterPath path;
  path.addPolygon(QPolygonF(QList<QPointF>(points)));
  return path;
}

QPainterPath Polygon(std::initializer_list<QPointF> points) {
  QPainterPath path = Polyline(points);
  path.closeSubpath();
  return path;
}

QPainterPath Box(qreal left, qreal top, qreal right, qreal bottom) {
  QPainterPath path;
  path.addRect(QRectF(QPointF(left, top), QPointF(right, bottom)));
  return path;
}

QPainterPath Disc(QPointF centre, qreal radius) {
  QPainterPath path;
  path.addEllipse(centre, radius, radius);
  return path;
}

QLinearGradient VerticalGradient(qreal from, qreal to, QColor top, QColor bottom) {
  QLinearGradient gradient(0, from, 0, to);
  gradient.setColorAt(0, top);
  gradient.setColorAt(1, bottom);
  return gradient;
}

}  // namespace dvr::skin
