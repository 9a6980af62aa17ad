#include "engine/viewer_engine.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <thread>

#include "codec/synthetic_scene.h"
#include "audio/null_audio_device.h"
#include "engine/speed_rules.h"
#include "media/ndf_time.h"
#include "platform/local_time.h"
#include "support/encoded_recording.h"
#include "support/ndf_builder.h"
#include "support/recorded_notices.h"
#include "support/recording_presenter.h"
#include "support/temp_dir.h"
#include "support/wait_for.h"

namespace dvr::engine {
namespace {

using test::WaitFor;

// The null device, telling whether it is playing: whether a person would hear the ring.
class ListenedDevice final : public audio::AudioDevice {
 public:
  explicit ListenedDevice(platform::Clock& clock) : device_(clock) {}
  bool Playing() const { return playing_; }

  bool Open(const audio::WaveFormat& format) override { return device_.Open(format); }
  bool IsOpen() const override { return device_.IsOpen(); }
  bool PrepareLoop(const uint8_t* ring, size_t size) override { return device_.PrepareLoop(ring, size); }
  bool StartLoop() override { return playing_ = device_.StartLoop(); }
  bool Position(uint64_t& bytes) override { return device_.Position(bytes); }
  bool Pause() override {
    playing_ = false;
    return device_.Pause();
  }
  bool Restart() override { return playing_ = device_.Restart(); }
  bool SetVolume(uint16_t left, uint16_t right) override { return device_.SetVolume(left, right); }
  void Close() override {
    playing_ = false;
    device_.Close();
  }

 private:
  audio::NullAudioDevice device_;
  std::atomic<bool> playing_{false};
};

TEST(SpeedRules, PlayFastAndPause) {
  EXPECT_EQ(NormalSpeed(-3), 3);
  EXPECT_EQ(NormalSpeed(12), 8);
  EXPECT_EQ(NormalSpeed(0), 1);
  double speed = 1;
  for (double expected : {8, 16, 32, 32}) {
    speed = FasterSpeed(speed, false, true);
    EXPECT_EQ(speed, expected);
  }
  EXPECT_EQ(FasterSpeed(32, true, true), 8);  // the other direction first
  EXPECT_EQ(FasterSpeed(1, false, false), 8);
  EXPECT_EQ(FasterSpeed(2, false, true), 8);
  EXPECT_EQ(SpeedAfterPause(16), 1);
  EXPECT_EQ(SpeedAfterPause(2), 2);
  EXPECT_EQ(StateForCommand(kCommandStepBackward, kForward), kStepBackward);
  EXPECT_EQ(StateForCommand(9, kForward), kForward);
  EXPECT_STREQ(StateName(kPaused), "一時停止");
  EXPECT_STREQ(StateName(0), "READY");
}

class EngineTest : public ::testing::Test {
 protected:
  // The manual clock unless the test needs the real one.
  explicit EngineTest(bool real_clock = false)
      : clock_(real_clock ? platform::SystemClock() : manual_clock_),
        presenter_(clock_),
        sound_(clock_),
        engine_(presenter_, &sound_, notices_, clock_) {
    engine_.Setup(4, audio::kALaw, 4, audio::kSampleRate, 4);
    engine_.SetMode(kPlayerMode, 4);
    presenter_.SetSplit(4, 0);
  }
  std::string Write(const test::EncodedRecording& recording, uint8_t pacing = 1) {
    return dir_.Write("rec.NDF", recording.Build(1700000000, pacing));
  }
  uint64_t Shown() const {
    uint64_t n = 0;
    for (uint64_t s : engine_.Counters().shown) n += s;
    return n;
  }
  // The times in the labels drawn since label `from` ("2023/11/14 22:13:20"), empty slots left out.
  std::vector<std::string> TimesShown(size_t from) const {
    std::vector<std::string> times;
    const auto labels = presenter_.LabelsDrawn();
    for (size_t i = from; i < labels.size(); ++i) {
      const size_t space = labels[i].find(' ');
      if (space != std::string::npos && space + 1 < labels[i].size()) times.push_back(labels[i].substr(space + 1));
    }
    return times;
  }

