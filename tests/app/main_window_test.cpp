// The main window as a person uses it in the player: start-up with and without settings, a
// recording from the command line, the commands' states, the status line, the sliders, dropped
// files, export from the window and what closing keeps.
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QMimeData>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/command_ids.h"
#include "app/main_window_fixture.h"
#include "support/media_probe.h"
#include "viewer_recording.h"

namespace dvr::test {
namespace {

using namespace app;

std::string ReadText(const std::string& path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

bool Shown(MainWindow& window, int id) {
  Button* button = window.ButtonFor(id);
  return button && button->Widget()->isVisible();
}

TEST_F(MainWindowTest, AFirstStartHasTheDefaultsAndThePlayersLayout) {
  MainWindow& window = StartWindow();
  EXPECT_EQ(window.TitleText(), "DVR-K470 Viewer 2.78");
  EXPECT_EQ(window.Mode(), 1);
  EXPECT_EQ(window.size(), QSize(645, 550));
  EXPECT_EQ(window.Display().geometry(), QRect(2, 27, 640, 448));
  EXPECT_TRUE(window.Engine().TimeInLabels());
  EXPECT_EQ(window.Engine().NetTimeout(), 7000u);
  EXPECT_EQ(window.Engine().Volume(), 0u);
  EXPECT_EQ(window.Engine().SplitCount(), 16);  // every channel of a recording has its slot
  EXPECT_EQ(window.Engine().GetSplit(), std::make_pair(4, 0));
  // The player's buttons at the bottom, the network's hidden.
  EXPECT_TRUE(Shown(window, kCmdOpenFile));
  EXPECT_EQ(window.ButtonFor(kCmdOpenFile)->Widget()->pos(), QPoint(10, 550 - 300 + 262));
  EXPECT_TRUE(Shown(window, kCmdStillImage));
  EXPECT_FALSE(Shown(window, kCmdConnect));
  EXPECT_FALSE(Shown(window, 32850));
  EXPECT_FALSE(Shown(window, kCmdSplit9));
  EXPECT_TRUE(window.PositionSlider().Widget()->isVisible());
}

TEST_F(MainWindowTest, SettingsFromTheFileReachTheirOwnersAndClosingWritesThemBack) {
  std::filesystem::create_directories(dir_.File("config"));
  std::ofstream(SettingsPath()) << "[DVR-K470 Viewer]\nShow Time=0\nRepeat=1\nVolume=70000\n"
                                   "Timeout=12\nEnable && Hidden cusor on DVR side=2\n";
  MainWindow& window = StartWindow();
  EXPECT_FALSE(window.Engine().TimeInLabels());
  EXPECT_TRUE(window.Engine().Repeat());
  EXPECT_EQ(window.Engine().Volume(), 4464u);
  EXPECT_EQ(window.VolumeSlider().Position(), 4464);
  EXPECT_EQ(window.Engine().NetTimeout(), 12000u);

  window.VolumeSlider().SetPosition(1000);
  window.VolumeSlider().set(1000);
  window.RunCommand(kCmdMute);
  window.RunCommand(kCmdTimeInLabels);
  window.close();
  const std::string saved = ReadText(SettingsPath());
  EXPECT_NE(saved.find("Volume=1000"), std::string::npos) << saved;
  EXPECT_NE(saved.find("Mute=1"), std::string::npos) << saved;
  EXPECT_NE(saved.find("Show Time=1"), std::string::npos) << saved;
  EXPECT_NE(saved.find("Timeout=12"), std::string::npos) << saved;
  EXPECT_NE(saved.find("Enable && Hidden cusor on DVR side=2"), std::string::npos) << saved;
}

TEST_F(MainWindowTest, ASettingsFileThatCannotBeWrittenIsReported) {
  dir_.Write("config", {1});  // a file where the folder would be
  MainWindow& window = StartWindow();
  window.close();
  EXPECT_TRUE(NoticeContains("The settings were not saved")) << notices_.Texts().size();
}

TEST_F(MainWindowTest, ARecordingFromTheCommandLinePlaysAndTheStatusLineFollowsIt) {
  const std::string path = WriteViewerRecording(dir_, 4, 120, 1);  // minutes at fast play
  MainWindow& window = StartWindow({path});
  engine::ViewerEngine& engine = window.Engine();
  ASSERT_TRUE(engine.IsOpen());
  EXPECT_EQ(window.TitleText(), "viewer.NDF");
  EXPECT_EQ(window.PositionSlider().Maximum(), static_cast<int>(engine.Size() / 4096));
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.StatusText().startsWith("再生 x 1.0   2"); }, 5000))
      << window.StatusText().toStdString();

