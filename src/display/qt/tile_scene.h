#pragma once
// What the OpenGL path shows, kept between repaints: the tiles drawn since the screen was last
// cleared, each black or with its picture converted to RGB (to be uploaded when it changed), and
// its label. Not thread safe: the drawing thread writes it and the painting thread uploads from it
// under the presenter's lock.
//
// Tiles are found by their rectangle: a picture drawn into a tile replaces what the tile showed.
// The rectangles only change through a redraw of the whole screen, which clears the scene first.
#include <QImage>
#include <QString>

#include <array>
#include <cstdint>

#include "display/labels.h"
#include "display/split_layout.h"

namespace dvr::display {

class TileScene {
 public:
  // Every tile of a page, and the whole screen's black under them.
  static constexpr int kCapacity = kMaxSlots + 1;

  struct Tile {
    Rect rect;
    bool has_picture = false;
    int width = 0, height = 0;  // of the picture, in the top-left corner of `rgb`
    QImage rgb;                 // 640 x 272, made once
    bool changed = false;       // converted since the last upload
    bool has_label = false;
    QString label;
    int label_x = 0, label_y = 0;
  };

  TileScene();

  void Clear();
  // Converts the picture into the tile with this rectangle.
  void SetPicture(const Rect& rect, const uint8_t* picture, int width, int height);
  void SetBlack(const Rect& rect);
  // The label of the tile drawn last.
  void SetLabel(const QString& text, int x, int y);
  // Every picture is uploaded again (a new context has no textures).
  void MarkAllChanged();

  int Count() const { return count_; }
  Tile& At(int index) { return tiles_[static_cast<size_t>(index)]; }
  const LabelSettings& LabelStyle() const { return label_style_; }
  void SetLabelStyle(const LabelSettings& style) { label_style_ = style; }

 private:
  // The tile with this rectangle, taken from the free ones when new.
  Tile& Find(const Rect& rect);

  std::array<Tile, kCapacity> tiles_;
  int count_ = 0;
  int last_ = -1;
  LabelSettings label_style_;
};

}  // namespace dvr::display
