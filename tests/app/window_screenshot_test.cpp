// The main window as the screen shows it, in both modes at the starting size and at the smallest,
// compared with reviewed pictures. The pictures this run took are saved in the build folder
// (screenshots/) to look at; set DVR_UPDATE_SCREENSHOTS=1 to take them as the new references after
// a deliberate change of the look.
#include <QPainter>
#include <QScreen>

#include <cstdlib>
#include <functional>
#include <filesystem>

#include "app/command_ids.h"
#include "app/main_window_fixture.h"
#include "viewer_recording.h"

namespace dvr::test {
namespace {

using namespace app;

// How far a picture may stray from its reference: antialiasing and font hinting move a few edges.
// The whole picture and every control on its own: a control drawn wrong is a small part of the
// window, but most of its own rectangle.
constexpr double kMaxMeanDifference = 1.5;       // per channel, 0..255
constexpr double kMaxShareOfFarPixels = 0.003;   // pixels with a channel more than 48 off
constexpr double kMaxControlMeanDifference = 6;  // the same within one control's rectangle
constexpr double kMaxControlShareOfFarPixels = 0.03;

struct Difference {
  double mean = 0;
  double share_far = 0;
};

// The difference within `area`; the pixels more than 48 off are marked in `map`.
Difference Compare(const QImage& picture, const QImage& reference, QRect area, QImage& map) {
  area &= picture.rect();
  double sum = 0;
  qint64 far = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      const QRgb a = picture.pixel(x, y), b = reference.pixel(x, y);
      const int red = std::abs(qRed(a) - qRed(b)), green = std::abs(qGreen(a) - qGreen(b)),
                blue = std::abs(qBlue(a) - qBlue(b));
      sum += red + green + blue;
      if (std::max({red, green, blue}) > 48) {
        ++far;
        map.setPixel(x, y, qRgb(255, 0, 255));
      }
    }
  }
  const double pixels = std::max(1.0, double(area.width()) * area.height());
  return {sum / (3 * pixels), far / pixels};
}

class WindowScreenshotTest : public MainWindowTest {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(kShotDir);
    dense_ = qApp->devicePixelRatio() > 1;
  }

  // The window's rectangle as the screen shows it (the rounded corners show what lies under
  // them), once `ready` holds and two grabs in a row agree: every repaint it asked for is on the
  // screen.
  QImage Shoot(MainWindow& window, const std::function<bool()>& ready) {
    EXPECT_TRUE(QTest::qWaitFor(ready, 5000)) << "the window never got ready";
    QImage last = Grab(window);
    for (int round = 0; round < 100; ++round) {
      QTest::qWait(20);
      QImage next = Grab(window);
      if (next == last) return next;
      last = std::move(next);
    }
    ADD_FAILURE() << "the window never held still";
    return last;
  }

  // The window's rectangle as the screen shows it now.
  static QImage Grab(MainWindow& window) {
    const QRect area = window.frameGeometry();
    return window.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
  }

  // Compares the picture with its reference, as a whole and control by control.
  void Check(MainWindow& window, const QImage& picture, const std::string& name) {
    const std::string file = name + (dense_ ? "@2x" : "") + ".png";
    const std::string shot = std::string(kShotDir) + "/" + file;
    const std::string reference = std::string(SCREENSHOT_REFERENCES) + "/" + file;
    ASSERT_TRUE(picture.save(QString::fromStdString(shot), "PNG")) << shot;
    if (std::getenv("DVR_UPDATE_SCREENSHOTS")) {
      ASSERT_TRUE(picture.save(QString::fromStdString(reference), "PNG")) << reference;
      return;
    }
    QImage expected(QString::fromStdString(reference));
    ASSERT_FALSE(expected.isNull()) << "no reference " << reference;
    expected = expected.convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(picture.size(), expected.size()) << shot;
    QImage map(picture.size(), QImage::Format_RGB32);
    map.fill(Qt::black);
    const std::string map_file = std::string(kShotDir) + "/" + name + (dense_ ? "@2x" : "") + "-diff.png";
    const Difference whole = Compare(picture, expected, picture.rect(), map);
    EXPECT_LE(whole.mean, kMaxMeanDifference) << shot << " against " << reference;
    EXPECT_LE(whole.share_far, kMaxShareOfFarPixels)
        << shot << " against " << reference << "; differing pixels in " << map_file;
    const qreal ratio = picture.width() / qreal(window.width());
    for (QWidget* control : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (!control->isVisible() || control == &window.Display()) continue;
      const QRect logical = control->geometry();
      const QRect area(QPoint(qRound(logical.x() * ratio), qRound(logical.y() * ratio)),
                       logical.size() * ratio);
      const Difference own = Compare(picture, expected, area, map);
      const std::string what = control->objectName().isEmpty()
                                   ? control->metaObject()->className()
                                   : control->objectName().toStdString();
      EXPECT_LE(own.mean, kMaxControlMeanDifference) << what << " in " << shot;
      EXPECT_LE(own.share_far, kMaxControlShareOfFarPixels) << what << " in " << shot;
    }
    if (whole.share_far > 0) map.save(QString::fromStdString(map_file), "PNG");
  }

  // A four-camera recording from the command line, started as the program starts it.
  MainWindow& StartPlaying() {
    MainWindow& window = MakeWindow();
    window.Start(ParseCommandLine({WriteViewerRecording(dir_, 4, 30, 4)}));
    window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    return window;
  }

  static constexpr const char* kShotDir = "screenshots";
  bool dense_ = false;
};