  window.RunCommand(kCmdPause);
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.StatusText().startsWith("一時停止"); }, 5000));
  window.RunCommand(kCmdFastForward);
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.StatusText().startsWith("再生 x 8.0   "); }, 5000))
      << window.StatusText().toStdString();
  window.RunCommand(kCmdPause);
  ASSERT_TRUE(QTest::qWaitFor([&] { return engine.State() == engine::kPaused; }, 5000));

  // Dragging the position slider to the start seeks there (to the first picture of its block).
  const uint64_t paused_at = engine.Position();
  ASSERT_GT(paused_at, 20u * 4096);
  window.PositionSlider().tracked(0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return engine.Position() < 4u * 4096; }, 5000))
      << engine.Position() << " state " << engine.State() << " max " << window.PositionSlider().Maximum();
}

TEST_F(MainWindowTest, CommandsAreEnabledAndCheckedByWhatIsGoingOn) {
  MainWindow& window = StartWindow();
  EXPECT_FALSE(window.Action(kCmdPlay)->isEnabled());  // nothing open
  EXPECT_FALSE(window.Action(kCmdCloseFile)->isEnabled());
  EXPECT_FALSE(window.ButtonFor(kCmdPause)->Widget()->isEnabled());
  EXPECT_TRUE(window.Action(kCmdTimeInLabels)->isChecked());
  EXPECT_TRUE(window.Action(kCmdSize448)->isChecked());
  EXPECT_FALSE(window.Action(kCmdSize544)->isChecked());
  EXPECT_TRUE(window.Action(kCmdPlayerMode)->isChecked());
  EXPECT_FALSE(window.Action(32850)->isEnabled());  // a DVR key: not logged in

  ASSERT_TRUE(window.OpenRecording(WriteViewerRecording(dir_, 1, 2, 5), false));
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.Engine().State() != 0; }, 5000));
  window.RunCommand(kCmdSize544);
  window.RunCommand(kCmdTimeInLabels);
  EXPECT_TRUE(window.Action(kCmdPlay)->isEnabled());
  EXPECT_TRUE(window.ButtonFor(kCmdPause)->Widget()->isEnabled());
  EXPECT_TRUE(window.Action(kCmdCloseFile)->isEnabled());
  EXPECT_TRUE(window.Action(kCmdSize544)->isChecked());
  EXPECT_EQ(window.size(), QSize(645, 646));
  EXPECT_FALSE(window.Action(kCmdTimeInLabels)->isChecked());

  window.RunCommand(kCmdNetworkMode);
  EXPECT_EQ(window.Mode(), 2);
  EXPECT_TRUE(window.Action(kCmdNetworkMode)->isChecked());
  EXPECT_FALSE(window.Action(kCmdPlay)->isEnabled());
  EXPECT_FALSE(window.Action(kCmdStartRecording)->isEnabled());  // not logged in
  EXPECT_FALSE(window.Action(kCmdStopRecording)->isEnabled());
  EXPECT_EQ(window.Action(kCmdConnect)->text(), "&Connect...");
  EXPECT_TRUE(Shown(window, kCmdConnect));
  EXPECT_FALSE(Shown(window, kCmdOpenFile));
  EXPECT_EQ(window.Engine().GetSplit().first, 1);
  // A menu per mode: the network one has the DVR's keys in a submenu.
  const auto menu = window.MakeContextMenu();
  EXPECT_TRUE(menu->actions().contains(window.Action(kCmdConnect)));
  EXPECT_FALSE(menu->actions().contains(window.Action(kCmdOpenFile)));
}

TEST_F(MainWindowTest, TheLayoutHidesTheVolumeOfANarrowNetworkWindow) {
  MainWindow& window = StartWindow();
  window.RunCommand(kCmdNetworkMode);
  window.resize(600, 550);
  EXPECT_FALSE(Shown(window, kCmdMute));
  EXPECT_FALSE(window.VolumeSlider().Widget()->isVisible());
  window.resize(636, 550);
  EXPECT_TRUE(Shown(window, kCmdMute));
  EXPECT_TRUE(window.VolumeSlider().Widget()->isVisible());
  EXPECT_EQ(window.Display().geometry(), QRect(2, 27, 631, 448));
  window.resize(300, 200);  // the smallest window the layout allows
  EXPECT_EQ(window.size(), QSize(578, 486));
}

