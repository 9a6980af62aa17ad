#include "display/qt/tile_scene.h"

#include "codec/yuv_to_rgb.h"

namespace dvr::display {

TileScene::TileScene() {
  for (Tile& tile : tiles_) tile.rgb = QImage(640, 272, QImage::Format_RGB32);
}

void TileScene::Clear() {
  count_ = 0;
  last_ = -1;
}

TileScene::Tile& TileScene::Find(const Rect& rect) {
  for (int i = 0; i < count_; ++i) {
    if (At(i).rect == rect) {
      last_ = i;
      return At(i);
    }
  }
  // A full scene gives up its last tile; a clear comes before more tiles than that.
  last_ = count_ < kCapacity ? count_++ : kCapacity - 1;
  Tile& tile = At(last_);
  tile.rect = rect;
  tile.has_picture = false;
  tile.has_label = false;
  return tile;
}

void TileScene::SetPicture(const Rect& rect, const uint8_t* picture, int width, int height) {
  Tile& tile = Find(rect);
  codec::YuvToRgb32(tile.rgb.bits(), tile.rgb.bytesPerLine(), picture, width, height);
  tile.has_picture = true;
  tile.width = width;
  tile.height = height;
  tile.changed = true;
  tile.has_label = false;
}

void TileScene::SetBlack(const Rect& rect) {
  Tile& tile = Find(rect);
  tile.has_picture = false;
  tile.has_label = false;
}

void TileScene::SetLabel(const QString& text, int x, int y) {
  if (last_ < 0) return;
  Tile& tile = At(last_);
  tile.has_label = true;
  tile.label = text;
  tile.label_x = x;
  tile.label_y = y;
}

void TileScene::MarkAllChanged() {
  for (Tile& tile : tiles_) tile.changed = true;
}

}  // namespace dvr::display
