// The export writer, read back with FFmpeg as a player would read it.
#include "export/avi_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <thread>

#include "audio/audio_format.h"
#include "support/media_probe.h"
#include "support/recorded_notices.h"
#include "support/temp_dir.h"

namespace dvr::exporting {
namespace {

constexpr int kWidth = 640, kHeight = 448;

// A 24-bit bottom-up frame: four coloured quarters with a gradient, so that flips, swapped
// colours and shifted rows all show.
std::vector<uint8_t> TestFrame() {
  std::vector<uint8_t> frame(kWidth * kHeight * 3);
  for (int y = 0; y < kHeight; ++y) {
    const int image_row = kHeight - 1 - y;  // bottom-up
    for (int x = 0; x < kWidth; ++x) {
      uint8_t* p = &frame[static_cast<size_t>((y * kWidth + x) * 3)];
      const bool top = image_row < kHeight / 2, left = x < kWidth / 2;
      p[0] = static_cast<uint8_t>(top && left ? 200 : 40 + x / 8);   // blue
      p[1] = static_cast<uint8_t>(!top && left ? 180 : 30 + image_row / 8);  // green
      p[2] = static_cast<uint8_t>(top && !left ? 220 : 60);          // red
    }
  }
  return frame;
}

std::vector<uint8_t> TopDown(const std::vector<uint8_t>& bottom_up) {
  std::vector<uint8_t> out(bottom_up.size());
  const size_t row = kWidth * 3;
  for (int y = 0; y < kHeight; ++y) std::copy_n(bottom_up.begin() + (kHeight - 1 - y) * row, row, out.begin() + y * row);
  return out;
}

class AviWriterTest : public ::testing::Test {
 protected:
  int Open(const std::string& name, const std::string& codec, int format = audio::kALaw,
           FrameRate fps = 15) {
    VideoEncoderChoice choice;
    choice.codec = codec;
    writer_.SetVideoEncoder(choice);
    writer_.SetAudioSource(format, 8000);
    path_ = dir_.File(name);
    return writer_.Open(path_, 24, kWidth, kHeight, nullptr, fps);
  }
  void WriteSome(int frames, size_t audio_bytes) {
    const std::vector<uint8_t> samples(audio_bytes, 0xD5);
    for (int i = 0; i < frames; ++i) {
      ASSERT_EQ(writer_.WriteVideo(frame_.data(), true), kAviOk);
      ASSERT_EQ(writer_.WriteAudio(samples.data(), samples.size()), kAviOk);
    }
  }

