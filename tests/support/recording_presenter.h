#pragma once
// A presenter whose screen is a list: what it was asked to draw, in order. The engine runs on it
// without Qt.
#include <mutex>
#include <string>
#include <vector>

#include "display/presenter.h"
#include "platform/clock.h"
#include "platform/md5.h"

namespace dvr::test {

class RecordingPresenter final : public display::Presenter {
 public:
  struct Drawn {
    display::Rect tile;
    int width, height;
    std::string md5;   // of the planar picture
    uint32_t tick;     // clock tick when it was drawn
  };

  explicit RecordingPresenter(platform::Clock& clock, int width = 640, int height = 448)
      : clock_(clock), width_(width), height_(height) {}

  std::vector<Drawn> Pictures() const {
    std::lock_guard lock(mutex_);
    return pictures_;
  }
  std::vector<std::string> LabelsDrawn() const {
    std::lock_guard lock(mutex_);
    return labels_;
  }
  int Presents() const {
    std::lock_guard lock(mutex_);
    return presents_;
  }
  int BlackFills() const {
    std::lock_guard lock(mutex_);
    return black_fills_;
  }

 protected:
  Size CanvasSize() const override { return {width_, height_}; }
  void DrawPicture(const display::Rect& tile, const uint8_t* picture, int width, int height) override {
    pictures_.push_back({tile, width, height, platform::Md5Hex(picture, static_cast<size_t>(width * height * 3 / 2)),
                         clock_.Tick()});
  }
  void FillBlack(const display::Rect&) override { ++black_fills_; }
  void DrawLabel(const std::string& text, int, int, const display::LabelSettings&) override { labels_.push_back(text); }
  void Present() override { ++presents_; }

 private:
  platform::Clock& clock_;
  int width_, height_;
  std::vector<Drawn> pictures_;
  std::vector<std::string> labels_;
  int presents_ = 0;
  int black_fills_ = 0;
};

}  // namespace dvr::test
