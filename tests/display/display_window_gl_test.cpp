// The video window's OpenGL path, in a real X server (Xvfb with Mesa): the same picture as the
// software path, switching both ways, and the fall-back when no context can be had.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QSurfaceFormat>

#include <memory>

#include "display/qt/gl_error_text.h"
#include "display_window_fixture.h"

namespace dvr::test {
namespace {

// A picture with detail in both directions, so that scaling and placement show.
std::vector<uint8_t> GradientPicture(int slot) {
  std::vector<uint8_t> picture = SlotPicture(slot);
  for (int y = 0; y < 224; ++y) {
    for (int x = 0; x < 640; ++x)
      picture[static_cast<size_t>(y * 640 + x)] =
          static_cast<uint8_t>(16 + (x + 2 * y + 40 * slot) % 220);
  }
  return picture;
}

class GlWindowTest : public DisplayWindowFixture {
 protected:
  void SetUp() override {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "run under xvfb-run";
    DisplayWindowFixture::SetUp();
    ASSERT_TRUE(window_.OpenGlActive()) << window_.LastError();
    for (int slot = 0; slot < 4; ++slot) {
      const auto picture = GradientPicture(slot);
      ASSERT_TRUE(window_.ShowPicture(slot, Time(), picture.data(), 640, 224));
    }
    Settle();
  }
};

TEST_F(GlWindowTest, BothPathsShowTheSamePicture) {
  const QImage opengl = window_.Still();
  ASSERT_EQ(opengl.size(), QSize(640, 448));
  window_.SetUseDirectDraw(false);
  ASSERT_FALSE(window_.OpenGlActive());
  const QImage software = window_.Still();
  // Filtering and text rendering differ a little; a misplaced tile or label differs a lot.
  EXPECT_LT(MeanDifference(opengl, software), 3.0);
  for (int slot = 0; slot < 4; ++slot) {
    EXPECT_TRUE(Near(opengl.pixel(Tile(slot).center()), software.pixel(Tile(slot).center()), 12))
        << slot;
    EXPECT_GT(LabelPixels(opengl, QRect(Tile(slot).topLeft(), QSize(320, 22))), 20) << slot;
  }
}

TEST_F(GlWindowTest, SwitchingBothWaysKeepsEveryPicture) {
  const QImage before = window_.Still();
  window_.SetUseDirectDraw(false);
  window_.SetUseDirectDraw(true);
  ASSERT_TRUE(window_.OpenGlActive()) << window_.LastError();
  Settle();
  EXPECT_LT(MeanDifference(window_.Still(), before), 0.5);
}

TEST_F(GlWindowTest, TheCanvasFollowsTheWindow) {
  window_.resize(900, 700);
  Settle();
  const QImage still = window_.Still();
  ASSERT_EQ(still.size(), QSize(900, 700));
  window_.SetUseDirectDraw(false);
  EXPECT_LT(MeanDifference(still, window_.Still()), 3.0);
}

TEST_F(GlWindowTest, NewPicturesReachTheScreenAfterTheSplitChanges) {
  window_.SetSplit(1, 3);
  const auto picture = SlotPicture(3);
  ASSERT_TRUE(window_.ShowPicture(3, Time(), picture.data(), 640, 224));
  Settle();
  EXPECT_TRUE(Near(window_.Still().pixel(320, 300), SlotColour(3), 4));
}

// A window made while `format` is the default for new contexts, with a picture in its one slot.
std::unique_ptr<display::DisplayWindow> WindowWithFormat(const QSurfaceFormat& format) {
  const QSurfaceFormat usual = QSurfaceFormat::defaultFormat();
  QSurfaceFormat::setDefaultFormat(format);
  auto window = std::make_unique<display::DisplayWindow>();
  QSurfaceFormat::setDefaultFormat(usual);
  window->resize(320, 224);
  window->show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  window->SetSlotCount(1);
  const auto picture = SlotPicture(0);
  EXPECT_TRUE(window->ShowPicture(0, {}, picture.data(), 640, 224));
  return window;
}

// A core-profile context takes none of the drawing of the compatibility profile: the first
// repaint fails, and the window goes on in software with the OpenGL error's text.
TEST(GlFallBack, AFailureWhileDrawingLeavesTheSoftwarePathWithTheErrorText) {
  QSurfaceFormat core = QSurfaceFormat::defaultFormat();
  core.setVersion(3, 3);
  core.setProfile(QSurfaceFormat::CoreProfile);
  const auto window = WindowWithFormat(core);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !window->OpenGlActive(); }, 5000));
  EXPECT_TRUE(window->UseDirectDraw());
  EXPECT_EQ(window->LastError(), display::GlErrorText(0x0502));
  EXPECT_TRUE(Near(window->Still().pixel(160, 112), SlotColour(0)));
}

// Run in an X server without GLX, asking for a version nothing provides.
TEST(GlFallBackNoGlx, AContextThatCannotBeMadeLeavesTheSoftwarePathWithTheReason) {
  QSurfaceFormat impossible = QSurfaceFormat::defaultFormat();
  impossible.setVersion(99, 0);
  const auto window = WindowWithFormat(impossible);
  EXPECT_FALSE(window->OpenGlActive());
  EXPECT_EQ(window->LastError(), display::kNoContextText);
  EXPECT_TRUE(Near(window->Still().pixel(160, 112), SlotColour(0)));
}

}  // namespace
}  // namespace dvr::test
