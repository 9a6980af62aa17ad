#pragma once
// A presenter whose screen is a list: what it was asked to draw, in order. The engine runs on it
// without Qt.
#include <atomic>
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
  std::vector<Drawn> ExportPictures() const {
    std::lock_guard lock(mutex_);
    return export_pictures_;
  }
  std::vector<std::string> ExportLabels() const {
    std::lock_guard lock(mutex_);
    return export_labels_;
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
  // The next picture drawn keeps the drawing thread (the engine's worker) this long, as a busy
  // machine or a slow screen would.
  void StallNextPicture(uint32_t ms) { stall_ms_ = ms; }

 protected:
  Size CanvasSize() const override { return {width_, height_}; }
  void DrawPicture(Surface surface, const display::Rect& tile, const uint8_t* picture, int width, int height) override {
    if (const uint32_t stall = stall_ms_.exchange(0)) clock_.Sleep(stall);
    Drawn drawn{tile, width, height, platform::Md5Hex(picture, static_cast<size_t>(width * height * 3 / 2)), clock_.Tick()};
    (surface == Surface::kScreen ? pictures_ : export_pictures_).push_back(drawn);
  }
  void FillBlack(Surface surface, const display::Rect&) override {
    if (surface == Surface::kScreen) ++black_fills_;
  }
  void DrawLabel(Surface surface, const std::string& text, int, int, const display::LabelSettings&) override {
    (surface == Surface::kScreen ? labels_ : export_labels_).push_back(text);
  }
  // The export canvas reads as a frame whose first bytes count the pictures drawn into it.
  bool ReadExportCanvas(uint8_t* frame, int, int) override {
    frame[0] = static_cast<uint8_t>(export_pictures_.size());
    return true;
  }
  void Present() override { ++presents_; }

 private:
  platform::Clock& clock_;
  int width_, height_;
  std::vector<Drawn> pictures_;
  std::vector<std::string> labels_;
  std::vector<Drawn> export_pictures_;
  std::vector<std::string> export_labels_;
  int presents_ = 0;
  int black_fills_ = 0;
  std::atomic<uint32_t> stall_ms_{0};
};

}  // namespace dvr::test
