#include "status_sprite.h"

#include <QPainter>
#include <QPainterPath>

#include <array>

#include "canvas.h"
#include "digits.h"
#include "label_font.h"
#include "palette.h"

namespace dvr::skin {
namespace {

// The top left of the piece for `state` in the column starting at `column`.
QPointF Piece(int column, int state) {
  return QPointF(column, state * kStatusRow);
}

void Fill(QPainter& painter, QPointF piece, const QPainterPath& area, QColor colour) {
  painter.fillPath(area.translated(piece), colour);
}

// A 1-pixel frame around the rectangle between the given edges.
QPainterPath Outline(qreal left, qreal top, qreal right, qreal bottom) {
  QPainterPath frame = Box(left, top, right, bottom);
  frame.addPath(Box(left + 1, top + 1, right - 1, bottom - 1));
  frame.setFillRule(Qt::OddEvenFill);
  return frame;
}

// A 1-pixel ring whose outer edge has `radius`.
QPainterPath Ring(QPointF centre, qreal radius) {
  QPainterPath ring = Disc(centre, radius);
  ring.addPath(Disc(centre, radius - 1));
  ring.setFillRule(Qt::OddEvenFill);
  return ring;
}

// Play state icons, 16 x 16, centred on (8, 8).
void DrawPlayIcons(QPainter& painter) {
  const QPainterPath forward = Polygon({{5, 3}, {12, 8}, {5, 13}});
  const QPainterPath backward = Polygon({{11, 3}, {4, 8}, {11, 13}});
  QPainterPath paused = Box(4, 3, 7, 13);
  paused.addPath(Box(9, 3, 12, 13));
  const QPainterPath stopped = Box(4, 4, 12, 12);
  QPainterPath searching = Polygon({{2, 4}, {8, 8}, {2, 12}});
  searching.addPath(Polygon({{8, 4}, {14, 8}, {8, 12}}));
  const std::array<QPainterPath, 5> icons{forward, backward, paused, stopped, searching};
  for (size_t i = 0; i < icons.size(); ++i) {
    Fill(painter, Piece(kPlayIconColumn, static_cast<int>(i) + 1), icons[i], kStatusLit);
  }
}

// Three bars of rising height, the first `lit` of them lit: how far the link has come.
void DrawSignalBars(QPainter& painter, QPointF piece, int lit) {
  const std::array<QPainterPath, 3> bars{Box(2, 10, 4, 13), Box(6, 7, 8, 13), Box(10, 4, 12, 13)};
  for (int i = 0; i < 3; ++i) Fill(painter, piece, bars[i], i < lit ? kStatusLit : kStatusDim);
}

// A globe for the name service: its rim, and its meridian and equator.
void DrawGlobe(QPainter& painter, QPointF piece, QColor rim, QColor lines) {
  const QPointF centre(7, 8.5);
  Fill(painter, piece, Ring(centre, 5.5), rim);
  QPainterPath meridian;
  meridian.addEllipse(centre, 2.5, 5.5);
  meridian.addEllipse(centre, 1.5, 4.5);
  meridian.setFillRule(Qt::OddEvenFill);
  meridian.addPath(Box(2, 8, 12, 9));
  Fill(painter, piece, meridian, lines);
}

void DrawLinkStates(QPainter& painter, int scale) {
  constexpr const char* kWords[] = {"OFFLINE", "CONNECTING", "LOGIN",  "ONLINE",
                                    "DDNS",    "DDNS QUERY", "DDNS OK"};
  for (int state = 0; state < 7; ++state) {
    const QPointF piece = Piece(kLinkColumn, state);
    if (state <= 3) {
      DrawSignalBars(painter, piece, state);
    } else {
      DrawGlobe(painter, piece, state == 4 ? kStatusDim : kStatusLit,
                state == 6 ? kStatusLit : kStatusDim);
    }
    // Text is drawn in device pixels so that the font's hinting fits each scale.
    painter.save();
    painter.resetTransform();
    painter.setFont(LabelFont(11 * scale, Edges::kPixelExact));
    painter.setPen(kStatusLit);
    painter.drawText((piece + QPointF(17, 12)) * scale, QString::fromLatin1(kWords[state]));
    painter.restore();
  }
}

// A diagonal line through the digit, with a black margin that keeps it apart from the digit.
void DrawStrike(QPainter& painter, QPointF piece) {
  const QPainterPath line = Polyline({{1, 14}, {13, 2}});
  Fill(painter, piece, Stroked(line, 4, Qt::FlatCap), kStatusBlack);
  Fill(painter, piece, Stroked(line, 1.5, Qt::FlatCap), kStatusDim);
}

void DrawChannel(QPainter& painter, int channel) {
  const int column = kChannelColumn + channel * kChannelWidth;
  const QPainterPath digit = DigitArea(channel + 1).translated(7, 8);
  const QPointF mark(18, 8);
  const QPainterPath dot = Disc(mark, 3);
  const QPainterPath ring = Ring(mark, 5);

  Fill(painter, Piece(column, 0), digit, kStatusDim);
  DrawStrike(painter, Piece(column, 0));
  for (int state = 1; state <= 4; ++state) Fill(painter, Piece(column, state), digit, kStatusLit);
  Fill(painter, Piece(column, 2), dot, kStatusRecord);
  Fill(painter, Piece(column, 3), ring, kStatusLit);
  Fill(painter, Piece(column, 4), dot, kStatusRecord);
  Fill(painter, Piece(column, 4), ring, kStatusLit);

  QPainterPath badge;
  badge.addRoundedRect(QRectF(1, 1, 22, 14), 2, 2);
  QPainterPath alarm_sign = Box(17, 3, 19, 10);
  alarm_sign.addPath(Box(17, 11, 19, 13));
  Fill(painter, Piece(column, 5), badge, kStatusAlarm);
  Fill(painter, Piece(column, 5), digit, kStatusAlarmText);
  Fill(painter, Piece(column, 5), alarm_sign, kStatusAlarmText);
}

// The recorder's disk: a drive with its activity light.
void DrawIndicator(QPainter& painter) {
  const QPainterPath body = Outline(2, 4, 19, 13);
  const QPainterPath inside = Box(3, 5, 18, 12);
  const QPainterPath light = Box(14, 9, 16, 11);
  const QPointF off = Piece(kIndicatorColumn, 0);
  const QPointF on = Piece(kIndicatorColumn, 1);
  const QPointF active = Piece(kIndicatorColumn, 2);
  Fill(painter, off, body, kStatusDim);
  Fill(painter, off, light, kStatusDim);
  Fill(painter, on, body, kStatusLit);
  Fill(painter, on, light, kStatusDim);
  Fill(painter, active, body, kStatusLit);
  Fill(painter, active, inside, kStatusDim);
  Fill(painter, active, light, kStatusLit);
}

}  // namespace

QImage DrawStatusSprite(int scale) {
  const QImage sprite =
      Paint(kStatusSpriteSize, scale, kStatusBlack, Edges::kPixelExact, [scale](QPainter& painter) {
        DrawPlayIcons(painter);
        DrawLinkStates(painter, scale);
        for (int channel = 0; channel < 4; ++channel) {
          DrawChannel(painter, channel);
        }
        DrawIndicator(painter);
      });
  return sprite.convertToFormat(QImage::Format_RGB32);
}

}  // namespace dvr::skin
