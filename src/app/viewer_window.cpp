#include "app/viewer_window.h"

#include <QAction>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMenuBar>
#include <QStandardPaths>

#include <ctime>
#include <filesystem>

#include "app/still_command.h"
#include "audio/audio_converter.h"
#include "audio/qt/qt_audio_device.h"
#include "media/variant.h"
#include "platform/clock.h"

namespace dvr::app {

ViewerWindow::ViewerWindow(bool sound) : display_(new display::DisplayWindow(this)) {
  setWindowTitle("DVR Viewer");
  setCentralWidget(display_);
  if (sound) sound_ = std::make_unique<audio::QtAudioDevice>();
  engine_ = std::make_unique<engine::ViewerEngine>(*display_, sound_.get(), notices_,
                                                   platform::SystemClock());
  const int variant = media::VariantFromName(media::BuildVideoFormat()).value_or(4);
  engine_->Setup(variant, audio::SelectAudioFormat(audio::BuildAudioFormat(), notices_), 16,
                 audio::kSampleRate, 4);
  engine_->SetMode(engine::kPlayerMode, 16);
  engine_->SetLabelFont(16, 0, 500, false, "Arial");
  engine_->SetLabelTextColor(0x80FFFF);
  engine_->SetLabelOutlineColor(0);
  engine_->SetSplit(4, 0);
  still_folder_ = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation).toStdString();
  BuildMenus();
  resize(640, 448 + menuBar()->sizeHint().height());
}

ViewerWindow::~ViewerWindow() {
  // The worker draws into the video window: it stops before the window goes.
  engine_->CloseRecording();
  engine_.reset();
}

bool ViewerWindow::Open(const std::string& path) {
  engine_->CloseRecording();
  if (!engine_->OpenRecording(path, false)) {
    notices_.Show("Cannot open " + path);
    return false;
  }
  setWindowTitle(QString::fromStdString(std::filesystem::path(path).filename().string()) +
                 " - DVR Viewer");
  return true;
}

void ViewerWindow::OpenFromDialog() {
  const QString path =
      QFileDialog::getOpenFileName(this, "Open", {}, "Recordings (*.NDF *.ndf);;All files (*)");
  if (!path.isEmpty()) Open(path.toStdString());
}

void ViewerWindow::Split(int split) {
  engine_->SetSplit(split, -1);
}

std::string ViewerWindow::SaveStillImage() {
  std::error_code error;
  std::filesystem::create_directory(still_folder_, error);  // one level; an existing one is fine
  platform::CalendarTime now;
  platform::LocalTime(std::time(nullptr), now);
  const std::string path = FreeStillImagePath(still_folder_, now);
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  const bool saved = engine_->SaveSnapshot(path);
  QGuiApplication::restoreOverrideCursor();
  if (!saved) {
    notices_.Show("Cannot save the still image to " + path);
    return {};
  }
  return path;
}

void ViewerWindow::BuildMenus() {
  QMenu* file = menuBar()->addMenu("&File");
  file->addAction("&Open...", QKeySequence::Open, this, [this] { OpenFromDialog(); });
  file->addAction("&Still image", QKeySequence(Qt::Key_F12), this, [this] { SaveStillImage(); });
  file->addSeparator();
  file->addAction("&Quit", QKeySequence::Quit, this, [this] { close(); });

  QMenu* play = menuBar()->addMenu("&Play");
  play->addAction("&Play", QKeySequence(Qt::Key_P), this, [this] { engine_->PlayForward(1); });
  play->addAction("P&ause", QKeySequence(Qt::Key_Space), this, [this] { engine_->Pause(); });

  QMenu* view = menuBar()->addMenu("&View");
  view->addAction("&Single screen", QKeySequence(Qt::Key_1), this, [this] { Split(1); });
  view->addAction("&4 split", QKeySequence(Qt::Key_4), this, [this] { Split(4); });
  view->addAction("&9 split", QKeySequence(Qt::Key_9), this, [this] { Split(9); });
  view->addAction("1&6 tiles", QKeySequence(Qt::Key_6), this, [this] { Split(16); });
  view->addAction("&Next page", QKeySequence(Qt::Key_N), this,
                  [this] { Split(engine_->GetSplit().first); });
  view->addSeparator();
  // The setting: on, the window draws with OpenGL where a context works (else in software, its
  // last error saying why).
  QAction* opengl = view->addAction("Use DDraw (OpenGL)");
  opengl->setCheckable(true);
  opengl->setChecked(engine_->UseDirectDraw());
  connect(opengl, &QAction::toggled, this, [this](bool on) { engine_->SetUseDirectDraw(on); });
}

}  // namespace dvr::app