  platform::ManualClock manual_clock_;
  platform::Clock& clock_;
  test::TempDir dir_;
  test::RecordedNotices notices_;
  test::RecordingPresenter presenter_;
  ListenedDevice sound_;
  ViewerEngine engine_;
};

TEST_F(EngineTest, SetupAndModeRules) {
  for (auto [n, split] : {std::pair{0u, 1}, {1u, 1}, {2u, 4}, {4u, 4}, {5u, 9}, {9u, 9}, {10u, 16}, {99u, 16}}) {
    engine_.Setup(4, audio::kALaw, n, 8000, 4);
    EXPECT_EQ(engine_.SplitCount(), split) << n;
  }
  EXPECT_FALSE(engine_.SetMode(3, 4));
  EXPECT_TRUE(engine_.SetMode(kPlayerMode, 9));
  EXPECT_EQ(engine_.SplitCount(), 9);
  EXPECT_TRUE(engine_.SetMode(kPlayerMode, 0xFFFFFFFF));
  EXPECT_EQ(engine_.SplitCount(), 9);
  // Splits the layout has no page for are rounded as Setup rounds them: never 0 tiles.
  for (auto [n, split] : {std::pair{0u, 1}, {3u, 4}, {16u, 16}}) {
    EXPECT_TRUE(engine_.SetMode(kPlayerMode, n));
    EXPECT_EQ(engine_.SplitCount(), split) << n;
  }
  EXPECT_EQ(engine_.Mode(), kPlayerMode);
  EXPECT_TRUE(presenter_.Labels().enabled);
  EXPECT_TRUE(engine_.SetMode(kNetworkMode, 4));
  EXPECT_FALSE(presenter_.Labels().enabled);
}

TEST_F(EngineTest, PlaysEveryPictureAtTheRecordedPace) {
  test::EncodedRecording recording;
  for (int i = 0; i < 8; ++i) recording.Video(i % 4, i * 0.1);
  recording.Audio(0, 400);
  ASSERT_TRUE(engine_.OpenRecording(Write(recording), false));
  ASSERT_TRUE(WaitFor([&] { return engine_.State() == kPaused; }));  // paused at the end
  EXPECT_EQ(Shown(), 8u);
  const auto pictures = presenter_.Pictures();
  ASSERT_EQ(pictures.size(), 8u);
  // Pacing count 1, 16666 us a picture at variant 4: (2 x 16666) / 1000 = 33 ms apart.
  for (size_t i = 1; i < pictures.size(); ++i) EXPECT_EQ(pictures[i].tick - pictures[i - 1].tick, 33u) << i;
  EXPECT_EQ(pictures[1].tile, (display::Rect{320, 0, 640, 224}));
  EXPECT_EQ(engine_.Counters().audio_bytes, 800u);  // 400 A-law codes as 16-bit samples
  engine_.CloseRecording();
  EXPECT_EQ(engine_.State(), kStopped);
  media::FrameTime t;
  EXPECT_FALSE(engine_.CurrentTime(t));
  // Closed for real: the file is let go, nothing is left to export or close again.
  EXPECT_FALSE(engine_.IsOpen());
  EXPECT_EQ(engine_.Position(), 0u);
}

TEST_F(EngineTest, SpeedShortensTheWaitAndFastPlayDoesNotWait) {
  test::EncodedRecording recording;
  for (int i = 0; i < 6; ++i) recording.Video(0, i * 0.1);
  const std::string path = Write(recording);
  engine_.PlayForward(8);  // the speed stays for the next run
  ASSERT_TRUE(engine_.OpenRecording(path, false));
  ASSERT_TRUE(WaitFor([&] { return engine_.State() == kPaused; }));
  auto pictures = presenter_.Pictures();
  ASSERT_EQ(pictures.size(), 6u);
  EXPECT_EQ(pictures[2].tick - pictures[1].tick, 4u);  // (2 x 16666 / 8) / 1000
  engine_.CloseRecording();
}

TEST_F(EngineTest, AudioIsPlayedAtNormalSpeedOnly) {
  test::EncodedRecording recording;
  recording.Video(0, 0).Audio(0, 400).Audio(0, 400).Video(1, 0.1).Audio(0, 400).Video(2, 0.2);
  ASSERT_TRUE(engine_.OpenRecording(Write(recording), false));
  ASSERT_TRUE(WaitFor([&] { return engine_.State() == kPaused; }));
  EXPECT_EQ(engine_.Counters().audio_bytes, 3u * 800);  // 400 A-law codes: 800 bytes of PCM
  EXPECT_EQ(Shown(), 3u);
  engine_.CloseRecording();
}

TEST_F(EngineTest, RepeatStartsAgainAtTheEnd) {
  test::EncodedRecording recording;
  for (int i = 0; i < 3; ++i) recording.Video(i, 0);
  engine_.SetRepeat(true);
  ASSERT_TRUE(engine_.OpenRecording(Write(recording), false));
  ASSERT_TRUE(WaitFor([&] { return Shown() >= 12; }));
  EXPECT_EQ(engine_.State(), kForward);
  engine_.SetRepeat(false);
  ASSERT_TRUE(WaitFor([&] { return engine_.State() == kPaused; }));
  engine_.CloseRecording();
}

TEST_F(EngineTest, ABlockWithoutAWholeFrameRewindsFourTimesThenPauses) {
  test::NdfBuilder nothing;
  nothing.FillTo(100);
  engine_.SetRepeat(true);
  ASSERT_TRUE(engine_.OpenRecording(dir_.Write("empty.NDF", nothing.Build()), false));
  ASSERT_TRUE(WaitFor([&] { return engine_.State() == kPaused; }));
  EXPECT_EQ(Shown(), 0u);
  engine_.CloseRecording();
}

TEST_F(EngineTest, CommandsIssuedWhileStoppedAreDiscarded) {
  test::EncodedRecording recording;
  for (int i = 0; i < 4; ++i) recording.Video(i, 0);
  const std::string path = Write(recording);
  engine_.Pause();
  ASSERT_TRUE(engine_.OpenRecording(path, false));
  ASSERT_TRUE(WaitFor([&] { return engine_.State() == kPaused; }));  // at the end
  EXPECT_EQ(Shown(), 4u);  // played, not paused at the start
  engine_.CloseRecording();
}

TEST_F(EngineTest, TwoChannelPicturesShowOnlyTheirPresentHalves) {
  test::EncodedRecording recording(5);
  codec::EncodeOptions left_only;
  left_only.dual = true;
  left_only.channel_b = 2;
  left_only.b_absent = true;
  codec::EncodeOptions none = left_only;
  none.a_absent = true;
  recording.Video(1, 0, left_only).Video(3, 0, none).Video(0, 0.1);
  engine_.Setup(5, audio::kALaw, 4, audio::kSampleRate, 4);
  engine_.SetMode(kPlayerMode, 4);
  presenter_.SetSplit(4, 0);
  ASSERT_TRUE(engine_.OpenRecording(Write(recording), false));
  ASSERT_TRUE(WaitFor([&] { return engine_.State() == kPaused; }));
  const auto counters = engine_.Counters();
  EXPECT_EQ(counters.shown[1], 1u);  // the left half on channel_a
  EXPECT_EQ(counters.shown[2], 0u);  // its right half is absent
  EXPECT_EQ(counters.shown[3], 0u);  // both halves absent: skipped
  const auto pictures = presenter_.Pictures();
  ASSERT_FALSE(pictures.empty());
  EXPECT_EQ(pictures[0].width, 320);
  engine_.CloseRecording();
}

TEST_F(EngineTest, LiveFramesShowOnSlotZeroWithTheirOwnTime) {
  test::EncodedRecording live(codec::kNetworkVariant);
  FrameQueue video("Default"), audio("Default");
  ASSERT_TRUE(video.Allocate(131072, 16));
  ASSERT_TRUE(audio.Allocate(4096, 16));
  ASSERT_TRUE(engine_.SetMode(kNetworkMode, 0xFFFFFFFF));
  ASSERT_TRUE(engine_.StartLive(video, audio));
  // A frame as the network delivers it: variant 2 layout, channel 0, its time given.
  const codec::SyntheticScene scene(0, 640, 224, 3);
  std::vector<uint8_t> picture(640 * 224 * 3 / 2), bytes;
  scene.Render(0, "00:00:00", picture.data());
  codec::EncodeOptions options;
  options.variant = codec::kNetworkVariant;
  codec::FrameEncoder().Encode(picture.data(), 640, 224, options, nullptr, bytes);
  media::MediaFrame frame(131072);
  std::copy(bytes.begin(), bytes.end(), frame.payload.begin());
  frame.length = static_cast<uint32_t>(bytes.size());
  frame.time.year = 2026;
  frame.time.month = 1;
  frame.time.day = 2;
  ASSERT_TRUE(video.Push(frame));
  media::MediaFrame sound(4096);
  sound.length = 500;
  ASSERT_TRUE(audio.Push(sound));
  ASSERT_TRUE(WaitFor([&] { return Shown() == 1 && engine_.Counters().audio_bytes == 1000; }));
  EXPECT_EQ(engine_.Counters().shown[0], 1u);
  engine_.StopLive();
}

// A second recording after one with sound: the output counts from 0 with the restarted device,
// so the second run keeps the pace of the first instead of waiting for the old byte count.
TEST_F(EngineTest, ASecondOpenKeepsThePaceOfTheFirst) {
  test::EncodedRecording recording;
  recording.Video(0, 0);
  for (int i = 0; i < 40; ++i) recording.Audio(0, 400);  // 2 s of sound
  recording.Video(1, 2).Video(2, 2.1);
  const std::string path = Write(recording);
  std::vector<uint32_t> gaps;
  for (int run = 0; run < 3; ++run) {
    const size_t before = presenter_.Pictures().size();
    ASSERT_TRUE(engine_.OpenRecording(path, false));
    ASSERT_TRUE(WaitFor([&] { return presenter_.Pictures().size() == before + 3 && engine_.State() == kPaused; }));
    manual_clock_.Advance(5000);  // the device plays on while paused at the end
    engine_.CloseRecording();
    const auto pictures = presenter_.Pictures();
    gaps.push_back(pictures[before + 1].tick - pictures[before].tick);
  }
  EXPECT_LT(gaps[0], 2000u);
  EXPECT_EQ(gaps[1], gaps[0]);
  EXPECT_EQ(gaps[2], gaps[0]);
}

// Pictures shown while playing backward from the end come in falling time order, at every
// speed, and the play reaches the start.
TEST_F(EngineTest, BackwardPlayShowsFallingTimes) {
  test::EncodedRecording recording;
  for (int i = 0; i < 400; ++i) recording.Video(i % 4, i * 0.1);
  const std::string path = Write(recording);
  ASSERT_GT(std::filesystem::file_size(path), 4u * 655360);  // fast play jumps several times
  for (int speed : {1, 8, 16, 32}) {
    SCOPED_TRACE(speed);
    ASSERT_TRUE(engine_.OpenRecording(path, false));
    // From the end: the last block holds no whole picture, so the seek shows none and leaves the
    // reader at the end, from where backward play starts with the last picture.
    engine_.Seek(engine_.Size() - media::kBlockSize);
    ASSERT_TRUE(WaitFor([&] { return engine_.State() == kPaused; }));
    const size_t from = presenter_.LabelsDrawn().size();
    const uint64_t shown = Shown();
    if (speed < 16) {
      engine_.PlayBackward(speed);
    } else {
      while (engine_.Speed() < speed) engine_.FastBackward();
    }
    ASSERT_TRUE(WaitFor([&] { return engine_.State() == kPaused && Shown() > shown + 9; }));
    const auto times = TimesShown(from);
    ASSERT_GT(times.size(), 8u);
    EXPECT_GE(times.front(), "2023/11/14 22:33:00");  // from the end (a block a second) ...
    for (size_t i = 1; i < times.size(); ++i) ASSERT_LE(times[i], times[i - 1]) << i;
    if (speed < 16) {
      EXPECT_EQ(times.back(), "2023/11/14 22:13:20");  // ... to the start
    } else {
      EXPECT_GT(engine_.Counters().jumps, 0u);
    }
    engine_.CloseRecording();
  }
}

// Commands given at any time after opening take effect, also before the worker's first pass.
TEST_F(EngineTest, ACommandRightAfterOpeningIsObeyed) {
  test::EncodedRecording recording;
  for (int i = 0; i < 40; ++i) recording.Video(i % 4, i);
  const std::string path = Write(recording, 127);
  for (int run = 0; run < 20; ++run) {
    ASSERT_TRUE(engine_.OpenRecording(path, false));
    engine_.Pause();
    ASSERT_TRUE(WaitFor([&] { return engine_.State() == kPaused; }));
    EXPECT_LE(Shown(), 1u) << run;  // paused at the start, not at the end
    engine_.CloseRecording();
  }
}

// The window thread reads the time and the position while the worker plays: both come from the
// worker's own copies (a data race otherwise, which the thread sanitizer reports).
TEST_F(EngineTest, TimeAndPositionAreReadWhilePlaying) {
  test::EncodedRecording recording;
  for (int i = 0; i < 200; ++i) recording.Video(i % 4, i * 0.1);
  ASSERT_TRUE(engine_.OpenRecording(Write(recording), false));
  EXPECT_EQ(engine_.Position(), 0u);
  uint64_t last_position = 0;
  bool had_time = false;
  while (engine_.State() != kPaused) {
    media::FrameTime t;
    if (engine_.CurrentTime(t)) {
      had_time = true;
      EXPECT_EQ(t.year, 2023);
    }
    EXPECT_GE(engine_.Position(), last_position);
    last_position = engine_.Position();
  }
  EXPECT_TRUE(had_time);
  EXPECT_EQ(engine_.Position(), engine_.Size());
  engine_.CloseRecording();
}

// The sound stops with the worker: a device left running would repeat its ring for ever.
TEST_F(EngineTest, TheDeviceFallsSilentWhenPlayingEnds) {
  test::EncodedRecording recording;
  recording.Video(0, 0);
  for (int i = 0; i < 8; ++i) recording.Audio(0, 400);
  for (int i = 0; i < 40; ++i) recording.Video(1, 0.5 + i);
  ASSERT_TRUE(engine_.OpenRecording(Write(recording, 127), false));
  ASSERT_TRUE(WaitFor([&] { return engine_.Counters().audio_bytes == 8 * 800; }));
  engine_.CloseRecording();
  EXPECT_FALSE(sound_.Playing());

  // The same when the mode changes under a playing recording, and when a live loop stops.
  ASSERT_TRUE(engine_.OpenRecording(Write(recording, 127), false));
  ASSERT_TRUE(WaitFor([&] { return engine_.Counters().audio_bytes == 8 * 800; }));
  ASSERT_TRUE(engine_.SetMode(kPlayerMode, 4));
  EXPECT_FALSE(sound_.Playing());
  FrameQueue video("Default"), audio("Default");
  ASSERT_TRUE(video.Allocate(131072, 16));
  ASSERT_TRUE(audio.Allocate(4096, 16));
  ASSERT_TRUE(engine_.SetMode(kNetworkMode, 0xFFFFFFFF));
  ASSERT_TRUE(engine_.StartLive(video, audio));
  media::MediaFrame sound(4096);
  sound.length = 1000;
  const uint64_t before = engine_.Counters().audio_bytes;
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(audio.Push(sound));
  ASSERT_TRUE(WaitFor([&] { return engine_.Counters().audio_bytes == before + 6000 && sound_.Playing(); }));
  engine_.StopLive();
  EXPECT_FALSE(sound_.Playing());
}

// The display is the window's and outlives the engine: it must not keep a pointer to the
// engine's export writer once the export (or the engine) is gone.
TEST(EngineLifetime, TheDisplayForgetsTheExportWriterWithTheEngine) {
  platform::ManualClock clock;
  test::RecordingPresenter presenter(clock);
  test::RecordedNotices notices;
  {
    ViewerEngine engine(presenter, nullptr, notices, clock);
    engine.Setup(4, audio::kALaw, 4, audio::kSampleRate, 4);
    engine.SetMode(kPlayerMode, 4);
    engine.SetExportActive(true);
  }
  presenter.SetExportActive(true);
  const std::vector<uint8_t> picture(640 * 224 * 3 / 2, 128);
  EXPECT_TRUE(presenter.ShowPicture(0, {}, picture.data(), 640, 224));
  EXPECT_TRUE(presenter.ExportPictures().empty());  // no writer, nothing composed for one
}

// Step, seek and pause need a worker that waits between pictures: the real clock and the
// longest pacing count (128 x 16.7 ms a picture).
class SteppingTest : public EngineTest {
 protected:
  SteppingTest() : EngineTest(true) {}
};

TEST_F(SteppingTest, StepOverAudioSeekAndPause) {
  test::EncodedRecording recording;
  recording.Video(0, 0).Audio(0, 400).Audio(0, 400).Video(1, 0).Video(2, 0);
  for (int i = 0; i < 40; ++i) recording.Video(3, i);  // padding: frames later in the file
  recording.Video(0, 50);
  ASSERT_TRUE(engine_.OpenRecording(Write(recording, 127), false));
  ASSERT_TRUE(WaitFor([&] { return Shown() == 1; }));
  engine_.Pause();
  ASSERT_TRUE(WaitFor([&] { return engine_.State() == kPaused; }));
  const size_t before = presenter_.Pictures().size();

  engine_.StepForward();  // over the audio frames to channel 1's picture, then paused
  ASSERT_TRUE(WaitFor([&] { return engine_.State() == kPaused && presenter_.Pictures().size() == before + 1; }));
  EXPECT_EQ(presenter_.Pictures().back().tile, (display::Rect{320, 0, 640, 224}));

  engine_.StepBackward();  // back over it: the picture before, channel 0
  ASSERT_TRUE(WaitFor([&] { return engine_.State() == kPaused && presenter_.Pictures().size() == before + 2; }));
  EXPECT_EQ(presenter_.Pictures().back().tile, (display::Rect{0, 0, 320, 224}));

  engine_.Seek(engine_.Size() - 10000);  // the first picture after that block's start
  ASSERT_TRUE(WaitFor([&] { return engine_.State() == kPaused && presenter_.Pictures().size() == before + 3; }));
  media::FrameTime t;
  EXPECT_TRUE(engine_.CurrentTime(t));
  engine_.CloseRecording();
}

TEST_F(SteppingTest, BackwardFastPlayDoesNotJumpBelowTheJumpSize) {
  test::EncodedRecording recording;
  for (int i = 0; i < 12; ++i) recording.Video(i % 4, i * 0.1);
  ASSERT_TRUE(engine_.OpenRecording(Write(recording, 127), false));
  ASSERT_TRUE(WaitFor([&] { return Shown() == 1; }));
  engine_.Seek(engine_.Size() - 20000);
  ASSERT_TRUE(WaitFor([&] { return engine_.State() == kPaused; }));
  engine_.FastBackward();  // from a pause: 8
  ASSERT_TRUE(WaitFor([&] { return engine_.State() == kBackward; }));
  engine_.FastBackward();
  EXPECT_EQ(engine_.Speed(), 16);
  ASSERT_TRUE(WaitFor([&] { return engine_.State() == kPaused; }));  // at the start
  EXPECT_EQ(engine_.Counters().jumps, 0u);  // the recording is far smaller than 327680 bytes
  const auto pictures = presenter_.Pictures();
  EXPECT_EQ(pictures.back().md5, pictures.front().md5);  // back at the first picture
  engine_.CloseRecording();
}

TEST_F(SteppingTest, FastForwardDoublesWhilePlaying) {
  test::EncodedRecording recording;
  for (int i = 0; i < 5; ++i) recording.Video(0, i);
  ASSERT_TRUE(engine_.OpenRecording(Write(recording, 127), false));
  ASSERT_TRUE(WaitFor([&] { return engine_.State() == kForward; }));
  engine_.FastForward();
  EXPECT_EQ(engine_.Speed(), 8);
  ASSERT_TRUE(WaitFor([&] { return engine_.State() == kForward; }));
  engine_.FastForward();
  EXPECT_EQ(engine_.Speed(), 16);
  engine_.FastForward();
  engine_.FastForward();
  EXPECT_EQ(engine_.Speed(), 32);
  engine_.Pause();
  EXPECT_EQ(engine_.Speed(), 1);
  engine_.CloseRecording();
}

TEST_F(SteppingTest, DestroyingAPlayingEngineStopsItsWorker) {
  test::EncodedRecording recording;
  for (int i = 0; i < 5; ++i) recording.Video(0, i);
  auto engine = std::make_unique<ViewerEngine>(presenter_, nullptr, notices_, platform::SystemClock());
  engine->Setup(4, audio::kALaw, 4, 8000, 4);
  engine->SetMode(kPlayerMode, 4);
  ASSERT_TRUE(engine->OpenRecording(Write(recording, 127), false));
  ASSERT_TRUE(WaitFor([&] { return engine->State() == kForward; }));
  engine.reset();  // in the middle of a long wait between pictures
}

// Seeks by time: through the source's time map, to the block that holds the time, and on in the
// state the player was in. Block i of the built recording carries time 1700000000 + i.
class SeekTimeTest : public SteppingTest {
 protected:
  static constexpr uint32_t kFirstTime = 1700000000;

