// The main window against a DVR on 127.0.0.1: started with "/IP:" and "/PORT:", the login dialog
// asks for the password, the live picture arrives, keys and the DVR's buttons reach the DVR, a
// local recording is made and read back, and every way a session ends is told to the user.
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QScreen>

#include <cstdlib>

#include <filesystem>
#include <fstream>

#include "app/command_ids.h"
#include "app/dialogs/login_dialog.h"
#include "app/dialogs/network_options_dialog.h"
#include "app/main_window_fixture.h"
#include "dvr_simulator.h"
#include "media/recording_reader.h"
#include "platform/notices.h"
#include "support/media_probe.h"

namespace dvr::test {
namespace {

using namespace app;

class MainWindowLiveTest : public MainWindowTest {
 protected:
  sim::DvrSimulator& StartDvr(sim::DvrSimOptions options) {
    options.password = "secret";
    source_ = std::make_unique<sim::SyntheticLiveSource>(4, 30, false, 4);
    dvr_ = std::make_unique<sim::DvrSimulator>(options, *source_);
    std::string error;
    EXPECT_TRUE(dvr_->Start(error)) << error;
    return *dvr_;
  }

  std::vector<std::string> CommandLineFor(const sim::DvrSimulator& dvr) const {
    return {"/IP:127.0.0.1", "/PORT:" + std::to_string(dvr.Port())};
  }

  // Types the password into the login dialog as a person does: the focus is already there.
  void LogInWith(const QString& password) {
    AnswerNextDialog<LoginDialog>([password](LoginDialog& dialog) {
      QWidget* focus = dialog.focusWidget();
      auto* field = qobject_cast<QLineEdit*>(focus);
      if (field == nullptr || field->echoMode() != QLineEdit::Password) {
        ADD_FAILURE() << "the login dialog does not wait in its password field";
        dialog.reject();
        return;
      }
      QTest::keyClicks(focus, password);
      QTest::keyClick(focus, Qt::Key_Return);
    });
  }

  bool LogContains(const std::string& line) const {
    for (const std::string& entry : dvr_->Log()) {
      if (entry == line) return true;
    }
    return false;
  }

  void TearDown() override {
    window_.reset();  // logs out first
    dvr_.reset();
  }

  std::unique_ptr<sim::SyntheticLiveSource> source_;
  std::unique_ptr<sim::DvrSimulator> dvr_;
};

TEST_F(MainWindowLiveTest, AStartWithAnAddressLogsInShowsTheDvrAndSendsItsKeys) {
  sim::DvrSimulator& dvr = StartDvr({});
  LogInWith("secret");
  MainWindow& window = StartWindow(CommandLineFor(dvr));
  engine::ViewerEngine& engine = window.Engine();
  ASSERT_TRUE(QTest::qWaitFor([&] { return engine.LoggedIn(); }, 10000));
  EXPECT_EQ(window.Mode(), 2);
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.Display().PresentCount() > 5; }, 10000));
  // The buttons and the menu follow at the window's next tick.
  EXPECT_TRUE(QTest::qWaitFor([&] { return window.Action(32850)->isEnabled(); }, 2000));
  EXPECT_EQ(window.Action(kCmdConnect)->text(), "Disconnect");
  if (const char* shots = std::getenv("DVR_WINDOW_SHOTS")) {  // to look at the window
    QTest::qWait(100);  // the buttons' new states painted
    window.screen()->grabWindow(window.winId()).save(QString(shots) + "/window-live.png");
  }

  // With the mouse remote control on (the default), the right button over the picture is the
  // DVR's: no menu opens there.
  QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(50, 50),
                          window.Display().mapToGlobal(QPoint(50, 50)));
  QApplication::sendEvent(&window.Display(), &click);
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

  // The network mode chosen again, as its checked menu item: the session goes on.
  window.RunCommand(kCmdNetworkMode);
  EXPECT_TRUE(window.Engine().SessionRunning());

  // A DVR button, then a key pressed over the window.
  window.RunCommand(32850);
  ASSERT_TRUE(QTest::qWaitFor([&] { return LogContains("key 11"); }, 5000));
  QTest::keyClick(&window, Qt::Key_A);
  ASSERT_TRUE(QTest::qWaitFor([&] { return LogContains("key 65"); }, 5000));

  // A key typed into a dialog stays there.
  AnswerNextDialog<NetworkOptionsDialog>([](NetworkOptionsDialog& dialog) {
    // The dialog's own focus field: the window system may not have made the dialog active yet.
    QTest::keyClick(dialog.focusWidget() ? dialog.focusWidget() : &dialog, Qt::Key_B);
    QTest::qWait(400);  // two of the window's ticks
    dialog.reject();
  });
  window.RunCommand(kCmdNetworkOptions);
  QTest::qWait(400);
  EXPECT_FALSE(LogContains("key 66"));
}

