#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QWindow>
#include <QStandardPaths>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string_view>

#include "app/command_ids.h"
#include "app/command_table.h"
#include "app/dialogs/go_to_time_dialog.h"
#include "app/timeline_strip.h"
#include "app/dialogs/about_dialog.h"
#include "app/dialogs/disk_dialog.h"
#include "app/dialogs/encoder_dialog.h"
#include "app/dialogs/login_dialog.h"
#include "app/dialogs/network_options_dialog.h"
#include "app/dialogs/options_dialog.h"
#include "app/folder_rules.h"
#include "app/key_map.h"
#include "app/skin_controls.h"
#include "app/status_text.h"
#include "app/still_command.h"
#include "audio/audio_converter.h"
#include "audio/qt/qt_audio_device.h"
#include "display/labels.h"
#include "media/drive_list.h"
#include "media/variant.h"
#include "net/remote_control.h"
#include "platform/clock.h"
#include "platform/socket.h"
#include "platform/raw_drive.h"
#include "platform/version.h"
#include "ui/skin_pixmap.h"

namespace dvr::app {
namespace {

constexpr const char* kTitle = "DVR-K470 Viewer";
constexpr const char* kTitleLine = "DVR-K470 Viewer 2.78";
static_assert(std::string_view(kTitleLine).ends_with(platform::kProgramVersion));
constexpr int kBlockBytes = 4096;
constexpr uint32_t kKeepSplitCount = 0xFFFFFFFF;

// The text of a menu item without its accelerator part, for a tooltip.
QString WithoutAccelerator(QString text) {
  text = text.section('\t', 0, 0);
  text.remove(QStringLiteral("..."));
  return text.remove('&');
}

std::string Documents() {
  return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
}

// Why a recording cannot be opened, in a sentence the user can act on.
std::string OpenFailure(const std::string& path, bool is_disk) {
  const QString name = QString::fromStdString(path);
  std::error_code error;
  QString text;
  if (is_disk) {
    text = dvr::app::MainWindow::tr("Cannot read the DVR disk %1.").arg(name);
  } else if (!std::filesystem::exists(path, error)) {
    text = dvr::app::MainWindow::tr("Cannot open %1: no such file.").arg(name);
  } else if (std::filesystem::is_directory(path, error)) {
    text = dvr::app::MainWindow::tr("Cannot open %1: it is a folder.").arg(name);
  } else if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
    std::fclose(file);
    text = dvr::app::MainWindow::tr("Cannot open %1: it holds no recording this viewer can play.")
               .arg(name);
  } else {
    text = dvr::app::MainWindow::tr("Cannot open %1: %2.")
               .arg(name, QString::fromLocal8Bit(std::strerror(errno)));
  }
  return text.toStdString();
}

// The questions as standard dialogs ask them.
WindowQuestions StandardQuestions() {
  WindowQuestions questions;
  questions.open_file = [](QWidget* parent) {
    return QFileDialog::getOpenFileName(
        parent, {}, {},
        MainWindow::tr("All Files (*)") + ";;" + MainWindow::tr("NDF File Format (*.NDF *.ndf)"));
  };
  questions.export_file = [](QWidget* parent, const QString& suggested) {
    QFileDialog dialog(parent, {}, suggested, MainWindow::tr("AVI Files (*.avi)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix("avi");
    dialog.selectFile(suggested);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
  };
  questions.low_speed = [](QWidget* parent) {
    return QMessageBox::question(parent, QString::fromLatin1(kTitle),
                                 MainWindow::tr("Internet low speed?"),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
  };
  questions.encoder = [](QWidget* parent) {
    static exporting::VideoEncoderChoice last;  // the dialog opens on the previous choice
    EncoderDialog dialog(last, parent);
    dialog.exec();
    if (!dialog.Values().cancelled) last = dialog.Values();
    return dialog.Values();
  };
  return questions;
}

// The span commands' questions as dialogs ask them.
SpanQuestions StandardSpanQuestions() {
  SpanQuestions questions;
  questions.go_to_time = [](QWidget* parent, uint32_t first, uint32_t last,
                            uint32_t now) -> std::optional<uint32_t> {
    GoToTimeDialog dialog(first, last, now, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Time();
  };
  questions.span_file = [](QWidget* parent, const QString& suggested) {
    QFileDialog dialog(parent, MainWindow::tr("Export span"), suggested,
                       MainWindow::tr("AVI Files (*.avi)") + ";;" +
                           MainWindow::tr("NDF File Format (*.NDF *.ndf)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted) return QString();
    QString path = dialog.selectedFiles().value(0);
    // The chosen kind gives the ending when the name has none of the two.
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != "avi" && suffix != "ndf")
      path += dialog.selectedNameFilter().contains("NDF") ? ".NDF" : ".avi";
    return path;
  };
  return questions;
}

}  // namespace

MainWindow::MainWindow(const Options& options, QWidget* parent)
    : ui::SkinDialog(parent),
      options_(options),
      notices_(options.notices ? options.notices : &gui_notices_),
      own_controls_(options.controls ? nullptr : std::make_unique<SkinControlFactory>()),
      controls_(options.controls ? options.controls : own_controls_.get()),
      questions_(StandardQuestions()),
      display_(new display::DisplayWindow(this)) {
  setWindowTitle(kTitle);
  setWindowIcon(ApplicationIcon());
  SetSkinBitmap(ui::LoadSkinPixmap("border"));
  SetCorners(12, 12);
  SetResizeCorner(16);
  setAcceptDrops(true);
  setMinimumSize(kMinWindowWidth, kMinWindowHeight);
  setFocusPolicy(Qt::StrongFocus);

  if (options.sound) sound_ = std::make_unique<audio::QtAudioDevice>();
  engine_ = std::make_unique<engine::ViewerEngine>(*display_, sound_.get(), *notices_,
                                                   platform::SystemClock());
  const auto variant = media::VariantFromName(media::BuildVideoFormat());
  if (!variant) notices_->Show("Unkown Video Format");
  // The player keeps a slot for each of the recorder's 16 channels, so that every split and
  // page has its channels; the live picture always takes slot 0.
  // Set up as the recorder's software is (split 4, so that local recordings keep their channel
  // fields); then the player gets its 16 slots.
  engine_->Setup(variant.value_or(4), audio::SelectAudioFormat(audio::BuildAudioFormat(), *notices_),
                 4, audio::kSampleRate, 4);
  engine_->SetMode(engine::kPlayerMode, 16);
  engine_->SetSplit(4, 0);
  engine_->SetLabelFont(16, 0, 500, false, "Arial");
  engine_->SetLabelTextColor(0x80FFFF);
  engine_->SetLabelOutlineColor(0);
  engine_->SetNetListener(this);
  navigation_ = std::make_unique<TimeNavigation>(
      this, *engine_, *notices_,
      AviExportHooks{[this](const QString& path) {
                       if (OpenExportWriter(path, false) != exporting::kAviOk) return false;
                       ActivateExport(false);
                       return true;
                     },
                     [this] {
                       if (exporting_) StopExport();
                     }});
  navigation_->Questions() = StandardSpanQuestions();
  connect(navigation_.get(), &TimeNavigation::StateChanged, this, [this] {
    LayOut();
    UpdateCommandStates();
  });
  display_->OnDoubleClick([this] {
    const auto [split, page] = engine_->GetSplit();
    engine_->SetSplit(split, page);
  });

  still_folder_ = recording_folder_ =
      options.default_folder.empty() ? Documents() : options.default_folder;
  BuildActions();
  BuildControls();
  qApp->installEventFilter(this);

  connect(&relayout_timer_, &QTimer::timeout, this, [this] { Tick(3); });
  connect(&status_timer_, &QTimer::timeout, this, [this] { Tick(4); });
  connect(&export_timer_, &QTimer::timeout, this, [this] { Tick(5); });
}

MainWindow::~MainWindow() {
  qApp->removeEventFilter(this);
  if (exporting_) StopExport();
  navigation_.reset();  // its jobs end before the engine they read from
  // The workers draw into the video window and call back here: they stop before either goes. A
  // notification already queued to this window is dropped with it.
  engine_->CloseRecording();
  engine_->Disconnect();
  engine_->StopRecording();
  engine_.reset();
}

void MainWindow::BuildActions() {
  for (const CommandSpec& command : Commands()) {
    auto* action = new QAction(CommandText(command).section('\t', 0, 0), this);
    action->setCheckable(command.checkable);
    if (command.shortcut) {
      action->setShortcut(QKeySequence(QString::fromLatin1(command.shortcut)));
      action->setShortcutContext(Qt::WindowShortcut);
      addAction(action);  // the accelerator works without the menu
    }
    const int id = command.id;
    connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
    actions_[id] = action;
  }
}

void MainWindow::BuildControls() {
  for (const CommandSpec& command : Commands()) {
    if (!command.image) continue;
    auto button = controls_->MakeButton(command.id, command.checkable, this);
    button->SetImage(QString::fromLatin1(command.image));
    button->SetTooltip(command.tooltip ? QCoreApplication::translate("Commands", command.tooltip)
                                       : WithoutAccelerator(CommandText(command)));
    const int id = command.id;
    button->clicked = [this, id] { RunCommand(id); };
    buttons_[id] = std::move(button);
  }
  for (const auto& [id, image, tooltip] :
       {std::tuple{kCtlMinimize, "minimize", QT_TR_NOOP("Minimize")},
        std::tuple{kCtlCloseButton, "close", QT_TR_NOOP("Close")}}) {
    auto button = controls_->MakeButton(id, false, this);
    button->SetImage(image);
    button->SetTooltip(tr(tooltip));
    const int control = id;
    button->clicked = [this, control] {
      if (control == kCtlMinimize) {
        showMinimized();
      } else {
        close();
      }
    };
    buttons_[id] = std::move(button);
  }

  position_slider_ = controls_->MakeSlider(kCtlPosition, this);
  // A key on the slider seeks too: otherwise its thumb would move and jump back at the next tick.
  position_slider_->tracked = position_slider_->set = [this](int position) {
    // The range ends at the size in blocks: its last position is past the last block when the
    // size is a whole number of blocks, a target the reader refuses (it would keep its previous
    // one). The far end means the last block.
    const uint64_t size = engine_->Size();
    const uint64_t block = std::min<uint64_t>(position, size > 0 ? (size - 1) / kBlockBytes : 0);
    if (block != engine_->Position() / kBlockBytes) engine_->Seek(block * kBlockBytes);
  };
  volume_slider_ = controls_->MakeSlider(kCtlVolume, this);
  volume_slider_->SetRange(0, 0xFFFF);
  volume_slider_->SetTooltip(tr("Volume"));
  volume_slider_->tracked = volume_slider_->set = [this](int position) {
    engine_->SetVolume(static_cast<uint32_t>(position));
  };
  status_line_ = controls_->MakeStatusLine(this);
  status_line_->Widget()->setObjectName("status");

  title_ = new ui::TransparentLabel(this);
  title_->setObjectName("title");
  title_->SetText(QString::fromLatin1(kTitleLine));
  title_->SetTextColour(QColor(0xD7, 0xDC, 0xE4));
  QFont title_font = title_->font();
  title_font.setPixelSize(13);
  title_font.setWeight(QFont::DemiBold);
  title_->setFont(title_font);
  title_->resize(330, 18);
  icon_ = new QLabel(this);
  icon_->setObjectName("icon");
  icon_->setPixmap(windowIcon().pixmap(16, 16));
  icon_->resize(16, 16);
  icon_->installEventFilter(this);
}

void MainWindow::Start(const CommandLine& command_line) {
  command_line_ = command_line;
  const std::string path =
      options_.settings_path.empty() ? SettingsFilePath() : options_.settings_path;
  options_.settings_path = path;
  std::vector<std::string> notes;
  Settings loaded;
  if (!LoadSettings(path, loaded, &notes)) notes.push_back("cannot read " + path + "; using the defaults");
  for (const std::string& note : notes) std::fprintf(stderr, "dvr-viewer: %s\n", note.c_str());
  ApplySettings(loaded);
  volume_slider_->SetPosition(static_cast<int>(engine_->Volume()));
  title_->SetText(QString::fromLatin1(kTitleLine));
  ResizeForVideo({640, 448});
  relayout_timer_.start(1000);
  status_timer_.start(300);
  export_timer_.start(40);
  if (!command_line.file.empty()) OpenRecording(command_line.file, false);
  connect_at_start_ = command_line.connect_at_start;
  UpdateCommandStates();
}

void MainWindow::ApplySettings(const Settings& settings) {
  settings_ = settings;
  always_on_top_ = settings.always_on_top;
  engine_->SetTimeInLabels(settings.show_time);
  engine_->SetRepeat(settings.repeat);
  engine_->SetTimeFormat(settings.time_format);
  engine_->SetVolume(settings.volume);
  engine_->SetMute(settings.mute);
  engine_->SetUseDirectDraw(settings.use_ddraw);
  engine_->SetAutoReconnect(settings.auto_reconnection);
  engine_->SetNetTimeout(settings.timeout_ms);
  engine_->SetMouseMode(settings.mouse_mode);
  ApplyAlwaysOnTop();
}

Settings MainWindow::CurrentSettings() const {
  Settings settings = settings_;  // the addresses, ports, names and the mouse mode
  settings.always_on_top = always_on_top_;
  settings.show_time = engine_->TimeInLabels();
  settings.repeat = engine_->Repeat();
  settings.time_format = engine_->TimeFormat();
  settings.volume = static_cast<uint16_t>(engine_->Volume());
  settings.mute = engine_->Muted();
  settings.use_ddraw = engine_->UseDirectDraw();
  settings.auto_reconnection = engine_->AutoReconnect();
  settings.timeout_ms = engine_->NetTimeout();
  return settings;
}

void MainWindow::SaveSettingsNow() {
  if (options_.settings_path.empty()) return;  // not started: nothing was loaded to keep
  std::string error;
  if (!SaveSettings(options_.settings_path, CurrentSettings(), &error)) {
    notices_->Show(
        tr("The settings were not saved: %1").arg(QString::fromStdString(error)).toStdString());
  }
}

QAction* MainWindow::Action(int id) const {
  const auto found = actions_.find(id);
  return found == actions_.end() ? nullptr : found->second;
}

Button* MainWindow::ButtonFor(int id) const {
  const auto found = buttons_.find(id);
  return found == buttons_.end() ? nullptr : found->second.get();
}

WindowFacts MainWindow::Facts() const {
  WindowFacts facts;
  facts.mode = mode_;
  facts.engine_state = engine_->State();
  facts.recording_open = engine_->IsOpen();
  facts.time_in_labels = engine_->TimeInLabels();
  facts.video = video_;
  facts.maximized = maximized_;
  facts.always_on_top = always_on_top_;
  facts.muted = engine_->Muted();
  facts.logged_in = engine_->LoggedIn();
  facts.local_recording = engine_->IsRecording();
  facts.time_map_ready = navigation_->MapReady();
  facts.span_marked = navigation_->SpanMarked();
  facts.exporting = exporting_ || navigation_->ExportingSpan();
  return facts;
}

void MainWindow::UpdateCommandStates() {
  const WindowFacts facts = Facts();
  for (const auto& [id, action] : actions_) {
    const CommandState state = StateOf(id, facts);
    action->setEnabled(state.enabled);
    if (action->isCheckable()) action->setChecked(state.checked);
    if (Button* button = ButtonFor(id)) {
      button->SetEnabled(state.enabled);
      if (id == kCmdMute) button->SetChecked(state.checked);
    }
  }
  actions_[kCmdConnect]->setText(engine_->SessionRunning()
                                     ? QCoreApplication::translate("Commands", "Disconnect")
                                     : QCoreApplication::translate("Commands", "&Connect..."));
}

// --- Layout ---

void MainWindow::LayOut() {
  const WindowRect video = VideoAreaFor(width(), height());
  // The timeline strip takes the bottom of the video area while the player has a source.
  TimelineStrip* strip = navigation_->Strip();
  const bool with_strip = mode_ == 1 && engine_->IsOpen() && video.height > 2 * TimelineStrip::kHeight;
  const int picture_height = std::max(0, video.height - (with_strip ? TimelineStrip::kHeight : 0));
  display_->setGeometry(video.x, video.y, std::max(0, video.width), picture_height);
  strip->setGeometry(video.x, video.y + picture_height, std::max(0, video.width), TimelineStrip::kHeight);
  strip->setVisible(with_strip);
  for (const ControlPlacement& place : LayoutControls(width(), height(), mode_)) {
    QWidget* widget = nullptr;
    if (Button* button = ButtonFor(place.id)) widget = button->Widget();
    else if (place.id == kCtlPosition) widget = position_slider_->Widget();
    else if (place.id == kCtlVolume) widget = volume_slider_->Widget();
    else if (place.id == kCtlStatusLine) widget = status_line_->Widget();
    else if (place.id == kCtlTitle) widget = title_;
    else if (place.id == kCtlIcon) widget = icon_;
    if (!widget) continue;
    widget->move(place.x, place.y);
    if (place.width > 0 || place.height > 0) {
      widget->resize(place.width > 0 ? place.width : widget->width(),
                     place.height > 0 ? place.height : widget->height());
    }
    widget->setVisible(place.visible);
  }
}

void MainWindow::ResizeForVideo(VideoSize video) {
  video_ = video;
  const WindowRect window = WindowForVideo(video);
  resize(window.width, window.height);
  if (const QScreen* screen = this->screen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(window.width / 2, window.height / 2));
  }
  LayOut();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  ui::SkinDialog::resizeEvent(event);
  const WindowRect video = VideoAreaFor(width(), height());
  video_ = {video.width, video.height};
  // Laid out at once rather than at the next slow tick: a window dragged larger never shows its
  // controls in the old places.
  LayOut();
}

// --- Modes ---

void MainWindow::SetMode(int mode) {
  if (mode == mode_) return;  // the checked mode again: nothing to switch, no session to end
  if (exporting_) StopExport();
  if (mode == 2) {
    engine_->CloseRecording();  // the player's worker would hold the engine
    navigation_->SourceClosed();
    engine_->Display().ClearPictures();
  } else {
    engine_->StopRecording();
  }
  engine_->SetMode(mode, kKeepSplitCount);
  mode_ = mode;
  title_->SetText(QString::fromLatin1(kTitleLine));
  engine_->SetSplit(mode == 1 ? 4 : 1, 0);
  ResetConnectButton();
  LayOut();
  UpdateCommandStates();
}

// --- Commands ---

void MainWindow::RunCommand(int id) {
  if (IsRemoteCommand(id)) {
    if (!engine_->LoggedIn()) return;
    if (const auto code = net::KeyCodeForCommand(id)) engine_->SendKey(*code);
    return;
  }
  const WindowFacts facts = Facts();
  if (!StateOf(id, facts).enabled) return;  // an accelerator of a disabled command
  switch (id) {
    case kCmdOpenFile: OpenFileCommand(); break;
    case kCmdOpenDisk: OpenDiskCommand(); break;
    case kCmdCloseFile: CloseFileCommand(); break;
    case kCmdPlay: engine_->PlayForward(1.0); break;
    case kCmdBackward: engine_->PlayBackward(1.0); break;
    case kCmdPause: engine_->Pause(); break;
    case kCmdFastForward: engine_->FastForward(); break;
    case kCmdFastBackward: engine_->FastBackward(); break;
    case kCmdStepForward: engine_->StepForward(); break;
    case kCmdStepBackward: engine_->StepBackward(); break;
    case kCmdTimeInLabels: engine_->SetTimeInLabels(!engine_->TimeInLabels()); break;
    case kCmdSingle: engine_->SetSplit(1, -1); break;
    case kCmdSplit4: engine_->SetSplit(4, -1); break;
    case kCmdSplit9: engine_->SetSplit(9, -1); break;
    case kCmdSplit16: engine_->SetSplit(16, -1); break;
    case kCmdSize448: SetVideoSize({640, 448}); break;
    case kCmdSize544: SetVideoSize({640, 544}); break;
    case kCmdNormalSize:
      maximized_ = false;
      showNormal();
      break;
    case kCmdMaximize:
      maximized_ = true;
      showMaximized();
      break;
    case kCmdAlwaysOnTop:
      always_on_top_ = !always_on_top_;
      ApplyAlwaysOnTop();
      break;
    case kCmdMute: engine_->SetMute(!engine_->Muted()); break;
    case kCmdStillImage: StillImageCommand(); break;
    case kCmdGoToTime: navigation_->GoToTimeCommand(); break;
    case kCmdMarkIn: navigation_->MarkIn(); break;
    case kCmdMarkOut: navigation_->MarkOut(); break;
    case kCmdExportSpan: navigation_->ExportSpanCommand(); break;
    case kCmdExport: ExportCommand(); break;
    case kCmdOptions: OptionsCommand(); break;
    case kCmdNetworkOptions: NetworkOptionsCommand(); break;
    case kCmdConnect: ConnectCommand(); break;
    case kCmdStartRecording: StartRecordingCommand(); break;
    case kCmdStopRecording: StopRecordingCommand(); break;
    case kCmdPlayerMode: SetMode(1); break;
    case kCmdNetworkMode: SetMode(2); break;
    case kCmdAbout: AboutCommand(); break;
    case kCmdClose: close(); break;
    default: break;
  }
  UpdateCommandStates();
}

bool MainWindow::OpenRecording(const std::string& path, bool is_disk) {
  if (mode_ != 1) SetMode(1);
  if (exporting_) StopExport();  // the export belongs to what was shown
  if (engine_->IsOpen()) {
    engine_->CloseRecording();
    engine_->Disconnect();
  }
  if (!engine_->OpenRecording(path, is_disk)) {
    // Whatever was open before is closed now: the window says so rather than showing it still.
    navigation_->SourceClosed();
    engine_->Display().ClearPictures();
    position_slider_->SetRange(0, 0);
    title_->SetText(QString::fromLatin1(kTitleLine));
    notices_->Show(OpenFailure(path, is_disk));
    UpdateCommandStates();
    return false;
  }
  engine_->PlayForward(1.0);
  position_slider_->SetRange(0, static_cast<int>(engine_->Size() / kBlockBytes));
  position_slider_->SetPosition(0);
  title_->SetText(QString::fromStdString(std::filesystem::path(path).filename().string()));
  navigation_->SourceOpened(path, is_disk);
  LayOut();
  update();
  UpdateCommandStates();
  return true;
}

void MainWindow::OpenFileCommand() {
  const QString path = questions_.open_file(this);
  if (!path.isEmpty()) OpenRecording(path.toStdString(), false);
}

void MainWindow::OpenDiskCommand() {
  DiskDialog dialog(media::EnumerateDrives(platform::DriveProbe()), this);
  if (dialog.exec() != QDialog::Accepted) return;
  const std::string path = dialog.SelectedPath();
  if (!path.empty()) OpenRecording(path, true);
}

void MainWindow::CloseFileCommand() {
  if (exporting_) StopExport();
  engine_->CloseRecording();
  engine_->Disconnect();
  navigation_->SourceClosed();
  engine_->Display().ClearPictures();
  position_slider_->SetRange(0, 0);
  title_->SetText(QString::fromLatin1(kTitleLine));
  LayOut();
}

void MainWindow::SetVideoSize(VideoSize video) {
  if (maximized_) {
    maximized_ = false;
    showNormal();
  }
  ResizeForVideo(video);
}

void MainWindow::ApplyAlwaysOnTop() {
  Qt::WindowFlags flags = windowFlags();
  if (flags.testFlag(Qt::WindowStaysOnTopHint) == always_on_top_) return;
  flags.setFlag(Qt::WindowStaysOnTopHint, always_on_top_);
  if (QWindow* window = windowHandle()) {
    // Told to the window system directly: a widget's new flags would make a new native window,
    // and the video window's OpenGL surface would go with the old one.
    overrideWindowFlags(flags);
    window->setFlags(flags);
  } else {
    setWindowFlags(flags);
  }
}

void MainWindow::StillImageCommand() {
  CreateFolderLevels(still_folder_);  // an existing folder is fine; a failure shows at the save
  platform::CalendarTime now;
  platform::LocalTime(std::time(nullptr), now);
  const std::string path = FreeStillImagePath(still_folder_, now);
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  const bool saved = engine_->SaveSnapshot(path);
  QGuiApplication::restoreOverrideCursor();
  if (!saved) {
    notices_->Show(
        tr("Cannot save the still image to %1.").arg(QString::fromStdString(path)).toStdString());
    return;
  }
  last_still_path_ = path;
}

// --- Live sessions ---

void MainWindow::ConnectCommand() {
  if (engine_->SessionRunning()) {
    if (exporting_) StopExport();
    engine_->StopRecording();
    engine_->Disconnect();
    ResetConnectButton();
    return;
  }
  LoginValues values;
  values.ip_address = settings_.ip_address;
  values.port = settings_.port;
  values.use_ddns = settings_.dynamic_ip;
  values.dvr_name = settings_.dvr_name;
  LoginDialog dialog(values, this);
  if (dialog.exec() != QDialog::Accepted) return;
  values = dialog.Values();
  settings_.ip_address = values.ip_address;
  settings_.port = values.port;
  settings_.dynamic_ip = values.use_ddns;
  settings_.dvr_name = values.dvr_name;
  password_ = values.password;
  SaveSettingsNow();

  engine_->SetMouseMode(settings_.mouse_mode);
  bool started = false;
  if (!values.use_ddns) {
    const auto address = platform::LookUpIpv4(settings_.ip_address);
    if (!address) {
      notices_->Show(tr("Cannot find the DVR \"%1\": the name does not resolve to an address.")
                         .arg(QString::fromStdString(settings_.ip_address))
                         .toStdString());
      return;
    }
    started = engine_->ConnectDirect(*address, settings_.port, password_);
  } else {
    started = engine_->ConnectDdns(settings_.ddns_ip, settings_.ddns_port, settings_.dvr_name,
                                   password_);
  }
  if (!started) {
    const std::string reason = engine_->NetLastError();
    notices_->Show(reason.empty() ? tr("The session could not be started.").toStdString() : reason);
    return;
  }
  if (Button* button = ButtonFor(kCmdConnect)) {
    button->SetImage("disconnect");
    button->SetTooltip(QCoreApplication::translate("Commands", "Disconnect"));
  }
}

void MainWindow::ResetConnectButton() {
  if (Button* button = ButtonFor(kCmdConnect)) {
    button->SetImage("connect");
    button->SetTooltip(QCoreApplication::translate("Commands", "Connect"));
  }
}

void MainWindow::EndSession(const QString& message) {
  if (exporting_) StopExport();
  engine_->StopRecording();
  engine_->Disconnect();
  ResetConnectButton();
  UpdateCommandStates();
  update();
  notices_->Show(message.toStdString());
}

void MainWindow::OnDisconnected() {
  // The client's worker: the window handles it on its own thread.
  QMetaObject::invokeMethod(
      this,
      [this] {
        // The session may have dropped the link already; it still runs until the window ends it.
        // The notice is the recorder's fixed English text in every language, as the failures are.
        if (engine_->SessionRunning()) EndSession(QStringLiteral("Disconnected by server."));
      },
      Qt::QueuedConnection);
}

void MainWindow::OnLoginFailed() {
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (!engine_->SessionRunning()) return;  // ended meanwhile by the user
        // Why it failed, as the client knows it: a refused password, no answer, a lost DDNS ...
        const std::string reason = engine_->NetLastError();
        EndSession(reason.empty() ? QStringLiteral("Incorrect password.")
                                  : QString::fromStdString(reason));
      },
      Qt::QueuedConnection);
}

void MainWindow::StartRecordingCommand() {
  CreateFolderLevels(recording_folder_);
  const std::string path = FreeRecordingPath(recording_folder_, std::time(nullptr));
  if (!engine_->StartRecording(path)) {
    notices_->Show(tr("Cannot record to %1.").arg(QString::fromStdString(path)).toStdString());
    return;
  }
  last_recording_path_ = path;
}

void MainWindow::StopRecordingCommand() { engine_->StopRecording(); }

// --- Export ---

void MainWindow::ExportCommand() {
  const int link = engine_->NetStatus();
  if (!exporting_ && !(engine_->IsOpen() || link == 3 || link == 6)) return;
  if (exporting_) {
    StopExport();
  } else {
    StartExport();
  }
}

void MainWindow::StartExport() {
  const bool player = mode_ == 1;
  if (player) engine_->Pause();
  const QString path = questions_.export_file(this, export_path_.isEmpty() ? "DVR.avi" : export_path_);
  const bool low_speed = !player && questions_.low_speed(this);
  const int result = path.isEmpty() ? exporting::kAviCancelled : OpenExportWriter(path, low_speed);
  if (player) engine_->PlayForward(1.0);
  if (result == exporting::kAviOk) ActivateExport(low_speed);
}

int MainWindow::OpenExportWriter(const QString& path, bool low_speed) {
  const int width = engine_->PictureWidth() > 0 ? engine_->PictureWidth() : 640;
  const int height = engine_->PictureHeight() > 0 ? engine_->PictureHeight() : 224;
  const auto header = exporting::ExportFrameHeader(width, 2 * height);
  export_path_ = path;
  exporting::FrameRate rate = exporting::NetworkExportRate(height, low_speed);
  if (mode_ == 1) {
    const engine::PlaybackCounters counters = engine_->Counters();
    int channels = 0;
    for (const uint64_t shown : counters.shown) channels += shown > 0 ? 1 : 0;
    rate = exporting::PlayerExportRate(channels, height, engine_->Variant(), engine_->Pacing());
  }
  const exporting::VideoEncoderChoice choice = questions_.encoder(this);
  if (choice.cancelled) return exporting::kAviCancelled;
  exporting::AviWriter& writer = engine_->Avi();
  writer.SetVideoEncoder(choice);
  writer.SetWithAudio(true);
  const int result = writer.Open(path.toStdString(), 24, width, 2 * height, &header, rate);
  if (result != exporting::kAviOk && result != exporting::kAviCancelled &&
      result != exporting::kAviFormatRefused) {  // the writer said "Invalid codec!" itself
    notices_->Show(tr("Cannot export to %1 (error %2).").arg(path).arg(result).toStdString());
  }
  return result;
}

void MainWindow::ActivateExport(bool low_speed) {
  exporting_ = true;
  export_kind_ = low_speed ? exporting::kLowSpeedExport : exporting::kEveryPictureExport;
  engine_->SetExportActive(true, export_kind_);
  if (Button* button = ButtonFor(kCmdExport)) {
    button->SetImage("stop-export");
    button->SetTooltip(QCoreApplication::translate("Commands", "AVI保存停止"));
  }
}

void MainWindow::StopExport() {
  exporting_ = false;
  engine_->SetExportActive(false);
  export_kind_ = exporting::kEveryPictureExport;
  if (Button* button = ButtonFor(kCmdExport)) {
    button->SetImage("export");
    button->SetTooltip(QCoreApplication::translate("Commands", "AVI保存開始"));
  }
  exporting::AviWriter& writer = engine_->Avi();
  const uint32_t lost = writer.WriteFailures();
  const QString path = QString::fromStdString(writer.Path());
  writer.Close();
  if (lost > 0) {
    notices_->Show(tr("The export to %1 is missing %2 pictures: they could not be written.")
                       .arg(path)
                       .arg(lost)
                       .toStdString());
  }
  navigation_->AviExportEnded();  // a span export ends with the export it ran on
}

// --- Dialogs ---

void MainWindow::OptionsCommand() {
  OptionsValues values;
  values.always_on_top = always_on_top_;
  values.show_time = engine_->TimeInLabels();
  values.still_folder = still_folder_;
  values.repeat = engine_->Repeat();
  values.time_format = engine_->TimeFormat();
  values.use_direct_draw = engine_->UseDirectDraw();
  OptionsDialog dialog(values, this);
  if (dialog.exec() != QDialog::Accepted) return;
  values = dialog.Values();
  engine_->SetTimeInLabels(values.show_time);
  still_folder_ = values.still_folder;
  always_on_top_ = values.always_on_top;
  engine_->SetRepeat(values.repeat);
  engine_->SetUseDirectDraw(values.use_direct_draw);
  ApplyAlwaysOnTop();
  SaveSettingsNow();
}

void MainWindow::NetworkOptionsCommand() {
  NetworkOptionsValues values;
  values.always_on_top = always_on_top_;
  values.use_direct_draw = engine_->UseDirectDraw();
  values.auto_reconnection = engine_->AutoReconnect();
  values.repeat = engine_->Repeat();
  values.ddns_address = settings_.ddns_ip;
  values.ddns_port = settings_.ddns_port;
  values.recording_folder = recording_folder_;
  values.timeout_ms = engine_->NetTimeout();
  values.mouse_mode = settings_.mouse_mode;
  NetworkOptionsDialog dialog(values, this);
  if (dialog.exec() != QDialog::Accepted) return;
  values = dialog.Values();
  always_on_top_ = values.always_on_top;
  engine_->SetUseDirectDraw(values.use_direct_draw);
  engine_->SetAutoReconnect(values.auto_reconnection);
  engine_->SetRepeat(values.repeat);
  settings_.ddns_ip = values.ddns_address;
  settings_.ddns_port = values.ddns_port;
  recording_folder_ = values.recording_folder;
  engine_->SetNetTimeout(values.timeout_ms);
  settings_.mouse_mode = values.mouse_mode;
  if (!engine_->SessionRunning()) engine_->SetMouseMode(values.mouse_mode);
  ApplyAlwaysOnTop();
  SaveSettingsNow();
}

void MainWindow::AboutCommand() {
  AboutDialog dialog(this);
  dialog.exec();
}

// --- Timers ---

void MainWindow::Tick(int timer) {
  if (connect_at_start_) {
    connect_at_start_ = false;
    if (mode_ != 2) SetMode(2);
    char* end = nullptr;
    const unsigned long port = std::strtoul(command_line_.port.c_str(), &end, 10);
    if (*end != '\0' || port < 1 || port > 65535) {
      notices_->Show(tr("/PORT:%1 is not a port (1 to 65535).")
                         .arg(QString::fromStdString(command_line_.port))
                         .toStdString());
    } else {
      settings_.ip_address = command_line_.address;
      settings_.port = static_cast<uint16_t>(port);
      ConnectCommand();
    }
  }
  if (timer == 3) return;
  SendRecordedKey();
  UpdateStatus();
  if (timer == 4) UpdateCommandStates();
  if (timer == 5 && exporting_ && export_kind_ == exporting::kLowSpeedExport) {
    engine_->ExportTickEvent().Set();
  }
}

void MainWindow::SendRecordedKey() {
  if (recorded_key_ == 0 || !engine_->IsRunning()) return;
  const int key = std::exchange(recorded_key_, 0);
  if (const auto code = net::KeyCodeForKey(key)) engine_->SendKey(*code);
}

void MainWindow::UpdateStatus() {
  if (mode_ == 2) {
    const int link = engine_->NetStatus();
    status_line_->ShowNetwork(link, engine_->NetStatusValues());
    status_text1_ = QString::number(link);
    status_text2_.clear();
    return;
  }
  const int state = engine_->State();
  const QString name = QCoreApplication::translate("PlayerState", engine::StateName(state));
  const QString text =
      QString::fromStdString(PlayerStateText(name.toStdString(), state, engine_->Speed()));
  position_slider_->SetPosition(static_cast<int>(engine_->Position() / kBlockBytes));
  media::FrameTime time;
  QString when = " ";
  if (engine_->CurrentTime(time)) {
    const std::string formatted = display::FormatFrameTime(time, engine_->TimeFormat());
    if (!formatted.empty()) when = QString::fromStdString(formatted);
  }
  navigation_->Tick();
  status_text1_ = text;
  status_text2_ = when;
  status_line_->ShowPlayer(state, text, when);
}

// --- Window events ---

void MainWindow::closeEvent(QCloseEvent* event) {
  Shutdown();
  event->accept();
}

void MainWindow::Shutdown() {
  if (shut_down_) return;
  shut_down_ = true;
  relayout_timer_.stop();
  status_timer_.stop();
  export_timer_.stop();
  if (exporting_) StopExport();  // the file is finished, not cut off
  engine_->CloseRecording();
  engine_->StopRecording();
  engine_->Disconnect();
  SaveSettingsNow();
}

std::unique_ptr<QMenu> MainWindow::MakeContextMenu() {
  UpdateCommandStates();
  auto menu = std::make_unique<QMenu>(mode_ == 2 ? "Viewer(Net)" : "Player(9ch)", this);
  QMenu* target = menu.get();
  for (const int entry : ContextMenu(mode_)) {
    if (entry == kSeparator) {
      target->addSeparator();
    } else if (entry == kSubmenu) {
      target = menu->addMenu(QCoreApplication::translate("Commands", "Dvr Control"));
    } else if (entry == kEndSubmenu) {
      target = menu.get();
    } else if (QAction* action = Action(entry)) {
      target->addAction(action);
    }
  }
  return menu;
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
  // With the DVR's mouse remote control on, the right button over the picture is the DVR's.
  if (mode_ == 2 && settings_.mouse_mode != 0 && engine_->LoggedIn() &&
      display_->geometry().contains(event->pos())) {
    return;
  }
  MakeContextMenu()->exec(event->globalPos());
}

void MainWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QScreen* screen = this->screen();
  if (screen && width() < screen->availableGeometry().width()) {
    RunCommand(kCmdMaximize);
  } else {
    RunCommand(kCmdNormalSize);
  }
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls() && event->mimeData()->urls().value(0).isLocalFile()) {
    event->acceptProposedAction();
  }
}

void MainWindow::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.isEmpty() || !urls.first().isLocalFile()) return;
  event->acceptProposedAction();
  OpenRecording(urls.first().toLocalFile().toStdString(), false);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == icon_ && event->type() == QEvent::MouseButtonDblClick) {
    close();
    return true;
  }
  if (event->type() == QEvent::KeyPress && QApplication::activeModalWidget() == nullptr) {
    // Keys pressed over this window (never those typed into a dialog) go to the DVR.
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget && widget->window() == this) {
      const int key = VirtualKeyFor(static_cast<QKeyEvent*>(event)->key());
      if (key != 0) recorded_key_ = key;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace dvr::app
