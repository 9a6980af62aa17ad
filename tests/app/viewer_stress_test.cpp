// The engine at 32 times speed on 16 channels while the window is resized, switched between its
// drawing paths, paged and closed, again and again. A deadlock hangs the test (CTest's time-out
// ends it); the sanitizers watch the rest.
#include <gtest/gtest.h>

#include <QTest>

#include "app/main_window.h"
#include "support/temp_dir.h"
#include "viewer_recording.h"

namespace dvr::test {
namespace {

TEST(ViewerStress, FastPlayWhileTheWindowIsResizedSwitchedPagedAndClosed) {
  TempDir dir;
  const std::string path = WriteViewerRecording(dir, 16, 4, 4);
  for (int round = 0; round < 4; ++round) {
    app::MainWindow::Options options;
    options.sound = false;
    options.settings_path = dir.File("dvr-viewer.INI");
    app::MainWindow window(options);
    window.show();
    window.Start({});
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    engine::ViewerEngine& engine = window.Engine();
    engine.SetRepeat(true);
    ASSERT_TRUE(window.OpenRecording(path, false));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
          engine.FastForward();
          return engine.Speed() >= 32;
        },
        5000));
    display::DisplayWindow& display = window.Display();
    for (int step = 0; step < 60; ++step) {
      window.resize(300 + (step * 37) % 500, 200 + (step * 53) % 400);
      if (step % 7 == 0) engine.SetUseDirectDraw(!engine.UseDirectDraw());
      if (step % 5 == 0) engine.SetSplit(step % 10 == 0 ? 16 : 4, -1);
      if (step % 11 == 0) engine.SetSplit(1, -1);
      if (step % 13 == 0) display.Still();
      if (step % 17 == 0) window.resize(0, 0);
      QTest::qWait(5);
    }
    EXPECT_GT(display.PresentCount(), 0u);
    window.close();
  }
}

}  // namespace
}  // namespace dvr::test
