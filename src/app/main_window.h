#pragma once
// The viewer's one window: the video window, a row of buttons, the position and volume sliders,
// the title and status lines; two modes (player, network client) that decide the buttons and the
// context menu. It owns the engine and turns commands, buttons, accelerators, dropped files,
// timer ticks and the network client's notifications into engine calls.
//
// Threads: everything here runs on the window thread. The network client's notifications arrive
// from its worker and are queued to the window thread; the window reads the client's status and
// the engine's state on its timer ticks and never waits for a worker except to stop one.
#include <QAction>
#include <QMenu>
#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "app/command_line.h"
#include "app/command_rules.h"
#include "app/controls.h"
#include "app/gui_notices.h"
#include "app/settings.h"
#include "app/time_navigation.h"
#include "audio/audio_device.h"
#include "display/qt/display_window.h"
#include "engine/viewer_engine.h"
#include "export/avi_writer.h"
#include "net/net_client.h"
#include "ui/skin_dialog.h"
#include "ui/transparent_label.h"

namespace dvr::app {

// The questions the window asks through standard dialogs, replaceable so that a test answers them.
struct WindowQuestions {
  // A recording to open; empty: cancelled.
  std::function<QString(QWidget* parent)> open_file;
  // Where to export; empty: cancelled.
  std::function<QString(QWidget* parent, const QString& suggested)> export_file;
  // "Internet low speed?": true for Yes.
  std::function<bool(QWidget* parent)> low_speed;
  // The compressor and its settings (cancelled set when the user cancels).
  std::function<exporting::VideoEncoderChoice(QWidget* parent)> encoder;
};

class MainWindow final : public ui::SkinDialog, private net::NetListener {
  Q_OBJECT

 public:
  struct Options {
    bool sound = true;                   // play through the sound system; else silently
    std::string settings_path;           // empty: the user's configuration folder
    ControlFactory* controls = nullptr;  // nullptr: the skin's controls
    platform::Notices* notices = nullptr;  // nullptr: message boxes
    std::string default_folder;          // still images and recordings; empty: Documents
  };

  explicit MainWindow(const Options& options, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Start-up after construction: settings, layout, timers, then the command line's recording or
  // the connection it asks for (at the first tick).
  void Start(const CommandLine& command_line);
  // A command by id, as its menu item, button or accelerator runs it.
  void RunCommand(int id);

  WindowQuestions& Questions() { return questions_; }
  QAction* Action(int id) const;
  Button* ButtonFor(int id) const;
  Slider& PositionSlider() { return *position_slider_; }
  Slider& VolumeSlider() { return *volume_slider_; }
  // The recorded-time map, the timeline strip, the marks and the span export.
  TimeNavigation& Navigation() { return *navigation_; }
  QString TitleText() const { return title_->Text(); }
  QString StatusText() const { return status_text1_ + status_text2_; }
  int Mode() const { return mode_; }
  VideoSize Video() const { return video_; }
  WindowFacts Facts() const;
  engine::ViewerEngine& Engine() { return *engine_; }
  display::DisplayWindow& Display() { return *display_; }
  bool Exporting() const { return exporting_; }
  const std::string& LastRecordingPath() const { return last_recording_path_; }
  const std::string& LastStillPath() const { return last_still_path_; }
  // The menu a right click shows, built for the current mode and states.
  std::unique_ptr<QMenu> MakeContextMenu();
  // Opens a recording as the open command does after its dialog.
  bool OpenRecording(const std::string& path, bool is_disk);
  // The settings as they stand now.
  Settings CurrentSettings() const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildActions();
  void BuildControls();
  void ApplySettings(const Settings& settings);
  void SaveSettingsNow();
  void SetMode(int mode);
  void LayOut();
  void ResizeForVideo(VideoSize video);
  void UpdateCommandStates();
  void Tick(int timer);
  void UpdateStatus();
  void SendRecordedKey();

  // Commands.
  void OpenFileCommand();
  void OpenDiskCommand();
  void CloseFileCommand();
  void ConnectCommand();
  void EndSession(const QString& message);
  void ResetConnectButton();
  void StillImageCommand();
  void StartRecordingCommand();
  void StopRecordingCommand();
  void ExportCommand();
  void StartExport();
  // Asks for the compressor and opens the writer on `path`; the writer's result.
  int OpenExportWriter(const QString& path, bool low_speed);
  void ActivateExport(bool low_speed);
  void StopExport();
  void OptionsCommand();
  void NetworkOptionsCommand();
  void AboutCommand();
  void SetVideoSize(VideoSize video);
  void ToggleMaximized();
  void ApplyAlwaysOnTop();
  void Shutdown();

  // The network client's notifications, from its worker: queued to the window thread.
  void OnStatusReport() override {}
  void OnDisconnected() override;
  void OnLoginFailed() override;

  Options options_;
  platform::Notices* notices_;
  GuiNotices gui_notices_{this};
  std::unique_ptr<ControlFactory> own_controls_;
  ControlFactory* controls_;
  WindowQuestions questions_;

  display::DisplayWindow* display_;
  std::unique_ptr<audio::AudioDevice> sound_;
  std::unique_ptr<engine::ViewerEngine> engine_;
  std::unique_ptr<TimeNavigation> navigation_;

  std::map<int, QAction*> actions_;
  std::map<int, std::unique_ptr<Button>> buttons_;
  std::unique_ptr<Slider> position_slider_, volume_slider_;
  std::unique_ptr<StatusLine> status_line_;
  ui::TransparentLabel* title_ = nullptr;
  QLabel* icon_ = nullptr;
  QTimer relayout_timer_, status_timer_, export_timer_;

  int mode_ = 1;
  VideoSize video_;
  bool maximized_ = false;
  bool always_on_top_ = false;
  Settings settings_;  // the stored values the window keeps (address, ports, names ...)
  std::string password_;
  std::string still_folder_, recording_folder_;
  CommandLine command_line_;
  bool connect_at_start_ = false;
  int recorded_key_ = 0;  // the latest key pressed over the main window (virtual-key code)
  bool exporting_ = false;
  int export_kind_ = exporting::kEveryPictureExport;
  QString export_path_;
  std::string last_recording_path_, last_still_path_;
  QString status_text1_, status_text2_;
  bool shut_down_ = false;
};

}  // namespace dvr::app
