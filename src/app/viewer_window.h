#pragma once
// The viewer's window until the full main window replaces it: the video window in the middle, a
// small menu (open, play, pause, splits, next page, OpenGL on or off, still image). Owns the
// engine, which it ends before the video window goes.
#include <QMainWindow>

#include <memory>
#include <string>

#include "app/gui_notices.h"
#include "audio/audio_device.h"
#include "display/qt/display_window.h"
#include "engine/viewer_engine.h"

namespace dvr::app {

class ViewerWindow final : public QMainWindow {
 public:
  // `sound`: play through the sound system; otherwise silently.
  explicit ViewerWindow(bool sound);
  ~ViewerWindow() override;

  bool Open(const std::string& path);
  // The still-image command: the capture folder, a free name, the clipboard and the file. A
  // failure is reported; the path written, or empty.
  std::string SaveStillImage();
  void SetStillFolder(const std::string& folder) { still_folder_ = folder; }

  display::DisplayWindow& Display() { return *display_; }
  engine::ViewerEngine& Engine() { return *engine_; }

 private:
  void BuildMenus();
  void OpenFromDialog();
  void Split(int split);

  GuiNotices notices_{this};
  display::DisplayWindow* display_;  // owned by this window as its central widget
  std::unique_ptr<audio::AudioDevice> sound_;
  std::unique_ptr<engine::ViewerEngine> engine_;
  std::string still_folder_;
};

}  // namespace dvr::app
