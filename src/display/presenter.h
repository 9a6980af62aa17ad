#pragma once
// The display as the engine and the main window see it: pictures handed over per slot, the split
// layout, labels. The state and the rules live here; how pixels get drawn is up to the
// implementation (a window, an offscreen image). Every operation takes one recursive lock: the
// engine's worker shows pictures while the window thread changes the layout. A finished export
// frame is handed to the sink after the lock is released, so that nothing waits for an encoder.
#include <cstdint>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "display/export_sink.h"
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
  // The slot is on screen now (so its pictures are drawn, and composed into an export).
  bool SlotOnScreen(int slot) const;
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

  // The accelerated drawing path (the "Use DDraw" setting): drawn that way while on and while it
  // works. A presenter with one path only keeps the setting.
  virtual void SetUseDirectDraw(bool on);
  virtual bool UseDirectDraw() const;
  // What the display shows, labels included, to the clipboard and to a BMP file; false when the
  // file could not be written. A presenter without a screen saves nothing.
  virtual bool SaveSnapshot(const std::string& path);

  // The mouse over the picture, for the DVR's mouse remote control.
  MouseRecorder& Mouse() { return mouse_; }

  // Export. The sink gives the frame size and takes the frames; set once by the engine.
  void SetExportSink(ExportSink* sink);
  // While active in player mode, every visible slot drawn on the screen is also drawn into an
  // export canvas of the sink's frame size, and a frame leaves each time a slot comes round again.
  // Switching on zeroes the export frame buffer (made on first use, 720 x 576 x 3 bytes).
  void SetExportActive(bool on);
  bool ExportActive() const;
  // The 24-bit bottom-up frame buffer the export shares with the live loop; empty until the
  // export was first switched on.
  std::vector<uint8_t>& ExportFrameBuffer() { return export_frame_; }
  // Writes the canvas as it stands if a slot was drawn since the last frame (the end of a batch
  // export, so that the last pictures are not lost); true when a frame was written.
  bool FlushExportFrame();

 protected:
  struct Size {
    int width = 0, height = 0;
  };
  // The screen, or the export canvas.
  enum class Surface { kScreen, kExport };
  // The drawing target. Called with the lock held.
  virtual Size CanvasSize() const = 0;
  virtual void DrawPicture(Surface surface, const Rect& tile, const uint8_t* picture, int width, int height) = 0;
  virtual void FillBlack(Surface surface, const Rect& tile) = 0;
  virtual void DrawLabel(Surface surface, const std::string& text, int x, int y, const LabelSettings& style) = 0;
  // Makes the export canvas width x height (a presenter without one ignores the export surface).
  virtual void PrepareExportCanvas(int /*width*/, int /*height*/) {}
  // The export canvas as a 24-bit bottom-up frame; false when it cannot be read (no frame then).
  virtual bool ReadExportCanvas(uint8_t* /*frame*/, int /*width*/, int /*height*/) { return false; }
  // Puts what was drawn on the screen.
  virtual void Present() = 0;
  // A new label font was set.
  virtual void FontChanged(const LabelFont&) {}

  mutable std::recursive_mutex mutex_;

 private:
  // The slot's picture (black without one) and its label in a tile of the surface.
  void DrawSlot(Surface surface, int slot, const Rect& tile);
  // Player-mode export: whether it takes part now, and the composition of one slot.
  bool Exporting() const;
  void LayOutExport();
  // Lays the export tiles out and fills the canvas black.
  void ClearExportCanvas();
  void ComposeExport(int slot);
  // Reads the canvas into the export frame buffer and marks it for the sink.
  void TakeExportFrame();
  // Hands a taken frame to the sink; called without the lock.
  void DeliverExportFrame(ExportSink* sink);

  SplitLayout layout_;
  SlotStore slots_;
  MouseRecorder mouse_;
  LabelSettings labels_;
  int engine_mode_ = 2;
  bool use_direct_draw_ = true;

  ExportSink* export_sink_ = nullptr;
  bool export_active_ = false;
  std::vector<uint8_t> export_frame_;
  SplitLayout export_layout_;  // the slots' tiles on the export canvas
  uint16_t export_mask_ = 0;   // slots drawn into the canvas since the last frame
  // The sink a frame in the export frame buffer waits for, until the drawing thread lets go of
  // the lock.
  ExportSink* frame_taken_for_ = nullptr;
};

}  // namespace dvr::display
