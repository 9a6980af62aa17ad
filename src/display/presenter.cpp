#include "display/presenter.h"

namespace dvr::display {

namespace {
constexpr int kLabelInsetX = 4, kLabelInsetY = 2;
}  // namespace

bool Presenter::ShowPicture(int slot, const media::FrameTime& time, const uint8_t* picture, int width,
                            int height) {
  std::lock_guard lock(mutex_);
  if (!slots_.Store(slot, layout_.SlotCount(), time, picture, width, height)) return false;
  const Size size = CanvasSize();
  layout_.LayoutSlots(size.width, size.height);
  if (layout_.SlotVisible(slot)) {
    DrawSlot(slot);
    Present();
  }
  return true;
}

void Presenter::DrawSlot(int slot) {
  const Rect& tile = layout_.SlotRect(slot);
  if (slots_.HasPicture(slot)) {
    DrawPicture(tile, slots_.Picture(slot), slots_.Width(slot), slots_.Height(slot));
  } else {
    FillBlack(tile);
  }
  if (labels_.enabled) {
    DrawLabel(LabelText(slot, slots_.Time(slot), slots_.HasPicture(slot), labels_.time_in_labels,
                        labels_.time_format),
              tile.left + kLabelInsetX, tile.top + kLabelInsetY, labels_);
  }
}

void Presenter::RedrawAll() {
  std::lock_guard lock(mutex_);
  const Size size = CanvasSize();
  layout_.LayoutSlots(size.width, size.height);
  FillBlack({0, 0, size.width, size.height});  // tiles of an unfilled last page stay black
  for (int slot = 0; slot < layout_.SlotCount() && slot < kMaxSlots; ++slot) {
    if (layout_.SlotVisible(slot)) DrawSlot(slot);
  }
  Present();
}

void Presenter::ClearPictures() {
  std::lock_guard lock(mutex_);
  slots_.ForgetPictures();
  RedrawAll();
}

void Presenter::SetSlotCount(int count) {
  std::lock_guard lock(mutex_);
  layout_.SetSlotCount(count);
}

bool Presenter::SetSplit(int split, int page) {
  std::lock_guard lock(mutex_);
  if (!layout_.SetSplit(split, page)) return false;
  RedrawAll();
  return true;
}

std::pair<int, int> Presenter::GetSplit() const {
  std::lock_guard lock(mutex_);
  return layout_.GetSplit();
}

bool Presenter::DoubleClick(int x, int y) {
  std::lock_guard lock(mutex_);
  const Size size = CanvasSize();
  layout_.LayoutSlots(size.width, size.height);
  const auto target = layout_.DoubleClickTarget(x, y);
  return target && SetSplit(target->first, target->second);
}

void Presenter::SetLabelsEnabled(bool on) {
  std::lock_guard lock(mutex_);
  labels_.enabled = on;
}

void Presenter::SetTimeInLabels(bool on) {
  std::lock_guard lock(mutex_);
  labels_.time_in_labels = on;
}

bool Presenter::TimeInLabels() const {
  std::lock_guard lock(mutex_);
  return labels_.time_in_labels;
}

void Presenter::SetLabelTextColor(uint32_t colour) {
  std::lock_guard lock(mutex_);
  labels_.text_colour = StoredLabelColour(colour);
}

void Presenter::SetLabelOutlineColor(uint32_t colour) {
  std::lock_guard lock(mutex_);
  labels_.outline_colour = StoredLabelColour(colour);
}

void Presenter::SetLabelFont(int height, int width, int weight, bool italic, const std::string& face) {
  std::lock_guard lock(mutex_);
  labels_.font = {height, width, weight, italic, face};
  FontChanged(labels_.font);
}

void Presenter::SetTimeFormat(const std::string& format) {
  std::lock_guard lock(mutex_);
  labels_.time_format = format;
}

std::string Presenter::TimeFormat() const {
  std::lock_guard lock(mutex_);
  return labels_.time_format;
}

LabelSettings Presenter::Labels() const {
  std::lock_guard lock(mutex_);
  return labels_;
}

void Presenter::SetEngineMode(int mode) {
  std::lock_guard lock(mutex_);
  engine_mode_ = mode;
}

int Presenter::EngineMode() const {
  std::lock_guard lock(mutex_);
  return engine_mode_;
}

}  // namespace dvr::display
