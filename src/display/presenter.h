#pragma once
// The display as the engine and the main window see it: pictures handed over per slot, the split
// layout, labels. The state and the rules live here; how pixels get drawn is up to the
// implementation (a window, an offscreen image). Every operation takes one recursive lock: the
// engine's worker shows pictures while the window thread changes the layout.
#include <cstdint>
#include <mutex>
#include <string>
#include <utility>

#include "display/labels.h"
#include "display/mouse_recorder.h"
#include "display/slot_store.h"
#include "display/split_layout.h"
#include "media/ndf_time.h"

namespace dvr::display {

class Presenter {
 public:
  virtual ~Presenter() = default;

  // Stores the picture in its slot and draws it if the slot is on screen. False (nothing stored)
  // for a slot outside the slot count or a size the slots do not take.
  bool ShowPicture(int slot, const media::FrameTime& time, const uint8_t* picture, int width, int height);
  // Draws every visible slot from the stored pictures (black where there is none) with labels.
  void RedrawAll();
  // Forgets every slot's picture and shows empty slots.
  void ClearPictures();

  void SetSlotCount(int count);
  bool SetSplit(int split, int page);
  std::pair<int, int> GetSplit() const;
  // The left double-click rule at (x, y) in the drawing area; true when the view changed.
  bool DoubleClick(int x, int y);

  void SetLabelsEnabled(bool on);
  void SetTimeInLabels(bool on);
  bool TimeInLabels() const;
  void SetLabelTextColor(uint32_t colour);
  void SetLabelOutlineColor(uint32_t colour);
  void SetLabelFont(int height, int width, int weight, bool italic, const std::string& face);
  void SetTimeFormat(const std::string& format);
  std::string TimeFormat() const;
  LabelSettings Labels() const;

  // 1 player, 2 network client.
  void SetEngineMode(int mode);
  int EngineMode() const;

  // The mouse over the picture, for the DVR's mouse remote control.
  MouseRecorder& Mouse() { return mouse_; }

 protected:
  struct Size {
    int width = 0, height = 0;
  };
  // The drawing target. Called with the lock held.
  virtual Size CanvasSize() const = 0;
  virtual void DrawPicture(const Rect& tile, const uint8_t* picture, int width, int height) = 0;
  virtual void FillBlack(const Rect& tile) = 0;
  virtual void DrawLabel(const std::string& text, int x, int y, const LabelSettings& style) = 0;
  // Puts what was drawn on the screen.
  virtual void Present() = 0;
  // A new label font was set.
  virtual void FontChanged(const LabelFont&) {}

  mutable std::recursive_mutex mutex_;

 private:
  void DrawSlot(int slot);

  SplitLayout layout_;
  SlotStore slots_;
  MouseRecorder mouse_;
  LabelSettings labels_;
  int engine_mode_ = 2;
};

}  // namespace dvr::display
