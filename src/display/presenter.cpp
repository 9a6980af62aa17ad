#include "display/presenter.h"

#include <algorithm>
#include <utility>

namespace dvr::display {

namespace {
constexpr int kLabelInsetX = 4, kLabelInsetY = 2;
constexpr size_t kExportFrameBytes = 720 * 576 * 3;  // the largest frame
}  // namespace

bool Presenter::ShowPicture(int slot, const media::FrameTime& time, const uint8_t* picture, int width,
                            int height) {
  ExportSink* frame_for = nullptr;
  {
    std::lock_guard lock(mutex_);
    if (!slots_.Store(slot, layout_.SlotCount(), time, picture, width, height)) return false;
    const Size size = CanvasSize();
    layout_.LayoutSlots(size.width, size.height);
    if (layout_.SlotVisible(slot)) {
      DrawSlot(Surface::kScreen, slot, layout_.SlotRect(slot));
      Present();
      if (Exporting()) ComposeExport(slot);
    }
    frame_for = std::exchange(frame_taken_for_, nullptr);
  }
  DeliverExportFrame(frame_for);
  return true;
}

bool Presenter::SlotOnScreen(int slot) const {
  std::lock_guard lock(mutex_);
  return slot >= 0 && slot < layout_.SlotCount() && slot < kMaxSlots && layout_.SlotVisible(slot);
}

void Presenter::DrawSlot(Surface surface, int slot, const Rect& tile) {
  if (slots_.HasPicture(slot)) {
    DrawPicture(surface, tile, slots_.Picture(slot), slots_.Width(slot), slots_.Height(slot));
  } else {
    FillBlack(surface, tile);
  }
  if (!labels_.enabled) return;
  DrawLabel(surface,
            LabelText(slot, slots_.Time(slot), slots_.HasPicture(slot), labels_.time_in_labels, labels_.time_format),
            tile.left + kLabelInsetX, tile.top + kLabelInsetY, labels_);
}

void Presenter::RedrawAll() {
  std::lock_guard lock(mutex_);
  const Size size = CanvasSize();
  layout_.LayoutSlots(size.width, size.height);
  FillBlack(Surface::kScreen, {0, 0, size.width, size.height});  // tiles of an unfilled last page stay black
  // The canvas is drawn afresh too, but gives no frame: that waits for a slot to come round.
  const bool exporting = Exporting();
  if (exporting) ClearExportCanvas();
  for (int slot = 0; slot < layout_.SlotCount() && slot < kMaxSlots; ++slot) {
    if (!layout_.SlotVisible(slot)) continue;
    DrawSlot(Surface::kScreen, slot, layout_.SlotRect(slot));
    if (exporting) DrawSlot(Surface::kExport, slot, export_layout_.SlotRect(slot));
  }
  Present();
}

void Presenter::ClearPictures() {
  std::lock_guard lock(mutex_);
  slots_.ForgetPictures();
  export_mask_ = 0;
  RedrawAll();
}

void Presenter::SetExportSink(ExportSink* sink) {
  std::lock_guard lock(mutex_);
  export_sink_ = sink;
}

void Presenter::SetExportActive(bool on) {
  std::lock_guard lock(mutex_);
  if (on) {
    if (export_frame_.empty()) export_frame_.resize(kExportFrameBytes);
    std::fill(export_frame_.begin(), export_frame_.end(), 0);
    export_mask_ = 0;
    if (export_sink_) PrepareExportCanvas(export_sink_->FrameWidth(), export_sink_->FrameHeight());
  }
  export_active_ = on;
  if (on && Exporting()) ClearExportCanvas();
}

bool Presenter::ExportActive() const {
  std::lock_guard lock(mutex_);
  return export_active_;
}

bool Presenter::Exporting() const {
  return export_active_ && engine_mode_ == 1 && export_sink_ != nullptr && export_sink_->FrameWidth() > 0 &&
         export_sink_->FrameHeight() > 0 &&
         static_cast<size_t>(export_sink_->FrameWidth()) * export_sink_->FrameHeight() * 3 <= export_frame_.size();
}

void Presenter::LayOutExport() {
  export_layout_ = layout_;
  export_layout_.LayoutSlots(export_sink_->FrameWidth(), export_sink_->FrameHeight());
}

void Presenter::ClearExportCanvas() {
  LayOutExport();
  FillBlack(Surface::kExport, {0, 0, export_sink_->FrameWidth(), export_sink_->FrameHeight()});
}

void Presenter::ComposeExport(int slot) {
  const uint16_t bit = static_cast<uint16_t>(1u << slot);
  // The slot comes round again: the canvas holds one picture of every slot since the last frame.
  if (export_mask_ & bit) TakeExportFrame();
  LayOutExport();
  DrawSlot(Surface::kExport, slot, export_layout_.SlotRect(slot));
  export_mask_ |= bit;
}

void Presenter::TakeExportFrame() {
  const int width = export_sink_->FrameWidth(), height = export_sink_->FrameHeight();
  if (ReadExportCanvas(export_frame_.data(), width, height)) frame_taken_for_ = export_sink_;
  export_mask_ = 0;  // a canvas that cannot be read gives no frame, and the round starts again
}

// Only the thread that shows pictures takes frames, so the buffer stays as it was taken while the
// sink encodes it.
void Presenter::DeliverExportFrame(ExportSink* sink) {
  if (sink != nullptr) sink->WriteVideo(export_frame_.data(), true);
}

bool Presenter::FlushExportFrame() {
  ExportSink* frame_for = nullptr;
  {
    std::lock_guard lock(mutex_);
    if (!Exporting() || export_mask_ == 0) return false;
    TakeExportFrame();
    frame_for = std::exchange(frame_taken_for_, nullptr);
  }
  DeliverExportFrame(frame_for);
  return true;
}

void Presenter::SetUseDirectDraw(bool on) {
  std::lock_guard lock(mutex_);
  use_direct_draw_ = on;
}

bool Presenter::UseDirectDraw() const {
  std::lock_guard lock(mutex_);
  return use_direct_draw_;
}

bool Presenter::SaveSnapshot(const std::string&) { return false; }

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