TEST_F(MainWindowTest, AFailedOpenSaysWhyAndKeepsTheTitle) {
  MainWindow& window = StartWindow();
  EXPECT_FALSE(window.OpenRecording(dir_.File("missing.NDF"), false));
  EXPECT_TRUE(NoticeContains("missing.NDF: no such file"));
  EXPECT_FALSE(window.OpenRecording(dir_.Path(), false));
  EXPECT_TRUE(NoticeContains("it is a folder"));
  EXPECT_EQ(window.TitleText(), "DVR-K470 Viewer 2.78");
  EXPECT_FALSE(window.Action(kCmdCloseFile)->isEnabled());
}

TEST_F(MainWindowTest, AFailedOpenAfterAGoodOneLeavesNothingOfTheOldOneShown) {
  MainWindow& window = StartWindow({WriteViewerRecording(dir_, 4, 2, 5)});
  ASSERT_EQ(window.TitleText(), "viewer.NDF");
  EXPECT_FALSE(window.OpenRecording(dir_.File("missing.NDF"), false));
  EXPECT_EQ(window.TitleText(), "DVR-K470 Viewer 2.78");
  EXPECT_EQ(window.PositionSlider().Maximum(), 0);
  EXPECT_FALSE(window.Engine().IsOpen());
}

TEST_F(MainWindowTest, ACommandLinePortThatIsNoPortIsRefusedWithoutALogin) {
  MainWindow& window = StartWindow({"/IP:127.0.0.1", "/PORT:70000"});
  ASSERT_TRUE(QTest::qWaitFor([&] { return NoticeContains("/PORT:70000 is not a port"); }, 3000));
  EXPECT_EQ(window.Mode(), 2);
  EXPECT_FALSE(window.Engine().SessionRunning());
}

TEST_F(MainWindowTest, ARightClickOnThePictureOpensTheModesMenu) {
  MainWindow& window = StartWindow();
  QStringList seen;
  auto* poll = new QTimer(&window);
  QObject::connect(poll, &QTimer::timeout, [&seen, poll] {
    if (QWidget* popup = QApplication::activePopupWidget()) {
      for (QAction* action : popup->actions()) seen << action->text();
      popup->close();
      poll->stop();
    }
  });
  poll->start(10);
  QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(50, 50), window.Display().mapToGlobal(QPoint(50, 50)));
  QApplication::sendEvent(&window.Display(), &click);
  EXPECT_TRUE(seen.contains("&ファイルを開く..."));  // the player's menu
}

TEST_F(MainWindowTest, OpeningInTheNetworkModeSwitchesToThePlayerFirst) {
  const std::string path = WriteViewerRecording(dir_, 4, 2, 5);
  MainWindow& window = StartWindow();
  window.RunCommand(kCmdNetworkMode);
  window.Questions().open_file = [&](QWidget*) { return QString::fromStdString(path); };
  QTest::keyClick(&window, Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(window.Mode(), 1);
  EXPECT_TRUE(window.Engine().IsOpen());
  EXPECT_EQ(window.Engine().GetSplit().first, 4);
}

TEST_F(MainWindowTest, ADroppedRecordingOpensAndCloseFileForgetsIt) {
  const std::string path = WriteViewerRecording(dir_, 4, 2, 5);
  MainWindow& window = StartWindow();
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
  QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window, &enter);
  ASSERT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window, &drop);
  ASSERT_TRUE(window.Engine().IsOpen());
  EXPECT_EQ(window.TitleText(), "viewer.NDF");
  QTest::keyClick(&window, Qt::Key_C, Qt::ControlModifier);
  EXPECT_FALSE(window.Engine().IsOpen());
  EXPECT_EQ(window.TitleText(), "DVR-K470 Viewer 2.78");
  EXPECT_FALSE(window.Action(kCmdCloseFile)->isEnabled());
}

TEST_F(MainWindowTest, AStillImageGoesToTheCaptureFolderEveryTime) {
  MainWindow& window = StartWindow({WriteViewerRecording(dir_, 4, 2, 5)});
  window.RunCommand(kCmdStillImage);
  const std::string first = window.LastStillPath();
  window.RunCommand(kCmdStillImage);
  ASSERT_FALSE(first.empty());
  EXPECT_NE(window.LastStillPath(), first);
  EXPECT_EQ(std::filesystem::path(first).parent_path(), dir_.File("captures"));
  EXPECT_TRUE(std::filesystem::exists(first));
  EXPECT_TRUE(std::filesystem::exists(window.LastStillPath()));
}