TEST_F(MainWindowLiveTest, ALocalRecordingIsAFileThePlayerReads) {
  sim::DvrSimulator& dvr = StartDvr({});
  LogInWith("secret");
  MainWindow& window = StartWindow(CommandLineFor(dvr));
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.Engine().LoggedIn(); }, 10000));
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.Action(kCmdStartRecording)->isEnabled(); }, 2000));
  window.RunCommand(kCmdStartRecording);
  ASSERT_TRUE(window.Engine().IsRecording()) << (notices_.Texts().empty() ? "" : notices_.Texts()[0]);
  EXPECT_FALSE(window.Action(kCmdStartRecording)->isEnabled());
  const std::string first = window.LastRecordingPath();
  const uint64_t shown = window.Display().PresentCount();
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.Display().PresentCount() > shown + 70; }, 10000));  // past a full picture
  window.RunCommand(kCmdStopRecording);
  EXPECT_FALSE(window.Engine().IsRecording());
  // A second one in the same second gets a name of its own.
  window.RunCommand(kCmdStartRecording);
  window.RunCommand(kCmdStopRecording);
  EXPECT_NE(window.LastRecordingPath(), first);

  EXPECT_EQ(std::filesystem::path(first).parent_path(), dir_.File("captures"));
  platform::StderrNotices quiet;
  media::RecordingReader reader(quiet);
  ASSERT_TRUE(reader.Open(first, false));
  std::vector<uint8_t> frame(media::kFrameCapacity);
  int pictures = 0;
  for (int misses = 0; misses < 3;) {
    if (reader.NextFrame(frame) == 0) {
      ++misses;
    } else if (!reader.IsAudio()) {
      ++pictures;
    }
  }
  EXPECT_GE(pictures, 10);
}

TEST_F(MainWindowLiveTest, ALocalRecordingThatCannotStartIsReported) {
  sim::DvrSimulator& dvr = StartDvr({});
  LogInWith("secret");
  MainWindow& window = StartWindow(CommandLineFor(dvr));
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.Action(kCmdStartRecording)->isEnabled(); }, 10000));
  dir_.Write("captures", {1});  // a file where the recording folder would be
  window.RunCommand(kCmdStartRecording);
  EXPECT_FALSE(window.Engine().IsRecording());
  EXPECT_TRUE(NoticeContains("Cannot record to"));
}

TEST_F(MainWindowLiveTest, ALowSpeedExportTakesThePictureEvery40Ms) {
  sim::DvrSimulator& dvr = StartDvr({});
  LogInWith("secret");
  MainWindow& window = StartWindow(CommandLineFor(dvr));
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.Engine().PictureHeight() > 0; }, 10000));
  const std::string avi = dir_.File("live.avi");
  bool asked = false;
  window.Questions().export_file = [&](QWidget*, const QString&) { return QString::fromStdString(avi); };
  window.Questions().low_speed = [&](QWidget*) { return asked = true; };
  window.Questions().encoder = [](QWidget*) { return exporting::VideoEncoderChoice{}; };
  window.RunCommand(kCmdExport);
  ASSERT_TRUE(window.Exporting()) << (notices_.Texts().empty() ? "" : notices_.Texts()[0]);
  EXPECT_TRUE(asked);
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.Engine().Avi().FramesWritten() >= 10; }, 10000));
  window.RunCommand(kCmdExport);
  const ProbedFile probed = ProbeFile(avi);
  ASSERT_TRUE(probed.ok);
  ASSERT_NE(probed.Video(), nullptr);
  EXPECT_EQ(probed.Video()->width, 640);
  EXPECT_EQ(probed.Video()->height, 448);
  EXPECT_EQ(probed.Video()->frame_rate, 25);  // the slow link's rate
  EXPECT_GE(probed.Video()->frames, 10);
}

TEST_F(MainWindowLiveTest, TheDvrsDisconnectIsToldAndTheButtonTurnsBack) {
  sim::DvrSimOptions options;
  options.disconnect_after_ms = 800;
  sim::DvrSimulator& dvr = StartDvr(options);
  LogInWith("secret");
  MainWindow& window = StartWindow(CommandLineFor(dvr));
  ASSERT_TRUE(QTest::qWaitFor([&] { return NoticeContains("Disconnected by server."); }, 10000));
  EXPECT_FALSE(window.Engine().SessionRunning());
  EXPECT_EQ(window.Action(kCmdConnect)->text(), "&Connect...");
}

TEST_F(MainWindowLiveTest, ALoginFailureShowsWhyItFailed) {
  sim::DvrSimulator& dvr = StartDvr({});
  LogInWith("wrong");
  MainWindow& window = StartWindow(CommandLineFor(dvr));
  ASSERT_TRUE(QTest::qWaitFor([&] { return NoticeContains("Incorrect password."); }, 10000));
  EXPECT_FALSE(window.Engine().SessionRunning());
}

TEST_F(MainWindowLiveTest, ADvrThatNeverAnswersIsToldAsSuchNotAsAWrongPassword) {
  sim::DvrSimOptions options;
  options.never_answer = true;
  sim::DvrSimulator& dvr = StartDvr(options);
  std::filesystem::create_directories(dir_.File("config"));
  std::ofstream(SettingsPath()) << "[DVR-K470 Viewer]\nTimeout=1\n";
  LogInWith("secret");
  MainWindow& window = StartWindow(CommandLineFor(dvr));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !notices_.Texts().empty(); }, 10000));
  EXPECT_EQ(notices_.Texts()[0], "No response from server.");
  EXPECT_FALSE(window.Engine().SessionRunning());
}

TEST_F(MainWindowLiveTest, AnAddressThatDoesNotResolveIsRefused) {
  MainWindow& window = StartWindow();
  window.RunCommand(kCmdNetworkMode);
  AnswerNextDialog<LoginDialog>([](LoginDialog& dialog) {
    auto* address = dialog.findChild<QLineEdit*>("id1708");
    ASSERT_NE(address, nullptr);
    address->setText("no-such-dvr.invalid");
    dialog.accept();
  });
  window.RunCommand(kCmdConnect);
  EXPECT_TRUE(NoticeContains("no-such-dvr.invalid"));
  EXPECT_FALSE(window.Engine().SessionRunning());
  EXPECT_EQ(window.Action(kCmdConnect)->text(), "&Connect...");
}

}  // namespace
}  // namespace dvr::test