  // `stray`: a block whose time lies a day later, as a few stray blocks of a disk do.
  void OpenWithMap(uint8_t pacing = 127, std::optional<size_t> stray = std::nullopt) {
    test::EncodedRecording recording;
    for (int i = 0; i < 30; ++i) recording.Video(i % 4, i);
    std::vector<uint8_t> image = recording.Build(kFirstTime, pacing);
    if (stray) test::RestampBlock(image, *stray, kFirstTime + 86400);
    const std::string path = dir_.Write("rec.NDF", image);
    ASSERT_TRUE(engine_.OpenRecording(path, false));
    media::BlockSource blocks;
    ASSERT_TRUE(blocks.Open(path, false));
    engine_.SetTimeMap(std::make_shared<media::TimeMap>(media::BuildTimeMap(blocks, false)));
    blocks_ = engine_.Size() / media::kBlockSize;
    ASSERT_GT(blocks_, 20u);
  }
  // The picture shown now is the first that starts in the block of `time` or after it: its time
  // is that of the block where it ends, at most two pictures' worth of blocks on.
  bool ShowsTime(uint32_t time) const {
    media::FrameTime now;
    if (!engine_.CurrentTime(now)) return false;
    const auto field = media::ToTimeField(now, platform::StandardBiasSeconds());
    const uint64_t blocks_per_picture = blocks_ / 30 + 1;
    return field && *field >= time && *field <= time + 2 * blocks_per_picture;
  }

