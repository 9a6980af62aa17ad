// The status line: which sprite row each piece shows, where the pieces and texts are drawn, the
// sprite's colours replaced by the line's, and repaints only when something shown changes.
#include <gtest/gtest.h>

#include <functional>

#include "ui/status_line.h"
#include "widget_probe.h"

namespace dvr::test {
namespace {

using ui::StatusLine;
using Values = std::array<uint16_t, 5>;

TEST(StatusLineRows, ChannelsFollowTheFourValues) {
  const Values example = {0, 0x0001, 0x0003, 0, 0};
  EXPECT_EQ(ui::ChannelRow(3, example, 0), 64);
  EXPECT_EQ(ui::ChannelRow(3, example, 1), 32);
  EXPECT_EQ(ui::ChannelRow(3, example, 2), 16);
  EXPECT_EQ(ui::ChannelRow(3, example, 3), 16);
  for (int channel = 0; channel < 4; ++channel) EXPECT_EQ(ui::ChannelRow(1, example, channel), 0);
  EXPECT_EQ(ui::ChannelRow(3, {0, 0x0004, 0x0004, 0x0004, 0}, 2), 80);      // value 4 first
  EXPECT_EQ(ui::ChannelRow(3, {0x0004, 0x0004, 0x0004, 0x0004, 0}, 2), 0);  // value 1 above all
  EXPECT_EQ(ui::ChannelRow(3, {0, 0x0008, 0, 0, 0}, 3), 48);
  EXPECT_EQ(ui::ChannelRow(3, example, 16), 0);
}

TEST(StatusLineRows, DiskLinkAndPlayIcon) {
  EXPECT_EQ(ui::DiskRow(3, {0, 0, 0, 0, 0x0001}), 32);
  EXPECT_EQ(ui::DiskRow(3, {0, 0, 0, 0, 0x0002}), 16);
  EXPECT_EQ(ui::DiskRow(2, {0, 0, 0, 0, 0x0001}), 0);
  for (int link = 0; link <= 6; ++link) EXPECT_EQ(ui::LinkRow(link), 16 * link);
  EXPECT_EQ(ui::LinkRow(7), 0);
  EXPECT_EQ(ui::LinkRow(-1), 0);
  const int rows[] = {64, 64, 16, 32, 16, 32, 48, 80, 64};
  for (int icon = 0; icon <= 8; ++icon) EXPECT_EQ(ui::PlayIconRow(icon), rows[icon]) << icon;
}

// Pieces by their column in the sprite: play icon, link, four channels, disk.
constexpr int kPieceColumns[] = {0, 16, 128, 152, 176, 200, 356};
constexpr int kPieceWidths[] = {16, 102, 24, 24, 24, 24, 21};

// A distinct solid colour for each piece at each row (never one the line replaces).
QRgb PieceColour(int piece, int row) {
  return qRgb(20 + 25 * piece, 20 + 30 * (row / 16), 90);
}

QPixmap PieceSprite(qreal ratio) {
  QPixmap sprite(qRound(377 * ratio), qRound(112 * ratio));
  sprite.setDevicePixelRatio(ratio);
  sprite.fill(Qt::black);
  QPainter painter(&sprite);
  for (int piece = 0; piece < 7; ++piece) {
    for (int row = 0; row < 112; row += 16) {
      painter.fillRect(QRect(kPieceColumns[piece], row, kPieceWidths[piece], 16),
                       QColor(PieceColour(piece, row)));
    }
  }
  return sprite;
}

class StatusLineDrawing : public testing::TestWithParam<qreal> {
 protected:
  void SetUp() override {
    line_->setGeometry(0, 0, 460, 16);
    line_->SetSprite(PieceSprite(GetParam()));
    window_.Show();
  }
  // Text-coloured (green) pixels in the columns [from, to).
  int TextPixels(int from, int to) {
    const Grabbed shown(*line_);
    int count = 0;
    for (int x = from; x < to; ++x) {
      for (int y = 0; y < 16; ++y) {
        const QRgb pixel = shown.At(x, y);
        if (qGreen(pixel) > 200 && qRed(pixel) < 60 && qBlue(pixel) < 60) ++count;
      }
    }
    return count;
  }

