#pragma once
// The line under the picture: in the player layout the play state's icon and two texts (state and
// speed; the frame time), in the network layout the link's state, the four channels' states and
// the DVR's fifth status value, each a 16-pixel-high piece of one sprite. The sprite's two blues
// and its black are replaced by the line's colours A, B and background when it is set.
#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QWidget>

#include <array>
#include <cstdint>

namespace dvr::ui {

// Which 16-pixel row of the sprite each piece comes from.
int PlayIconRow(int play_icon);
int LinkRow(int link_status);
int ChannelRow(int link_status, const std::array<uint16_t, 5>& values, int channel);
int DiskRow(int link_status, const std::array<uint16_t, 5>& values);

class StatusLine final : public QWidget {
 public:
  static constexpr int kNetworkLayout = 2;
  static constexpr int kPlayerLayout = 1;

  explicit StatusLine(QWidget* parent = nullptr);

  void SetSprite(const QPixmap& sprite);
  void SetColours(QColor a, QColor b, QColor background, QColor text);
  // Each setter repaints only when what it shows changes: the window sets them 25 times a second.
  void SetTexts(const QString& text1, const QString& text2);
  void SetPlayIcon(int play_icon);
  void SetLink(int link_status, const std::array<uint16_t, 5>& values);
  void SetLayout(int layout);

  QString Text1() const { return text1_; }
  QString Text2() const { return text2_; }
  int Layout() const { return layout_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void MapSprite();

  QPixmap sprite_, mapped_;
  QColor colour_a_, colour_b_, background_, text_colour_;
  QFont font_;
  int link_status_ = 0;
  std::array<uint16_t, 5> values_{};
  int play_icon_ = 0;
  int layout_ = kNetworkLayout;
  QString text1_, text2_;
};

}  // namespace dvr::ui
