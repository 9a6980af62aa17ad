// The engine's live face end to end: a simulated DVR on 127.0.0.1, the network client, the live
// loop, the display and a local recording read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <thread>

#include "codec/frame_decoder.h"
#include "dvr_simulator.h"
#include "engine/viewer_engine.h"
#include "live_source.h"
#include "media/recording_reader.h"
#include "support/decoded_picture.h"
#include "support/media_probe.h"
#include "support/recorded_notices.h"
#include "support/recording_presenter.h"
#include "support/temp_dir.h"
#include "support/wait_for.h"

namespace dvr::engine {
namespace {

using test::WaitFor;

uint16_t CounterOf(const std::vector<uint8_t>& frame) { return static_cast<uint16_t>(frame[5] << 8 | frame[6]); }

class LiveSessionTest : public ::testing::Test {
 protected:
  LiveSessionTest() : presenter_(platform::SystemClock()), engine_(presenter_, nullptr, notices_, platform::SystemClock()) {
    engine_.Setup(4, audio::kALaw, 4, audio::kSampleRate, 4);
    engine_.SetMode(kNetworkMode, 0xFFFFFFFF);
  }

  // A simulated DVR with the password "secret" streaming synthetic cameras, serving until the
  // test ends.
  sim::DvrSimulator& StartDvr(int cameras, sim::DvrSimOptions options) {
    source_ = std::make_unique<sim::SyntheticLiveSource>(cameras, 30, false, 4);
    return Serve(*source_, options);
  }
  sim::DvrSimulator& Serve(sim::LiveSource& source, sim::DvrSimOptions options) {
    options.password = "secret";
    dvr_ = std::make_unique<sim::DvrSimulator>(options, source);
    std::string error;
    EXPECT_TRUE(dvr_->Start(error)) << error;
    return *dvr_;
  }

