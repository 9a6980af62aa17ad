// Player-mode export composition: what the presenter draws into the export canvas and when a
// frame leaves.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "display/export_sink.h"
#include "display/presenter.h"
#include "platform/clock.h"
#include "support/recording_presenter.h"
#include "support/wait_for.h"

namespace dvr::display {
namespace {

// Takes frames; the recording presenter's canvas read-out puts the number of pictures drawn into
// the canvas so far in the first byte.
class CaptureSink final : public ExportSink {
 public:
  int FrameWidth() const override { return 640; }
  int FrameHeight() const override { return 448; }
  int WriteVideo(const uint8_t* frame, bool key_frame) override {
    pictures_in_frame.push_back(frame[0]);
    EXPECT_TRUE(key_frame);
    return 0;
  }
  std::vector<int> pictures_in_frame;
};

class CompositionTest : public ::testing::Test {
 protected:
  CompositionTest() : presenter_(clock_) {
    presenter_.SetSlotCount(4);
    presenter_.SetEngineMode(1);
    presenter_.SetLabelsEnabled(true);
    presenter_.SetSplit(4, 0);
    presenter_.SetExportSink(&sink_);
    presenter_.SetExportActive(true);
  }
  void Show(int slot) {
    picture_[0] = static_cast<uint8_t>(++shown_);  // every picture a different one
    ASSERT_TRUE(presenter_.ShowPicture(slot, {}, picture_.data(), 640, 224));
  }

  platform::ManualClock clock_;
  test::RecordingPresenter presenter_;
  CaptureSink sink_;
  std::vector<uint8_t> picture_ = std::vector<uint8_t>(640 * 224 * 3 / 2, 100);
  int shown_ = 0;
};

TEST_F(CompositionTest, AFrameLeavesWhenAChannelComesRoundAgain) {
  EXPECT_EQ(presenter_.ExportFrameBuffer().size(), 720u * 576 * 3);
  for (int slot = 0; slot < 4; ++slot) Show(slot);
  EXPECT_TRUE(sink_.pictures_in_frame.empty());
  EXPECT_EQ(presenter_.ExportPictures().size(), 4u);
  EXPECT_EQ(presenter_.ExportLabels().size(), 4u);
  // Tiles of the 640 x 448 canvas.
  EXPECT_EQ(presenter_.ExportPictures()[3].tile, (Rect{320, 224, 640, 448}));
  Show(0);  // channel 1 again: the frame with the four latest pictures leaves first
  EXPECT_EQ(sink_.pictures_in_frame, std::vector<int>{4});
  for (int slot : {1, 2, 3}) Show(slot);
  EXPECT_EQ(sink_.pictures_in_frame.size(), 1u);
  Show(0);
  EXPECT_EQ(sink_.pictures_in_frame, (std::vector<int>{4, 8}));
}

TEST_F(CompositionTest, ClearingStartsARoundAfresh) {
  for (int slot = 0; slot < 4; ++slot) Show(slot);
  presenter_.ClearPictures();
  Show(0);
  EXPECT_TRUE(sink_.pictures_in_frame.empty());
  // A redraw puts every visible picture in the canvas but sends nothing.
  const size_t before = presenter_.ExportPictures().size();
  presenter_.RedrawAll();
  EXPECT_EQ(presenter_.ExportPictures().size(), before + 1);  // only slot 0 has a picture now
  EXPECT_TRUE(sink_.pictures_in_frame.empty());
  // The end of a batch export sends what the canvas holds.
  EXPECT_TRUE(presenter_.FlushExportFrame());
  EXPECT_EQ(sink_.pictures_in_frame.size(), 1u);
  EXPECT_FALSE(presenter_.FlushExportFrame());
}

TEST_F(CompositionTest, OneChannelLagsOnePicture) {
  presenter_.SetSplit(1, 2);
  Show(2);
  EXPECT_TRUE(sink_.pictures_in_frame.empty());
  Show(2);
  Show(2);
  EXPECT_EQ(sink_.pictures_in_frame.size(), 2u);
  EXPECT_EQ(presenter_.ExportPictures().back().tile, (Rect{0, 0, 640, 448}));
  Show(1);  // not on the page: neither drawn nor counted
  EXPECT_EQ(sink_.pictures_in_frame.size(), 2u);
}

TEST_F(CompositionTest, OnlyInPlayerModeWhileActive) {
  presenter_.SetEngineMode(2);
  for (int i = 0; i < 3; ++i) Show(0);
  EXPECT_TRUE(presenter_.ExportPictures().empty());
  presenter_.SetEngineMode(1);
  presenter_.SetExportActive(false);
  for (int i = 0; i < 3; ++i) Show(0);
  EXPECT_TRUE(presenter_.ExportPictures().empty());
  EXPECT_TRUE(sink_.pictures_in_frame.empty());
  // Switching on again zeroes the frame buffer.
  presenter_.ExportFrameBuffer()[5] = 9;
  presenter_.SetExportActive(true);
  EXPECT_EQ(presenter_.ExportFrameBuffer()[5], 0);
}

// While a frame is encoded, another thread (the window's, repainting) can take the presenter.
class RedrawingSink final : public ExportSink {
 public:
  explicit RedrawingSink(Presenter& presenter) : presenter_(presenter) {}
  int FrameWidth() const override { return 640; }
  int FrameHeight() const override { return 448; }
  int WriteVideo(const uint8_t*, bool) override {
    redrawer_ = std::thread([this] {
      presenter_.RedrawAll();
      redrawn_ = true;
    });
    redrawn_while_writing = test::WaitFor([this] { return redrawn_.load(); });
    return 0;
  }
  ~RedrawingSink() override {
    if (redrawer_.joinable()) redrawer_.join();
  }
  bool redrawn_while_writing = false;

 private:
  Presenter& presenter_;
  std::thread redrawer_;
  std::atomic<bool> redrawn_{false};
};

TEST_F(CompositionTest, ARedrawNeverWaitsForTheEncoder) {
  RedrawingSink sink(presenter_);
  presenter_.SetExportSink(&sink);
  for (int slot : {0, 1, 0}) Show(slot);
  EXPECT_TRUE(sink.redrawn_while_writing);
  presenter_.SetExportSink(nullptr);
}

}  // namespace
}  // namespace dvr::display
