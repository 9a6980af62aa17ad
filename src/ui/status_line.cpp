#include "ui/status_line.h"

#include <QImage>
#include <QPainter>

namespace dvr::ui {
namespace {

constexpr int kRowHeight = 16;
constexpr QRgb kSpriteA = qRgb(63, 181, 255);
constexpr QRgb kSpriteB = qRgb(23, 64, 103);
constexpr QRgb kSpriteBackground = qRgb(0, 0, 0);
// The texts hang from the top of the line, as the sprite's pieces do.
constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;

bool Bit(uint16_t value, int channel) {
  return (value >> channel) & 1;
}

// Copies the sprite's piece at `source` (logical pixels, whatever the sprite's ratio) to `target`.
void DrawPiece(QPainter& painter, const QPixmap& sprite, QRect source, QPoint target) {
  const qreal ratio = sprite.devicePixelRatio();
  const QRectF device_source(source.x() * ratio, source.y() * ratio, source.width() * ratio,
                             source.height() * ratio);
  painter.drawPixmap(QRectF(target, source.size()), sprite, device_source);
}

// Every row the network layout shows: what decides whether a new link state needs a repaint.
std::array<int, 6> NetworkRows(int link_status, const std::array<uint16_t, 5>& values) {
  std::array<int, 6> rows{LinkRow(link_status), 0, 0, 0, 0, DiskRow(link_status, values)};
  for (int channel = 0; channel < 4; ++channel) {
    rows[1 + channel] = ChannelRow(link_status, values, channel);
  }
  return rows;
}

}  // namespace

int PlayIconRow(int play_icon) {
  switch (play_icon) {
    case 2:
    case 4:
      return 16;
    case 3:
    case 5:
      return 32;
    case 6:
      return 48;
    case 7:
      return 80;
    default:
      return 64;
  }
}

int LinkRow(int link_status) {
  return link_status >= 0 && link_status <= 6 ? kRowHeight * link_status : 0;
}

int ChannelRow(int link_status, const std::array<uint16_t, 5>& values, int channel) {
  if (link_status != 3 || channel < 0 || channel > 15 || Bit(values[0], channel)) return 0;
  if (Bit(values[3], channel)) return 80;
  if (Bit(values[2], channel) && Bit(values[1], channel)) return 64;
  if (Bit(values[2], channel)) return 32;
  if (Bit(values[1], channel)) return 48;
  return 16;
}

int DiskRow(int link_status, const std::array<uint16_t, 5>& values) {
  if (link_status != 3) return 0;
  return Bit(values[4], 0) ? 32 : 16;
}

StatusLine::StatusLine(QWidget* parent)
    : QWidget(parent),
      colour_a_(kSpriteA),
      colour_b_(kSpriteB),
      background_(kSpriteBackground),
      text_colour_(qRgb(0, 255, 0)),
      font_(QStringLiteral("Arial")) {
  // A cell 18 pixels high, as the line's font is given: Arial's em is 18 / 1.15 of it.
  font_.setPixelSize(16);
  font_.setWeight(QFont::DemiBold);
}

void StatusLine::SetSprite(const QPixmap& sprite) {
  sprite_ = sprite;
  MapSprite();
  update();
}

void StatusLine::SetColours(QColor a, QColor b, QColor background, QColor text) {
  if (a == colour_a_ && b == colour_b_ && background == background_ && text == text_colour_) {
    return;
  }
  const bool sprite_colours = a != colour_a_ || b != colour_b_ || background != background_;
  colour_a_ = a;
  colour_b_ = b;
  background_ = background;
  text_colour_ = text;
  if (sprite_colours) MapSprite();
  update();
}

void StatusLine::SetTexts(const QString& text1, const QString& text2) {
  if (text1 == text1_ && text2 == text2_) return;
  text1_ = text1;
  text2_ = text2;
  if (layout_ != kNetworkLayout) update();
}

void StatusLine::SetPlayIcon(int play_icon) {
  const bool moved = PlayIconRow(play_icon) != PlayIconRow(play_icon_);
  play_icon_ = play_icon;
  if (moved && layout_ != kNetworkLayout) update();
}

void StatusLine::SetLink(int link_status, const std::array<uint16_t, 5>& values) {
  const bool moved = NetworkRows(link_status, values) != NetworkRows(link_status_, values_);
  link_status_ = link_status;
  values_ = values;
  if (moved && layout_ == kNetworkLayout) update();
}

void StatusLine::SetLayout(int layout) {
  if (layout == layout_) return;
  layout_ = layout;
  update();
}

void StatusLine::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), background_);
  if (layout_ == kNetworkLayout) {
    DrawPiece(painter, mapped_, QRect(16, LinkRow(link_status_), 102, kRowHeight), QPoint(0, 0));
    for (int channel = 0; channel < 4; ++channel) {
      const int row = ChannelRow(link_status_, values_, channel);
      DrawPiece(painter, mapped_, QRect(128 + 24 * channel, row, 24, kRowHeight),
                QPoint(112 + 24 * channel, 0));
    }
    DrawPiece(painter, mapped_, QRect(356, DiskRow(link_status_, values_), 21, kRowHeight),
              QPoint(340, 0));
    return;
  }
  DrawPiece(painter, mapped_, QRect(0, PlayIconRow(play_icon_), 16, kRowHeight), QPoint(4, 0));
  painter.setFont(font_);
  painter.setPen(text_colour_);
  painter.drawText(QRect(32, 0, 200, height()), kTextFlags, text1_);
  painter.drawText(QRect(252, 0, width() - 252, height()), kTextFlags, text2_);
}

// The sprite is drawn in two fixed blues on black; the line's own colours replace them once here
// rather than on every paint.
void StatusLine::MapSprite() {
  if (sprite_.isNull()) {
    mapped_ = QPixmap();
    return;
  }
  QImage image = sprite_.toImage().convertToFormat(QImage::Format_ARGB32);
  const QRgb a = colour_a_.rgb(), b = colour_b_.rgb(), background = background_.rgb();
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const QRgb rgb = line[x] & RGB_MASK;
      const QRgb alpha = line[x] & ~RGB_MASK;
      if (rgb == (kSpriteA & RGB_MASK)) {
        line[x] = alpha | (a & RGB_MASK);
      } else if (rgb == (kSpriteB & RGB_MASK)) {
        line[x] = alpha | (b & RGB_MASK);
      } else if (rgb == (kSpriteBackground & RGB_MASK)) {
        line[x] = alpha | (background & RGB_MASK);
      }
    }
  }
  mapped_ = QPixmap::fromImage(image);
  mapped_.setDevicePixelRatio(sprite_.devicePixelRatio());
}

}  // namespace dvr::ui