  test::TempDir dir_;
  test::RecordedNotices notices_;
  AviWriter writer_{notices_};
  std::string path_;
  const std::vector<uint8_t> frame_ = TestFrame();
};

TEST_F(AviWriterTest, ResultCodesAndStates) {
  EXPECT_EQ(writer_.WriteVideo(frame_.data(), true), kAviNotOpen);
  EXPECT_EQ(writer_.WriteAudio(frame_.data(), 10), kAviWriteRefused);
  EXPECT_EQ(writer_.Close(), kAviOk);
  EXPECT_EQ(writer_.Open("", 24, kWidth, kHeight, nullptr, 15), kAviEmptyPath);
  EXPECT_EQ(writer_.Open(dir_.File("a.avi"), 24, 0, kHeight, nullptr, 15), kAviBadSize);
  EXPECT_EQ(writer_.Open(dir_.File("a.avi"), 0, kWidth, kHeight, nullptr, 15), kAviBadSize);
  EXPECT_EQ(writer_.State(), kAviClosed);
  EXPECT_EQ(writer_.Open(dir_.File("no/such/folder/a.avi"), 24, kWidth, kHeight, nullptr, 15), kAviCannotCreate);

  VideoEncoderChoice cancelled;
  cancelled.cancelled = true;
  writer_.SetVideoEncoder(cancelled);
  EXPECT_EQ(writer_.Open(dir_.File("c.avi"), 24, kWidth, kHeight, nullptr, 15), kAviCancelled);
  EXPECT_FALSE(std::ifstream(dir_.File("c.avi")).good());

  EXPECT_EQ(Open("bad.avi", "no-such-encoder"), kAviFormatRefused);
  EXPECT_EQ(notices_.Texts(), std::vector<std::string>{"Invalid codec!"});
  EXPECT_FALSE(std::ifstream(path_).good());
  EXPECT_EQ(writer_.State(), kAviClosed);

  // Opened, nothing written: closing leaves no file.
  ASSERT_EQ(Open("empty.avi", "mjpeg"), kAviOk);
  EXPECT_EQ(writer_.State(), kAviIdle);
  EXPECT_EQ(writer_.WriteVideo(nullptr, true), kAviNoFrame);
  EXPECT_EQ(writer_.Close(), kAviOk);
  EXPECT_FALSE(std::ifstream(path_).good());
  EXPECT_EQ(writer_.Close(), kAviOk);

  // Opening again while open closes the first file first.
  ASSERT_EQ(Open("first.avi", "mjpeg"), kAviOk);
  WriteSome(2, 100);
  const std::string first = path_;
  ASSERT_EQ(Open("second.avi", "mjpeg"), kAviOk);
  EXPECT_EQ(test::ProbeFile(first).Video()->frames, 2);
  writer_.Close();
}

TEST_F(AviWriterTest, AnOpenThatGivesUpBeforeCreatingLeavesAnExistingFile) {
  const std::string path = dir_.Write("kept.avi", {1, 2, 3});
  VideoEncoderChoice cancelled;
  cancelled.cancelled = true;
  writer_.SetVideoEncoder(cancelled);
  EXPECT_EQ(writer_.Open(path, 24, kWidth, kHeight, nullptr, 15), kAviCancelled);
  EXPECT_EQ(test::ReadFileBytes(path), (std::vector<uint8_t>{1, 2, 3}));
}

TEST_F(AviWriterTest, EveryEncoderReadsBack) {
  const auto encoders = AvailableVideoEncoders();
  for (const char* required : {"mjpeg", "mpeg4", "ffv1", "huffyuv", "rawvideo"}) {
    EXPECT_NE(std::find(encoders.begin(), encoders.end(), required), encoders.end()) << required;
  }
  for (const std::string& codec : encoders) {
    SCOPED_TRACE(codec);
    ASSERT_EQ(Open(codec + ".avi", codec), kAviOk);
    WriteSome(10, 400);
    EXPECT_EQ(writer_.FramesWritten(), 10u);
    EXPECT_EQ(writer_.AudioPosition(), 4000u);
    ASSERT_EQ(writer_.Close(), kAviOk);

    const test::ProbedFile file = test::ProbeFile(path_);
    ASSERT_TRUE(file.ok);
    EXPECT_EQ(file.container, "avi");
    const test::ProbedStream* video = file.Video();
    ASSERT_NE(video, nullptr);
    EXPECT_EQ(video->codec, codec == "libx264" ? "h264" : codec);
    EXPECT_EQ(video->width, kWidth);
    EXPECT_EQ(video->height, kHeight);
    EXPECT_EQ(video->frames, 10);
    EXPECT_DOUBLE_EQ(video->frame_rate, 15);
    const test::ProbedStream* sound = file.Audio();
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(sound->codec, "pcm_alaw");
    EXPECT_EQ(sound->sample_rate, 8000);
    EXPECT_EQ(sound->samples, 4000);

    int width = 0, height = 0;
    const auto first = test::FirstFrameBgr(path_, width, height);
    ASSERT_EQ(width, kWidth);
    ASSERT_EQ(height, kHeight);
    const bool lossless = codec == "ffv1" || codec == "huffyuv" || codec == "rawvideo";
    if (lossless) {
      EXPECT_EQ(first, TopDown(frame_));
    } else {
      EXPECT_GT(test::Psnr(first, TopDown(frame_)), 30.0);
    }
  }
}

TEST_F(AviWriterTest, AFractionalRateIsWrittenExactlyAndKeepsTimeWithTheSound) {
  // Rates the player's export rule gives: 7.5, 60 / 7 and the slowest, 25 / 2048.
  const struct {
    FrameRate rate;
    const char* codec;
    int frames;
    const char* shown;
  } cases[] = {{{15, 2}, "mjpeg", 30, "15/2"},
               {{60, 7}, "mpeg4", 60, "60/7"},
               {{25, 2048}, "mjpeg", 2, "25/2048"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shown);
    ASSERT_EQ(Open("rate.avi", c.codec, audio::kALaw, c.rate), kAviOk);
    // The sound of exactly as long as the pictures.
    const auto samples = static_cast<size_t>(int64_t{c.frames} * 8000 * c.rate.den / c.rate.num);
    for (int i = 0; i < c.frames; ++i) ASSERT_EQ(writer_.WriteVideo(frame_.data(), true), kAviOk);
    const std::vector<uint8_t> sound(samples, 0xD5);
    ASSERT_EQ(writer_.WriteAudio(sound.data(), sound.size()), kAviOk);
    ASSERT_EQ(writer_.Close(), kAviOk);

    auto video = test::FfprobeStream(path_, "v:0");
    EXPECT_EQ(video["r_frame_rate"], c.shown);
    ASSERT_FALSE(video["duration"].empty());
    EXPECT_NEAR(std::stod(video["duration"]), samples / 8000.0, 1 / c.rate.PerSecond());
  }
}

TEST_F(AviWriterTest, AudioStreamByFormatCode) {
  const std::pair<int, std::string> cases[] = {{audio::kUnsigned8, "pcm_u8"}, {audio::kSigned8, "pcm_u8"},
                                               {audio::kUnsigned16, "pcm_s16le"}, {audio::kSigned16, "pcm_s16le"},
                                               {audio::kALaw, "pcm_alaw"}, {audio::kMuLaw, "pcm_mulaw"}};
  for (const auto& [format, codec] : cases) {
    SCOPED_TRACE(format);
    ASSERT_EQ(Open("audio.avi", "mjpeg", format), kAviOk);
    WriteSome(3, 800);
    writer_.Close();
    const test::ProbedFile file = test::ProbeFile(path_);
    ASSERT_NE(file.Audio(), nullptr);
    EXPECT_EQ(file.Audio()->codec, codec);
    const int64_t block_align = codec == "pcm_s16le" ? 2 : 1;
    EXPECT_EQ(file.Audio()->samples, 3 * 800 / block_align);
  }
}

TEST_F(AviWriterTest, OtherContainersByExtension) {
  for (const std::string name : {"clip.mp4", "clip.mkv"}) {
    SCOPED_TRACE(name);
    ASSERT_EQ(Open(name, DefaultVideoEncoderFor(name)), kAviOk);
    WriteSome(15, 400);
    writer_.Close();
    const test::ProbedFile file = test::ProbeFile(path_);
    ASSERT_TRUE(file.ok);
    EXPECT_EQ(file.container.find(name == "clip.mp4" ? "mp4" : "matroska") != std::string::npos, true) << file.container;
    ASSERT_NE(file.Video(), nullptr);
    EXPECT_EQ(file.Video()->frames, 15);
    ASSERT_NE(file.Audio(), nullptr);
    EXPECT_GE(file.Audio()->samples, 6000 - 1024);  // AAC where the container takes no G.711
  }
  EXPECT_EQ(DefaultVideoEncoderFor("x.avi"), "mjpeg");
}

TEST_F(AviWriterTest, WithoutAudioThereIsOneStream) {
  writer_.SetWithAudio(false);
  ASSERT_EQ(Open("mute.avi", "mjpeg"), kAviOk);
  WriteSome(2, 100);
  writer_.Close();
  const test::ProbedFile file = test::ProbeFile(path_);
  EXPECT_EQ(file.streams.size(), 1u);
}

TEST_F(AviWriterTest, CloseMeetsWritesInProgress) {
  ASSERT_EQ(Open("busy.avi", "mjpeg"), kAviOk);
  std::atomic<int> written{0};
  std::atomic<bool> refused{false};
  std::thread worker([&] {
    for (;;) {
      const int result = writer_.WriteVideo(frame_.data(), true);
      if (result == kAviOk) {
        ++written;
        continue;
      }
      refused = result == kAviNotOpen || result == kAviClosing;
      if (result != kAviWriting) break;
    }
  });
  while (written < 5) std::this_thread::yield();
  EXPECT_EQ(writer_.Close(), kAviOk);
  worker.join();
  EXPECT_TRUE(refused);
  EXPECT_EQ(test::ProbeFile(path_).Video()->frames, written.load());
}

}  // namespace
}  // namespace dvr::exporting
