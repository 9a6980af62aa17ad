#pragma once
// The main window as a test drives it: its settings file, folders and messages in a temporary
// folder, no sound, the standard dialogs' questions answered by the test.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <memory>
#include <string>

#include "app/main_window.h"
#include "support/recorded_notices.h"
#include "support/temp_dir.h"

namespace dvr::test {

class MainWindowTest : public testing::Test {
 protected:
  std::string SettingsPath() const { return dir_.File("config/dvr-viewer.INI"); }

  app::MainWindow& MakeWindow() {
    app::MainWindow::Options options;
    options.sound = false;
    options.settings_path = SettingsPath();
    options.notices = &notices_;
    options.default_folder = dir_.File("captures");
    window_ = std::make_unique<app::MainWindow>(options);
    return *window_;
  }

  // Started as the program starts it, shown.
  app::MainWindow& StartWindow(const std::vector<std::string>& words = {}) {
    app::MainWindow& window = MakeWindow();
    window.show();
    window.Start(app::ParseCommandLine(words));
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    return window;
  }

  bool NoticeContains(const std::string& part) const {
    for (const std::string& text : notices_.Texts()) {
      if (text.find(part) != std::string::npos) return true;
    }
    return false;
  }

  // Answers the next modal dialog by running `answer` on it once it is up.
  template <typename Dialog>
  void AnswerNextDialog(std::function<void(Dialog&)> answer) {
    auto* poll = new QTimer(qApp);
    auto rounds = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, answer, rounds] {
      auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr && ++*rounds < 1000) return;  // gives up after 10 s
      poll->stop();
      poll->deleteLater();
      if (dialog) answer(*dialog);
    });
    poll->start(10);
  }

  void TearDown() override { window_.reset(); }

  TempDir dir_;
  RecordedNotices notices_;
  std::unique_ptr<app::MainWindow> window_;
};

}  // namespace dvr::test