TEST_F(MainWindowTest, AnExportFromTheWindowIsAnAviFfmpegReads) {
  const std::string recording = WriteViewerRecording(dir_, 4, 6, 5);
  MainWindow& window = StartWindow({recording});
  const std::string avi = dir_.File("out.avi");
  window.Questions().export_file = [&](QWidget*, const QString& suggested) {
    EXPECT_EQ(suggested, "DVR.avi");
    return QString::fromStdString(avi);
  };
  window.Questions().encoder = [](QWidget*) {
    exporting::VideoEncoderChoice choice;
    choice.codec = "mjpeg";
    return choice;
  };
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.Engine().Counters().shown[3] > 0; }, 5000));
  window.RunCommand(kCmdExport);
  ASSERT_TRUE(window.Exporting());
  EXPECT_TRUE(QTest::qWaitFor([&] { return window.Engine().State() == engine::kForward; }, 5000));
  EXPECT_EQ(window.Engine().Speed(), 1.0);  // paused for the questions, playing again at 1
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.Engine().Avi().FramesWritten() >= 4; }, 10000));
  window.RunCommand(kCmdExport);
  EXPECT_FALSE(window.Exporting());
  const ProbedFile probed = ProbeFile(avi);
  ASSERT_TRUE(probed.ok);
  ASSERT_NE(probed.Video(), nullptr);
  EXPECT_EQ(probed.Video()->codec, "mjpeg");
  EXPECT_EQ(probed.Video()->width, 640);
  EXPECT_GE(probed.Video()->frames, 4);
}

TEST_F(MainWindowTest, TheExportButtonDoesNothingWithoutASource) {
  MainWindow& window = StartWindow();
  bool asked = false;
  window.Questions().export_file = [&](QWidget*, const QString&) {
    asked = true;
    return QString();
  };
  window.RunCommand(kCmdExport);
  EXPECT_FALSE(asked);
  EXPECT_FALSE(window.Exporting());
}

TEST_F(MainWindowTest, AnExportThatCannotStartIsReportedAndPlayGoesOn) {
  MainWindow& window = StartWindow({WriteViewerRecording(dir_, 1, 6, 5)});
  window.Questions().export_file = [&](QWidget*, const QString&) {
    return QString::fromStdString(dir_.File("no/such/folder/out.avi"));
  };
  window.Questions().encoder = [](QWidget*) { return exporting::VideoEncoderChoice{}; };
  window.RunCommand(kCmdExport);
  EXPECT_FALSE(window.Exporting());
  EXPECT_TRUE(NoticeContains("Cannot export to"));
  EXPECT_TRUE(QTest::qWaitFor([&] { return window.Engine().State() == engine::kForward; }, 5000));
}

TEST_F(MainWindowTest, ClosingAFileEmptiesThePositionSlider) {
  MainWindow& window = StartWindow({WriteViewerRecording(dir_, 1, 6, 5)});
  EXPECT_GT(window.PositionSlider().Maximum(), 0);
  window.RunCommand(kCmdCloseFile);
  EXPECT_EQ(window.PositionSlider().Maximum(), 0);
  window.PositionSlider().tracked(0);  // a drag over nothing seeks nothing
  QTest::qWait(350);  // a status tick
  EXPECT_EQ(window.PositionSlider().Position(), 0);
  EXPECT_EQ(window.Engine().State(), 0);
}

TEST_F(MainWindowTest, ClosingDuringAnExportFinishesTheFile) {
  MainWindow& window = StartWindow({WriteViewerRecording(dir_, 1, 6, 5)});
  const std::string avi = dir_.File("closing.avi");
  window.Questions().export_file = [&](QWidget*, const QString&) { return QString::fromStdString(avi); };
  window.Questions().encoder = [](QWidget*) { return exporting::VideoEncoderChoice{}; };
  window.RunCommand(kCmdExport);
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.Engine().Avi().FramesWritten() >= 3; }, 10000));
  window.close();
  EXPECT_FALSE(window.Exporting());
  const ProbedFile probed = ProbeFile(avi);
  ASSERT_TRUE(probed.ok);
  EXPECT_GE(probed.Video()->frames, 3);
}

}  // namespace
}  // namespace dvr::test
