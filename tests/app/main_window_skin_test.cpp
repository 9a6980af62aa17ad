// The main window in its skin: every control has its bitmap at the size the layout expects, no two
// shown controls cover each other or the picture, the window is resized by its corner and
// maximized by a double click, always on top keeps the native window, and a key on the position
// slider seeks.
#include <QMouseEvent>

#include "app/command_ids.h"
#include "app/command_table.h"
#include "app/main_window_fixture.h"
#include "ui/bitmap_button.h"
#include "ui/skin_pixmap.h"
#include "viewer_recording.h"

namespace dvr::test {
namespace {

using namespace app;

QSize FrameOf(MainWindow& window, int id) {
  auto* button = qobject_cast<ui::BitmapButton*>(window.ButtonFor(id)->Widget());
  return button ? button->FrameSize() : QSize();
}

TEST_F(MainWindowTest, EveryButtonHasItsBitmapAtTheSizeTheLayoutLeavesForIt) {
  MainWindow& window = StartWindow();
  for (const CommandSpec& command : Commands()) {
    if (!command.image) continue;
    const QSize expected = command.id == kCmdExport ? QSize(44, 22) : QSize(28, 28);
    EXPECT_EQ(FrameOf(window, command.id), expected) << command.image;
    EXPECT_EQ(window.ButtonFor(command.id)->Widget()->size(), expected) << command.image;
  }
  EXPECT_EQ(FrameOf(window, kCtlMinimize), QSize(20, 20));
  EXPECT_EQ(FrameOf(window, kCtlCloseButton), QSize(20, 20));
  // The pictures a button changes to while the window runs.
  window.ButtonFor(kCmdExport)->SetImage("stop-export");
  EXPECT_EQ(FrameOf(window, kCmdExport), QSize(44, 22));
  window.ButtonFor(kCmdConnect)->SetImage("disconnect");
  EXPECT_EQ(FrameOf(window, kCmdConnect), QSize(28, 28));
}

TEST(SkinImages, EveryOtherBitmapIsThereAtItsSizeAndTwiceAsDense) {
  const std::pair<const char*, QSize> images[] = {
      {"border", {200, 200}},
      {"status", {377, 112}},
      {"position-channel", {64, 14}},
      {"position-channel-active", {64, 14}},
      {"position-thumb", {14, 14}},
      {"position-thumb-active", {14, 14}},
      {"volume-channel", {64, 14}},
      {"volume-channel-active", {64, 14}},
      {"volume-thumb", {10, 14}},
      {"volume-thumb-active", {10, 14}},
      {"icon-16", {16, 16}},
      {"icon-32", {32, 32}},
      {"icon-256", {256, 256}},
  };
  for (const auto& [name, size] : images) {
    const QPixmap pixmap = ui::LoadSkinPixmap(name);
    EXPECT_EQ(pixmap.deviceIndependentSize().toSize(), size) << name;
    const QPixmap dense(QString(":/skin/%1@2x.png").arg(name));
    EXPECT_EQ(dense.size(), size * 2) << name;
  }
}

// The shown controls of the window, each with its name for the messages.
std::vector<std::pair<std::string, QWidget*>> ShownControls(MainWindow& window) {
  std::vector<std::pair<std::string, QWidget*>> shown;
  auto add = [&](const std::string& name, QWidget* widget) {
    if (widget && widget->isVisible()) shown.emplace_back(name, widget);
  };
  for (const CommandSpec& command : Commands()) {
    if (command.image) add(command.image, window.ButtonFor(command.id)->Widget());
  }
  add("minimize", window.ButtonFor(kCtlMinimize)->Widget());
  add("close", window.ButtonFor(kCtlCloseButton)->Widget());
  add("position", window.PositionSlider().Widget());
  add("volume", window.VolumeSlider().Widget());
  add("status line", window.findChild<QWidget*>("status"));
  add("title", window.findChild<QWidget*>("title"));
  add("icon", window.findChild<QWidget*>("icon"));
  return shown;
}

TEST_F(MainWindowTest, NoShownControlCoversAnotherThePictureOrTheResizeCorner) {
  MainWindow& window = StartWindow();
  for (const int mode : {kCmdPlayerMode, kCmdNetworkMode}) {
    window.RunCommand(mode);
    for (const QSize size : {QSize(645, 550), QSize(578, 486), QSize(1000, 700)}) {
      window.resize(size);
      const QRect inside = window.rect().adjusted(2, 2, -3, -3);
      const QRect corner(size.width() - 16, size.height() - 16, 16, 16);
      const auto shown = ShownControls(window);
      EXPECT_GE(shown.size(), 10u);
      for (size_t i = 0; i < shown.size(); ++i) {
        const QRect place = shown[i].second->geometry();
        const std::string where = shown[i].first + " at " + std::to_string(size.width()) + "x" +
                                  std::to_string(size.height()) + " mode " + std::to_string(mode);
        EXPECT_TRUE(inside.contains(place)) << where;
        EXPECT_FALSE(place.intersects(window.Display().geometry())) << where;
        EXPECT_FALSE(place.intersects(corner)) << where;
        for (size_t j = i + 1; j < shown.size(); ++j) {
          EXPECT_FALSE(place.intersects(shown[j].second->geometry())) << where << " and " << shown[j].first;
        }
      }
    }
  }
}

void SendMouse(QWidget& widget, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent event(type, QPointF(at), QPointF(widget.mapToGlobal(at)), button, held, Qt::NoModifier);
  QApplication::sendEvent(&widget, &event);
}

TEST_F(MainWindowTest, TheResizeCornerStopsAtTheMinimumAndTheControlsFollowEveryMove) {
  MainWindow& window = StartWindow();
  ASSERT_EQ(window.size(), QSize(645, 550));
  SendMouse(window, QEvent::MouseButtonPress, {640, 545}, Qt::LeftButton);
  SendMouse(window, QEvent::MouseMove, {700, 600}, Qt::LeftButton);
  EXPECT_EQ(window.size(), QSize(705, 605));
  EXPECT_EQ(window.ButtonFor(kCtlCloseButton)->Widget()->pos(), QPoint(705 - 26, 2));
  EXPECT_EQ(window.PositionSlider().Widget()->geometry(), QRect(13, 605 - 52, 705 - 26, 14));
  SendMouse(window, QEvent::MouseMove, {100, 100}, Qt::LeftButton);
  EXPECT_EQ(window.size(), QSize(578, 486));
  EXPECT_EQ(window.Display().geometry(), QRect(2, 27, 573, 384));
  SendMouse(window, QEvent::MouseButtonRelease, {100, 100}, {});
}

// A double click as the window receives it: press, release, double click, release.
void DoubleClick(QWidget& widget, QPoint at) {
  SendMouse(widget, QEvent::MouseButtonPress, at, Qt::LeftButton);
  SendMouse(widget, QEvent::MouseButtonRelease, at, {});
  SendMouse(widget, QEvent::MouseButtonDblClick, at, Qt::LeftButton);
  SendMouse(widget, QEvent::MouseButtonRelease, at, {});
}

TEST_F(MainWindowTest, ADoubleClickMaximizesANarrowWindowAndRestoresAFullOne) {
  MainWindow& window = StartWindow();
  DoubleClick(window, QPoint(400, 12));
  const int screen_width = window.screen()->availableGeometry().width();
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.width() == screen_width; }, 2000));
  EXPECT_TRUE(window.isMaximized());
  EXPECT_TRUE(window.Action(kCmdMaximize)->isChecked());
  DoubleClick(window, QPoint(400, 12));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !window.isMaximized(); }, 2000));
  EXPECT_TRUE(window.Action(kCmdNormalSize)->isChecked());
  EXPECT_TRUE(QTest::qWaitFor([&] { return window.size() == QSize(645, 550); }, 2000)) << window.width();
}