TEST_F(WindowScreenshotTest, BothModesAtTheStartingSizeAndAtTheSmallest) {
  MainWindow& window = MakeWindow();
  window.Start(ParseCommandLine({}));
  window.Engine().SetUseDirectDraw(false);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  ASSERT_EQ(window.size(), QSize(645, 550));
  const auto player_ready = [&] { return window.StatusText() == "READY "; };
  Check(window, Shoot(window, player_ready), "window-player");
  window.resize(578, 486);
  Check(window, Shoot(window, player_ready), "window-player-smallest");
  window.RunCommand(kCmdNetworkMode);
  window.RunCommand(kCmdSize448);
  ASSERT_EQ(window.size(), QSize(645, 550));
  const auto network_ready = [&] { return window.StatusText() == "0"; };
  Check(window, Shoot(window, network_ready), "window-network");
  window.resize(578, 486);
  Check(window, Shoot(window, network_ready), "window-network-smallest");
}

// With pictures, for a person to look at: the time moves on, so it is kept, not compared.
TEST_F(WindowScreenshotTest, APlayingRecordingIsSavedToLookAt) {
  MainWindow& window = StartPlaying();
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.Display().PresentCount() > 8; }, 10000));
  const std::string file = std::string(kShotDir) + "/window-playing" + (dense_ ? "@2x" : "") + ".png";
  EXPECT_TRUE(Grab(window).save(QString::fromStdString(file), "PNG")) << file;
}

// Always on top is told to the window system; the window is not made anew, so the OpenGL
// picture goes on being shown.
TEST_F(WindowScreenshotTest, AlwaysOnTopKeepsTheOpenGlPictures) {
  MainWindow& window = StartPlaying();
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.Display().PresentCount() > 8; }, 10000));
  if (!window.Display().OpenGlActive()) GTEST_SKIP() << "no OpenGL here";
  const WId native = window.winId();
  window.RunCommand(kCmdAlwaysOnTop);
  EXPECT_EQ(window.winId(), native);
  EXPECT_TRUE(window.Display().OpenGlActive());
  const uint64_t shown = window.Display().PresentCount();
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.Display().PresentCount() > shown + 8; }, 10000));
  const QImage picture = Grab(window);
  const QRect video = window.Display().geometry();
  const qreal ratio = picture.width() / qreal(window.width());
  int lit = 0;
  for (int y = video.top(); y < video.bottom(); y += 8) {
    for (int x = video.left(); x < video.right(); x += 8) {
      if (qGray(picture.pixel(int(x * ratio), int(y * ratio))) > 40) ++lit;
    }
  }
  EXPECT_GT(lit, (video.width() / 8) * (video.height() / 8) / 4) << "the picture went dark";
}

}  // namespace
}  // namespace dvr::test
