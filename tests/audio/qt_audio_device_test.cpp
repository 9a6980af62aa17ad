// The Qt sound output on a real sound server (a PulseAudio null sink started by
// run_with_pulseaudio.sh). Skipped, never failed, where no server runs.
#include "audio/qt/qt_audio_device.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "audio/audio_output.h"
#include "platform/clock.h"
#include "support/recorded_notices.h"

namespace dvr::audio {
namespace {

// A null sink takes data in bursts, a second apart, after a slow start: wait generously.
constexpr int kPolls = 500;  // of 20 ms

bool WaitForPositionAbove(AudioDevice& device, uint64_t floor) {
  uint64_t now = 0;
  for (int i = 0; i < kPolls; ++i) {
    device.Position(now);
    if (now > floor) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

TEST(QtAudioDevice, PositionAdvancesWhilePlayingAndStopsWhilePaused) {
  QtAudioDevice device;
  WaveFormat format;
  format.bits_per_sample = 16;
  format.block_align = 2;
  format.average_bytes_per_second = 16000;
  if (!device.Open(format)) GTEST_SKIP() << "no sound server to play on";
  std::vector<uint8_t> ring(8192, 0);
  ASSERT_TRUE(device.PrepareLoop(ring.data(), ring.size()));
  ASSERT_TRUE(device.StartLoop());
  EXPECT_TRUE(WaitForPositionAbove(device, 0)) << "the sink never read the ring";
  ASSERT_TRUE(device.Pause());
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  uint64_t paused = 0, later = 0;
  device.Position(paused);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  device.Position(later);
  EXPECT_EQ(paused, later);
  ASSERT_TRUE(device.Restart());
  EXPECT_TRUE(WaitForPositionAbove(device, paused)) << "reading did not resume";
  EXPECT_TRUE(device.SetVolume(0x8000, 0x8000));
  device.Close();
  EXPECT_FALSE(device.IsOpen());
}

TEST(QtAudioDevice, FeedsTheOutputQueue) {
  QtAudioDevice device;
  test::RecordedNotices notices;
  AudioOutput output(notices, &device, platform::SystemClock());
  WaveFormat format;
  format.bits_per_sample = 16;
  format.block_align = 2;
  format.average_bytes_per_second = 16000;
  if (output.Open(&format) != 1) GTEST_SKIP() << "no sound server to play on";
  ASSERT_EQ(output.Start(), 1);
  std::vector<uint8_t> tone(1600);
  int accepted = 0;
  // Four writes fill the ring (7168 bytes may wait ahead); more go in only as the sound plays.
  for (int i = 0; i < kPolls && accepted < 12; ++i) {
    output.Service();
    accepted += output.Write(tone.data(), static_cast<uint32_t>(tone.size()));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_EQ(accepted, 12);
  EXPECT_TRUE(notices.Texts().empty());
}

}  // namespace
}  // namespace dvr::audio

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