TEST_F(MainWindowTest, AlwaysOnTopIsToldToTheWindowSystemWithoutANewNativeWindow) {
  MainWindow& window = StartWindow();
  const WId native = window.winId();
  window.RunCommand(kCmdAlwaysOnTop);
  EXPECT_TRUE(window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.winId(), native);
  window.RunCommand(kCmdAlwaysOnTop);
  EXPECT_FALSE(window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(window.winId(), native);
}

TEST_F(MainWindowTest, KeysOnThePositionSliderSeek) {
  const std::string path = WriteViewerRecording(dir_, 4, 120, 1);
  MainWindow& window = StartWindow({path});
  engine::ViewerEngine& engine = window.Engine();
  // Pause is enabled once the worker plays: until then the command is refused, as from its button.
  ASSERT_TRUE(QTest::qWaitFor([&] { return engine.State() != engine::kStopped; }, 5000));
  window.RunCommand(kCmdPause);
  ASSERT_TRUE(QTest::qWaitFor([&] { return engine.State() == engine::kPaused; }, 5000));
  QWidget* slider = window.PositionSlider().Widget();
  const int last = window.PositionSlider().Maximum();
  const int page = last / 10;
  QTest::keyClick(slider, Qt::Key_PageDown);
  QTest::keyClick(slider, Qt::Key_PageDown);
  ASSERT_TRUE(QTest::qWaitFor([&] { return engine.Position() / 4096 + 8 > uint64_t(2 * page); }, 5000))
      << engine.Position() / 4096 << " for " << 2 * page << ", slider at " << window.PositionSlider().Position();
  // The far end is the last block, also when the size is a whole number of blocks (the range then
  // ends one past it).
  QTest::keyClick(slider, Qt::Key_End);
  ASSERT_EQ(engine.Size() % 4096, 0u);
  ASSERT_TRUE(QTest::qWaitFor([&] { return engine.Position() / 4096 + 8 > uint64_t(last); }, 5000))
      << engine.Position() / 4096 << " of " << last;
  QTest::keyClick(slider, Qt::Key_Home);
  ASSERT_TRUE(QTest::qWaitFor([&] { return engine.Position() < 4u * 4096; }, 5000))
      << engine.Position();
}

}  // namespace
}  // namespace dvr::test