  test::TempDir dir_;
  test::RecordedNotices notices_;
  test::RecordingPresenter presenter_;
  ViewerEngine engine_;
  std::unique_ptr<sim::SyntheticLiveSource> source_;
  std::unique_ptr<sim::DvrSimulator> dvr_;  // stops before its source goes
};

size_t AudioFramesIn(const std::string& path, platform::Notices& notices) {
  media::RecordingReader reader(notices);
  reader.SetVariant(4);
  if (!reader.Open(path, false)) return 0;
  std::vector<uint8_t> buffer(media::kFrameCapacity);
  size_t audio = 0;
  while (reader.NextFrame(buffer) != 0) audio += reader.IsAudio();
  return audio;
}

TEST_F(LiveSessionTest, ShowsTheStreamAndRecordsItFrameForFrame) {
  sim::DvrSimOptions options;
  options.fps = 60;
  options.video_limit = 61;  // pictures 0 .. 60; the full ones are 0, 30 and 60
  sim::DvrSimulator& dvr = StartDvr(4, options);

  ASSERT_TRUE(engine_.ConnectDirect("127.0.0.1", dvr.Port(), "secret"));
  ASSERT_TRUE(WaitFor([&] { return engine_.LoggedIn(); }));
  const std::string path = dir_.File("20260101-000000.NDF");
  ASSERT_TRUE(engine_.StartRecording(path));
  EXPECT_TRUE(engine_.IsRecording());
  ASSERT_TRUE(WaitFor([&] { return engine_.Counters().shown[0] >= 60; }, 10000));
  engine_.Disconnect();
  EXPECT_FALSE(engine_.IsRecording());  // the live loop closed it
  EXPECT_FALSE(engine_.StopRecording());
  EXPECT_TRUE(WaitFor([&] { return dvr.Log().back() == "logout"; }));
  EXPECT_GE(presenter_.Pictures().size(), 60u);

  // What the DVR sent, by frame counter.
  sim::SyntheticLiveSource reference(4, 30, false, 4);
  std::map<uint16_t, std::vector<uint8_t>> sent;
  std::vector<std::vector<uint8_t>> sent_audio;
  for (sim::LiveUnit unit; sent.size() < 61 && reference.Next(unit);) {
    if (unit.is_video) sent[CounterOf(unit.bytes)] = unit.bytes;
    else sent_audio.emplace_back(unit.bytes.begin() + 6, unit.bytes.end());  // the samples
  }

  media::RecordingReader reader(notices_);
  reader.SetVariant(4);
  ASSERT_TRUE(reader.Open(path, false));
  std::vector<uint8_t> buffer(media::kFrameCapacity);
  std::vector<uint16_t> counters;
  size_t audio_at = 0, audio_frames = 0;
  for (uint32_t length; (length = reader.NextFrame(buffer)) != 0;) {
    const std::vector<uint8_t> frame(buffer.begin(), buffer.begin() + length);
    if (reader.IsAudio()) {
      // Recorded audio is audio the DVR sent, in order; the first two samples stood for the header.
      while (audio_at < sent_audio.size() &&
             std::vector<uint8_t>(sent_audio[audio_at].begin() + 2, sent_audio[audio_at].end()) != frame) {
        ++audio_at;
      }
      ASSERT_LT(audio_at, sent_audio.size()) << "audio frame " << audio_frames;
      ++audio_frames;
      continue;
    }
    const uint16_t counter = CounterOf(frame);
    ASSERT_TRUE(sent.count(counter)) << counter;
    // Stored under variant 4: a full picture's flag became the F9 start code.
    EXPECT_EQ(frame[3], sent[counter][4] & 0x80 ? 0xF9 : 0xF8);
    EXPECT_EQ(test::DecodedPictureMd5(frame, 4), test::DecodedPictureMd5(sent[counter], codec::kNetworkVariant)) << counter;
    counters.push_back(counter);
  }
  // From the first full picture after the start, every picture up to the one that never ended.
  ASSERT_FALSE(counters.empty());
  EXPECT_TRUE(counters.front() == 0 || counters.front() == 30) << counters.front();
  for (size_t i = 1; i < counters.size(); ++i) EXPECT_EQ(counters[i], counters[i - 1] + 1);
  EXPECT_EQ(counters.back(), 59);
  EXPECT_GT(audio_frames, 0u);
}

TEST_F(LiveSessionTest, ConnectAndDisconnectInAnyOrder) {
  // Disconnect without a session, connect twice, a refused password: nothing hangs.
  engine_.Disconnect();
  sim::DvrSimOptions options;
  sim::DvrSimulator& dvr = StartDvr(1, options);
  ASSERT_TRUE(engine_.ConnectDirect("127.0.0.1", dvr.Port(), "secret"));
  ASSERT_TRUE(engine_.ConnectDirect("127.0.0.1", dvr.Port(), "secret"));
  ASSERT_TRUE(WaitFor([&] { return engine_.LoggedIn(); }));
  EXPECT_TRUE(engine_.SendKey(12));
  ASSERT_TRUE(engine_.ConnectDirect("127.0.0.1", dvr.Port(), "wrong"));
  ASSERT_TRUE(WaitFor([&] { return engine_.NetLastError() == "Incorrect password."; }));
  engine_.Disconnect();
  EXPECT_EQ(engine_.NetStatus(), net::kIdle);
  EXPECT_FALSE(engine_.ConnectDirect("127.0.0.1", dvr.Port(), std::string(40, 'p')));
  EXPECT_FALSE(engine_.HasThread());
  const auto log = dvr.Log();
  EXPECT_GE(std::count(log.begin(), log.end(), "logout"), 1);  // the session that was logged in
  EXPECT_NE(std::find(log.begin(), log.end(), "key 12"), log.end());
}

// Switching to the player ends the session (logout, client, live loop) instead of leaving a
// logged-in client with nobody taking its frames.
TEST_F(LiveSessionTest, SwitchingToThePlayerEndsTheSession) {
  sim::DvrSimulator& dvr = StartDvr(1, {});
  ASSERT_TRUE(engine_.ConnectDirect("127.0.0.1", dvr.Port(), "secret"));
  ASSERT_TRUE(WaitFor([&] { return engine_.LoggedIn() && engine_.Counters().shown[0] > 0; }));
  ASSERT_TRUE(engine_.SetMode(kPlayerMode, 4));
  EXPECT_FALSE(engine_.LoggedIn());
  EXPECT_EQ(engine_.NetStatus(), net::kIdle);
  EXPECT_FALSE(engine_.HasThread());
  EXPECT_TRUE(WaitFor([&] { return dvr.Log().back() == "logout"; }));
}

// A DVR that pauses (a slow network, the moment before the first frame) must not cost the sound
// of the rest of the session: after every gap each audio frame is played and recorded.
TEST_F(LiveSessionTest, SoundComesBackAfterEveryPauseInTheStream) {
  for (uint32_t gap : {150u, 600u, 2000u}) {
    SCOPED_TRACE(gap);
    sim::DvrSimOptions options;
    options.silent_after_ms = 700;
    options.silent_for_ms = gap;
    sim::DvrSimulator& dvr = StartDvr(1, options);
    const std::string path = dir_.File("gap" + std::to_string(gap) + ".NDF");
    const uint64_t refused_before = engine_.Counters().audio_refused;
    const uint64_t audio_before = engine_.Network().Traffic().audio_frames;  // earlier sessions'
    ASSERT_TRUE(engine_.ConnectDirect("127.0.0.1", dvr.Port(), "secret"));
    ASSERT_TRUE(WaitFor([&] { return engine_.LoggedIn(); }));
    ASSERT_TRUE(engine_.StartRecording(path));
    ASSERT_TRUE(WaitFor([&] {
      const auto log = dvr.Log();
      return std::find(log.begin(), log.end(), "silent") != log.end();
    }));
    const uint64_t audio_before_gap = engine_.Network().Traffic().audio_frames - audio_before;
    std::this_thread::sleep_for(std::chrono::milliseconds(gap + 1000));
    const uint64_t received = engine_.Network().Traffic().audio_frames - audio_before;
    engine_.Disconnect();
    ASSERT_GE(received, audio_before_gap + 15);  // about a second of sound after the gap (20 frames)
    EXPECT_EQ(engine_.Counters().audio_refused, refused_before);
    // Everything received was recorded, but for what was still on its way when the session ended.
    EXPECT_GE(AudioFramesIn(path, notices_) + 3, received);
  }
}

// With both cores busy the live loop can fall behind for a second or more: what arrives meanwhile
// waits in the queues and is shown late rather than lost, at a 16-channel DVR's full rate.
TEST_F(LiveSessionTest, AStalledLiveLoopLosesNoPicture) {
  sim::SyntheticLiveSource cameras(16, 30, false, 4, 30);
  sim::LoopedLiveSource source(cameras, 30, true);
  sim::DvrSimOptions options;
  options.fps = 480;
  options.video_limit = 1200;  // 2.5 s
  sim::DvrSimulator& dvr = Serve(source, options);
  ASSERT_TRUE(engine_.ConnectDirect("127.0.0.1", dvr.Port(), "secret"));
  ASSERT_TRUE(WaitFor([&] { return engine_.Counters().shown[0] > 0; }));
  presenter_.StallNextPicture(1000);
  ASSERT_TRUE(WaitFor([&] { return dvr.Counters().video_frames == options.video_limit; }, 20000));
  // The last picture ends only when another begins.
  ASSERT_TRUE(WaitFor([&] { return engine_.Counters().shown[0] + 1 >= options.video_limit; }, 20000))
      << engine_.Counters().shown[0];
  EXPECT_EQ(engine_.Network().VideoQueue().Lost(), 0u);
  EXPECT_EQ(engine_.Network().Traffic().video_lost, 0u);
  engine_.Disconnect();
}

TEST_F(LiveSessionTest, ExportsEveryLivePictureAndTheSound) {
  sim::DvrSimOptions options;
  options.fps = 60;
  options.video_limit = 31;
  sim::DvrSimulator& dvr = StartDvr(4, options);

  const std::string path = dir_.File("live.avi");
  exporting::VideoEncoderChoice choice;
  choice.codec = "ffv1";
  engine_.Avi().SetVideoEncoder(choice);
  const auto header = exporting::ExportFrameHeader(640, 448);
  ASSERT_EQ(engine_.Avi().Open(path, 24, 640, 448, &header, exporting::NetworkExportRate(224, false)), 0);
  engine_.SetExportActive(true, exporting::kEveryPictureExport);
  ASSERT_TRUE(engine_.ConnectDirect("127.0.0.1", dvr.Port(), "secret"));
  ASSERT_TRUE(WaitFor([&] { return engine_.Counters().shown[0] >= 30; }, 10000));
  engine_.Disconnect();
  engine_.SetExportActive(false);
  ASSERT_EQ(engine_.Avi().Close(), 0);

  const test::ProbedFile file = test::ProbeFile(path);
  ASSERT_NE(file.Audio(), nullptr);
  EXPECT_EQ(file.Audio()->codec, "pcm_alaw");
  const int64_t audio_frames = file.Audio()->samples / 400;  // the header bytes are not samples
  EXPECT_GT(audio_frames, 0);  // video goes first in the live loop: a slow machine loses audio
  EXPECT_EQ(file.Audio()->samples % 400, 0);
  ASSERT_NE(file.Video(), nullptr);
  // Every picture, and with every audio frame the current picture again.
  EXPECT_EQ(file.Video()->frames, 30 + audio_frames);
  EXPECT_DOUBLE_EQ(file.Video()->frame_rate, 30);
  // The last frame is a picture at twice its height, its top row black.
  int width = 0, height = 0;
  const auto last = test::FrameBgr(path, file.Video()->frames - 1, width, height);
  ASSERT_EQ(height, 448);
  EXPECT_EQ(std::count(last.begin(), last.begin() + 640 * 3, 0), 640 * 3);
  EXPECT_GT(std::count_if(last.begin() + 640 * 3, last.end(), [](uint8_t b) { return b != 0; }), 500000);
}

TEST_F(LiveSessionTest, TheLowSpeedExportTakesThePictureAtEachTick) {
  sim::DvrSimOptions options;
  sim::DvrSimulator& dvr = StartDvr(1, options);
  const std::string path = dir_.File("slow.avi");
  const auto header = exporting::ExportFrameHeader(640, 448);
  ASSERT_EQ(engine_.Avi().Open(path, 24, 640, 448, &header, exporting::NetworkExportRate(224, true)), 0);
  engine_.SetExportActive(true, exporting::kLowSpeedExport);
  ASSERT_TRUE(engine_.ConnectDirect("127.0.0.1", dvr.Port(), "secret"));
  ASSERT_TRUE(WaitFor([&] { return engine_.Counters().shown[0] >= 5; }));
  // The window's 40 ms timer sets the tick; the live loop takes the current picture then.
  for (int i = 0; i < 10; ++i) {
    engine_.ExportTickEvent().Set();
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
  }
  engine_.Disconnect();
  engine_.SetExportActive(false);
  ASSERT_EQ(engine_.Avi().Close(), 0);
  const test::ProbedFile file = test::ProbeFile(path);
  ASSERT_NE(file.Video(), nullptr);
  ASSERT_NE(file.Audio(), nullptr);
  // Pictures alone write nothing: every frame came with an audio frame.
  EXPECT_EQ(file.Video()->frames, file.Audio()->samples / 400);
  EXPECT_DOUBLE_EQ(file.Video()->frame_rate, 25);
  int width = 0, height = 0;
  const auto last = test::FrameBgr(path, file.Video()->frames - 1, width, height);
  EXPECT_GT(std::count_if(last.begin(), last.end(), [](uint8_t b) { return b > 20; }), 500000);
}

}  // namespace
}  // namespace dvr::engine