  TestWindow window_;
  StatusLine* line_ = new StatusLine(window_.Widget());
};

TEST_P(StatusLineDrawing, NetworkPiecesComeFromTheirRows) {
  line_->SetLink(3, {0, 0x0001, 0x0003, 0, 0x0001});
  const Grabbed shown(*line_);
  EXPECT_EQ(shown.At(50, 8), PieceColour(1, 48));
  const int channel_rows[] = {64, 32, 16, 16};
  for (int channel = 0; channel < 4; ++channel) {
    EXPECT_EQ(shown.At(124 + 24 * channel, 8), PieceColour(2 + channel, channel_rows[channel]));
    EXPECT_EQ(shown.At(113 + 24 * channel, 1), PieceColour(2 + channel, channel_rows[channel]));
  }
  EXPECT_EQ(shown.At(350, 8), PieceColour(6, 32));
  EXPECT_EQ(shown.At(105, 8), qRgb(0, 0, 0));
  EXPECT_EQ(shown.At(300, 8), qRgb(0, 0, 0));
}

TEST_P(StatusLineDrawing, PlayerIconAndTextsInTheirBands) {
  line_->SetLayout(StatusLine::kPlayerLayout);
  line_->SetPlayIcon(7);
  EXPECT_EQ(Grabbed(*line_).At(12, 8), PieceColour(0, 80));
  EXPECT_EQ(Grabbed(*line_).At(2, 8), qRgb(0, 0, 0));
  line_->SetTexts("MMMMMMMMMMMMMMMMMMMMMMMM", "");
  EXPECT_GT(TextPixels(32, 232), 50);
  EXPECT_EQ(TextPixels(232, 460), 0);  // cut at the band's end
  line_->SetTexts("", "MMMM");
  EXPECT_EQ(TextPixels(0, 252), 0);
  EXPECT_GT(TextPixels(252, 300), 20);
}

TEST_P(StatusLineDrawing, TheSpritesBluesAndBlackTakeTheLinesColours) {
  QPixmap sprite = PieceSprite(GetParam());
  {
    QPainter painter(&sprite);
    painter.fillRect(QRect(16, 16, 34, 16), QColor(63, 181, 255));
    painter.fillRect(QRect(50, 16, 34, 16), QColor(23, 64, 103));
    painter.fillRect(QRect(84, 16, 34, 16), Qt::black);
  }
  line_->SetSprite(sprite);
  line_->SetLink(1, {});
  const QRgb a = qRgb(250, 10, 10), b = qRgb(240, 240, 0), background = qRgb(10, 10, 120);
  line_->SetColours(a, b, background, Qt::white);
  const Grabbed shown(*line_);
  EXPECT_EQ(shown.At(20, 8), a);
  EXPECT_EQ(shown.At(60, 8), b);
  EXPECT_EQ(shown.At(100, 8), background);
  EXPECT_EQ(shown.At(105, 8), background);
}

INSTANTIATE_TEST_SUITE_P(SpriteRatio, StatusLineDrawing, testing::Values(1.0, 2.0));

TEST(StatusLine, SettersRepaintOnlyWhenWhatIsShownChanges) {
  TestWindow window;
  auto* line = new StatusLine(window.Widget());
  line->setGeometry(0, 0, 460, 16);
  line->SetSprite(PieceSprite(1));
  window.Show();
  PaintCounter paints(*line);
  const auto repaints = [&](const std::function<void()>& change) {
    window.SettlePaints();
    const int before = paints.Count();
    change();
    window.SettlePaints();
    return paints.Count() - before;
  };
  EXPECT_EQ(repaints([&] { line->SetTexts("Play", "12:00:00"); }), 0);  // network layout
  EXPECT_EQ(repaints([&] { line->SetPlayIcon(3); }), 0);
  EXPECT_EQ(repaints([&] { line->SetLink(3, {0, 1, 0, 0, 0}); }), 1);
  EXPECT_EQ(repaints([&] { line->SetLink(3, {0, 0x0101, 0, 0, 0}); }), 0);  // channel 8: not shown
  EXPECT_EQ(repaints([&] { line->SetLayout(StatusLine::kPlayerLayout); }), 1);
  EXPECT_EQ(repaints([&] { line->SetLink(1, {}); }), 0);
  EXPECT_EQ(repaints([&] { line->SetTexts("Play", "12:00:00"); }), 0);
  EXPECT_EQ(repaints([&] { line->SetTexts("Play", "12:00:01"); }), 1);
  EXPECT_EQ(repaints([&] { line->SetPlayIcon(5); }), 0);  // the same icon as 3
  EXPECT_EQ(repaints([&] { line->SetPlayIcon(6); }), 1);
  EXPECT_EQ(line->Text2(), "12:00:01");
}

}  // namespace
}  // namespace dvr::test