  uint64_t blocks_ = 0;
};

TEST_F(SeekTimeTest, PausedStaysPausedOnThePictureAtTheTime) {
  OpenWithMap();
  engine_.Pause();
  ASSERT_TRUE(WaitFor([&] { return engine_.State() == kPaused; }));
  const uint32_t middle = kFirstTime + static_cast<uint32_t>(blocks_ / 2);
  ASSERT_TRUE(engine_.SeekTime(middle));
  ASSERT_TRUE(WaitFor([&] {
    return engine_.State() == kPaused && ShowsTime(middle) && engine_.Position() >= blocks_ / 2 * media::kBlockSize;
  }));
  // Back to an earlier time, and to a time before the first: the first picture.
  ASSERT_TRUE(engine_.SeekTime(kFirstTime + 3));
  ASSERT_TRUE(WaitFor([&] { return engine_.State() == kPaused && ShowsTime(kFirstTime + 3); }));
  ASSERT_TRUE(engine_.SeekTime(kFirstTime - 1000));
  ASSERT_TRUE(WaitFor([&] { return engine_.State() == kPaused && ShowsTime(kFirstTime); }));
  engine_.CloseRecording();
}

TEST_F(SeekTimeTest, PlayingGoesOnPlayingFromTheTime) {
  OpenWithMap();
  ASSERT_TRUE(WaitFor([&] { return engine_.State() == kForward && Shown() >= 1; }));
  const uint32_t target = kFirstTime + static_cast<uint32_t>(blocks_ * 3 / 4);
  ASSERT_TRUE(engine_.SeekTime(target));
  ASSERT_TRUE(WaitFor([&] { return ShowsTime(target); }));
  EXPECT_EQ(engine_.State(), kForward);  // 2 s a picture: still on it, and still playing

  engine_.PlayBackward(1);
  ASSERT_TRUE(WaitFor([&] { return engine_.State() == kBackward; }));
  ASSERT_TRUE(engine_.SeekTime(kFirstTime + 10));
  ASSERT_TRUE(WaitFor([&] { return ShowsTime(kFirstTime + 10); }));
  EXPECT_EQ(engine_.State(), kBackward);
  engine_.Seek(0);  // a seek by position pauses, as it always has
  ASSERT_TRUE(WaitFor([&] { return engine_.State() == kPaused; }));
  engine_.CloseRecording();
}

TEST_F(SeekTimeTest, PlayingPausesBeforeThePictureAfterTheStopTime) {
  OpenWithMap(1);
  engine_.Pause();
  ASSERT_TRUE(WaitFor([&] { return engine_.State() == kPaused; }));
  ASSERT_TRUE(engine_.SeekTime(kFirstTime + 10));
  ASSERT_TRUE(WaitFor([&] { return ShowsTime(kFirstTime + 10); }));
  const uint32_t stop = kFirstTime + static_cast<uint32_t>(blocks_ / 2);
  engine_.SetStopTime(stop);
  engine_.PlayForward(1);
  const auto last_shown = [&] {
    return media::ToTimeField(engine_.Counters().last_shown, platform::StandardBiasSeconds()).value_or(0);
  };
  // It plays up to the stop time and pauses there: the last picture shown is the last before it.
  ASSERT_TRUE(WaitFor([&] { return engine_.State() == kPaused && last_shown() + 2 * (blocks_ / 30 + 1) > stop; }));
  EXPECT_LE(last_shown(), stop);
  EXPECT_LT(engine_.Position(), engine_.Size());
  // Play goes on with the picture after the last one shown: none is passed over.
  const uint64_t shown = Shown();
  engine_.StepForward();
  ASSERT_TRUE(WaitFor([&] { return Shown() == shown + 1 && engine_.State() == kPaused; }));
  EXPECT_GT(last_shown(), stop);
  EXPECT_LE(last_shown(), stop + 2 * (blocks_ / 30 + 1));

  engine_.SetStopTime(std::nullopt);  // plays on to the end
  engine_.PlayForward(1);
  ASSERT_TRUE(WaitFor([&] {
    const auto end = media::ToTimeField(engine_.Counters().last_shown, platform::StandardBiasSeconds());
    return end && *end > stop + 3;
  }));
  engine_.CloseRecording();
}

// A stray block with a later time before the stop time is passed over, and with repeat on, play
// to a stop time still ends instead of starting again from the top.
TEST_F(SeekTimeTest, AStrayBlockDoesNotEndPlayToAStopTimeNorDoesRepeat) {
  OpenWithMap(1, 40);
  engine_.Pause();
  ASSERT_TRUE(WaitFor([&] { return engine_.State() == kPaused; }));
  engine_.SetRepeat(true);
  ASSERT_TRUE(engine_.SeekTime(kFirstTime + 10));
  ASSERT_TRUE(WaitFor([&] { return ShowsTime(kFirstTime + 10); }));
  const uint32_t stop = kFirstTime + static_cast<uint32_t>(blocks_) - 1;  // the last block's
  engine_.SetStopTime(stop);
  engine_.PlayForward(1);
  ASSERT_TRUE(WaitFor([&] { return !engine_.CommandPending() && engine_.State() == kPaused; }));
  media::FrameTime last = engine_.Counters().last_shown;
  EXPECT_GE(media::ToTimeField(last, platform::StandardBiasSeconds()).value_or(0), stop - 3);
  const uint64_t shown = Shown();
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(Shown(), shown);  // not started again from the top
  EXPECT_EQ(engine_.State(), kPaused);
  engine_.CloseRecording();
}

TEST_F(SeekTimeTest, RefusedWithoutMapOrPastTheLastTime) {
  test::EncodedRecording recording;
  for (int i = 0; i < 8; ++i) recording.Video(0, i);
  ASSERT_TRUE(engine_.OpenRecording(Write(recording, 127), false));
  EXPECT_FALSE(engine_.SeekTime(kFirstTime));  // no map yet
  OpenWithMap();  // a second open: the first map must not carry over to it
  EXPECT_TRUE(engine_.GetTimeMap());
  EXPECT_FALSE(engine_.SeekTime(kFirstTime + static_cast<uint32_t>(blocks_) + 5));
  ASSERT_TRUE(engine_.OpenRecording(Write(recording, 127), false));
  EXPECT_FALSE(engine_.GetTimeMap());
  EXPECT_FALSE(engine_.SeekTime(kFirstTime));
  engine_.CloseRecording();
  EXPECT_FALSE(engine_.SeekTime(kFirstTime));
}

}  // namespace
}  // namespace dvr::engine
