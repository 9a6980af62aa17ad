#include "audio/audio_output.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio/g711.h"
#include "platform/clock.h"
#include "support/recorded_notices.h"

namespace dvr::audio {
namespace {

// A device whose play position the test sets, and which notes what is done to it.
class ScriptedDevice final : public AudioDevice {
 public:
  bool Open(const WaveFormat&) override { return open_ = can_open; }
  bool IsOpen() const override { return open_; }
  bool PrepareLoop(const uint8_t* ring, size_t size) override {
    this->ring = ring;
    ring_size = size;
    return can_prepare;
  }
  bool StartLoop() override {
    calls.push_back("start");
    position = 0;  // a device plays the ring again from its start
    return can_start;
  }
  bool Position(uint64_t& bytes) override {
    bytes = position;
    return can_tell;
  }
  bool Pause() override {
    calls.push_back("pause");
    position += position_moves_on_pause;
    return true;
  }
  bool Restart() override {
    calls.push_back("restart");
    return true;
  }
  bool SetVolume(uint16_t left, uint16_t right) override {
    volume = uint32_t{right} << 16 | left;
    return true;
  }
  void Close() override {
    open_ = false;
    calls.push_back("close");
  }

  bool can_open = true, can_prepare = true, can_start = true, can_tell = true;
  uint64_t position = 0;
  uint64_t position_moves_on_pause = 0;
  const uint8_t* ring = nullptr;
  size_t ring_size = 0;
  uint32_t volume = 0xFFFFFFFF;
  std::vector<std::string> calls;

 private:
  bool open_ = false;
};

WaveFormat Format16() {
  WaveFormat f;
  f.bits_per_sample = 16;
  f.block_align = 2;
  f.average_bytes_per_second = 16000;
  return f;
}

class AudioOutputTest : public ::testing::Test {
 protected:
  AudioOutputTest() : output_(notices_, &device_, clock_) {}
  void OpenAndStart(WaveFormat format = Format16()) {
    ASSERT_EQ(output_.Open(&format), 1);
    ASSERT_EQ(output_.Start(), 1);
  }
  std::vector<uint8_t> Bytes(size_t n, uint8_t value) { return std::vector<uint8_t>(n, value); }
  int Write(size_t n, uint8_t value = 7) {
    const auto bytes = Bytes(n, value);
    return output_.Write(bytes.data(), static_cast<uint32_t>(n));
  }

  test::RecordedNotices notices_;
  ScriptedDevice device_;
  platform::ManualClock clock_;
  AudioOutput output_;
};

TEST_F(AudioOutputTest, StartHandsOverTheSilentRing) {
  OpenAndStart();
  EXPECT_EQ(device_.ring_size, 8192u);
  ASSERT_NE(device_.ring, nullptr);
  EXPECT_EQ(device_.ring[100], 0);
  EXPECT_THAT(device_.calls, ::testing::ElementsAre("start"));
  EXPECT_TRUE(notices_.Texts().empty());
}

TEST_F(AudioOutputTest, RoomLeavesTheSafetyMargin) {
  OpenAndStart();
  ASSERT_EQ(Write(5000), 1);
  EXPECT_EQ(Write(2200), 0);  // 5000 + 2200 + 1024 > 8192: refused whole
  EXPECT_EQ(output_.written(), 5000u);
  EXPECT_EQ(Write(2168), 1);
  device_.position = 4000;  // played on: room again
  EXPECT_EQ(Write(3000), 1);
  EXPECT_EQ(output_.written(), 10168u);
}

TEST_F(AudioOutputTest, WritesWrapAroundTheRing) {
  OpenAndStart();
  ASSERT_EQ(Write(4000, 1), 1);
  device_.position = 4000;
  ASSERT_EQ(Write(4000, 2), 1);
  ASSERT_EQ(output_.write_offset(), 8000);
  device_.position = 7000;
  ASSERT_EQ(Write(500, 3), 1);
  EXPECT_EQ(output_.write_offset(), 308);
  EXPECT_EQ(device_.ring[7999], 2);
  EXPECT_EQ(device_.ring[8000], 3);
  EXPECT_EQ(device_.ring[8191], 3);
  EXPECT_EQ(device_.ring[307], 3);
  EXPECT_EQ(device_.ring[308], 1);  // the old data behind it
}

TEST_F(AudioOutputTest, ALawCodesAreExpandedIntoTheRing) {
  OpenAndStart();
  const uint8_t codes[2] = {0xD5, 0x55};
  ASSERT_EQ(output_.WriteALaw(codes, 2), 1);
  EXPECT_EQ(output_.written(), 4u);
  EXPECT_EQ(std::vector<uint8_t>(device_.ring, device_.ring + 4), (std::vector<uint8_t>{0x08, 0x00, 0xF8, 0xFF}));
  device_.position = 0;
  const std::vector<uint8_t> many(3600, 0xD5);  // 7200 bytes + 4 + 1024 > 8192
  EXPECT_EQ(output_.WriteALaw(many.data(), 3600), 0);
}

TEST_F(AudioOutputTest, UnderrunPausesThenRestartsWithResyncOnce) {
  OpenAndStart();
  device_.position = 640;
  device_.position_moves_on_pause = 2;  // the device plays a little more before it stops
  output_.Service();  // nothing written: pause, and place the writer where the device stopped
  EXPECT_THAT(device_.calls, ::testing::ElementsAre("start", "pause"));
  EXPECT_TRUE(output_.underrun_paused());
  EXPECT_EQ(output_.written(), 642u);
  EXPECT_EQ(output_.write_offset(), 642);
  output_.Service();  // still paused: no second pause
  EXPECT_EQ(device_.calls.size(), 2u);
  ASSERT_EQ(Write(1500), 1);
  output_.Service();
  EXPECT_EQ(device_.calls.back(), "restart");
  EXPECT_FALSE(output_.underrun_paused());

  // Later underruns pause without moving the writer again.
  device_.position = 642 + 1500 - 100;
  output_.Service();
  EXPECT_EQ(device_.calls.back(), "pause");
  EXPECT_EQ(output_.written(), 642u + 1500);
}

TEST_F(AudioOutputTest, AWriterThatFellBehindWritesWhereTheDevicePlaysNext) {
  OpenAndStart();
  ASSERT_EQ(Write(2000), 1);
  device_.position = 9000;  // far past what was written
  output_.Service();
  EXPECT_EQ(output_.written(), 9000u);
  EXPECT_EQ(output_.write_offset(), 9000 % 8192);
}

// The device starts at position 0 again on every run (a second recording, a reconnection): the
// count must too, or the ring looks full for as long as the first run played.
TEST_F(AudioOutputTest, ASecondStartCountsFromZeroWithTheDevice) {
  OpenAndStart();
  ASSERT_EQ(Write(5000), 1);
  device_.position = 400000;  // 25 s later
  output_.Service();
  ASSERT_EQ(output_.written(), 400000u);
  ASSERT_EQ(output_.Start(), 1);
  EXPECT_EQ(output_.written(), 0u);
  EXPECT_EQ(output_.write_offset(), 0);
  EXPECT_FALSE(output_.underrun_paused());
  EXPECT_EQ(Write(5000), 1);
  EXPECT_EQ(device_.ring[0], 7);
}

// Whatever the device's position, one write never holds more than the ring less its margin: a
// larger one would overwrite itself and run past the ring.
TEST_F(AudioOutputTest, NoWriteExceedsTheRingEvenWithTheDeviceAhead) {
  OpenAndStart();
  ASSERT_EQ(Write(100), 1);
  device_.position = 50000;  // the device has passed the writer
  EXPECT_EQ(Write(9000), 0);
  EXPECT_EQ(Write(7169), 0);
  EXPECT_EQ(output_.written(), 100u);
  EXPECT_EQ(Write(7168), 1);
}

// After an odd-length write the next A-law sample straddles the ring's end: its high byte goes to
// the start of the ring, never past it.
TEST_F(AudioOutputTest, AnALawSampleAtTheRingsLastByteWrapsAround) {
  WaveFormat format = Format16();
  format.block_align = 1;  // positions as they are
  OpenAndStart(format);
  ASSERT_EQ(Write(7000, 1), 1);
  device_.position = 7000;
  ASSERT_EQ(Write(1191, 2), 1);
  ASSERT_EQ(output_.write_offset(), 8191);
  const uint8_t code = 0x55;  // expands to 0xFFF8
  ASSERT_EQ(output_.WriteALaw(&code, 1), 1);
  EXPECT_EQ(device_.ring[8191], 0xF8);
  EXPECT_EQ(device_.ring[0], 0xFF);
  EXPECT_EQ(output_.write_offset(), 1);
}

TEST_F(AudioOutputTest, SilenceHoldsTheDeviceUntilTheNextStart) {
  OpenAndStart();
  ASSERT_EQ(Write(4000), 1);
  output_.Silence();
  output_.Silence();  // once is enough
  EXPECT_THAT(device_.calls, ::testing::ElementsAre("start", "pause"));
  ASSERT_EQ(output_.Start(), 1);
  EXPECT_EQ(device_.calls.back(), "start");
  ASSERT_EQ(Write(4000), 1);
  output_.Service();
  EXPECT_FALSE(output_.underrun_paused());
}

TEST_F(AudioOutputTest, SixteenBitPositionsAreEven) {
  OpenAndStart();
  ASSERT_EQ(Write(1000), 1);
  device_.position = 1001;  // counts as 1000: nothing queued
  output_.Service();
  EXPECT_TRUE(output_.underrun_paused());
  ASSERT_EQ(Write(7168), 1);  // 1000 + 7168 - 1000 + 1024 = 8192: just fits
}

TEST_F(AudioOutputTest, VolumeAndMute) {
  OpenAndStart();
  output_.SetVolume(0x12345);
  EXPECT_EQ(output_.Volume(), 0x2345u);
  EXPECT_EQ(device_.volume, 0x23452345u);
  output_.SetMute(1);
  EXPECT_EQ(device_.volume, 0u);
  EXPECT_EQ(output_.Muted(), 1);
  output_.SetVolume(0x1000);  // stored, not heard
  EXPECT_EQ(device_.volume, 0u);
  output_.SetMute(0);
  EXPECT_EQ(device_.volume, 0x10001000u);
}

TEST_F(AudioOutputTest, FailuresShowTheSystemsTexts) {
  device_.can_prepare = false;
  WaveFormat format = Format16();
  ASSERT_EQ(output_.Open(&format), 1);
  EXPECT_EQ(output_.Start(), 0);
  device_.can_prepare = true;
  device_.can_start = false;
  EXPECT_EQ(output_.Start(), 0);
  EXPECT_THAT(notices_.Texts(), ::testing::ElementsAre("Preapre Header Error !", "Sound out fail !"));
  device_.can_start = true;
  device_.can_tell = false;
  EXPECT_EQ(Write(10), 0);  // no position: nothing written
  output_.Service();
  EXPECT_EQ(output_.written(), 0u);
}

TEST_F(AudioOutputTest, WithoutASoundDeviceTheNullDeviceKeepsTime) {
  device_.can_open = false;
  WaveFormat format = Format16();
  EXPECT_EQ(output_.Open(&format), 0);
  EXPECT_THAT(notices_.Texts(), ::testing::ElementsAre("Sound device open error !"));
  ASSERT_NE(output_.ActiveDevice(), &device_);
  ASSERT_EQ(output_.Start(), 1);
  ASSERT_EQ(Write(7000), 1);
  EXPECT_EQ(Write(500), 0);  // full
  clock_.Advance(250);  // 4000 bytes played at 16000 bytes a second
  EXPECT_EQ(Write(3000), 1);
  output_.Service();
  EXPECT_FALSE(output_.underrun_paused());
  clock_.Advance(1000);  // the device ran dry
  output_.Service();
  EXPECT_TRUE(output_.underrun_paused());
}

// The null device on the real clock: its position only moves forward while it plays.
TEST(NullAudioDevice, AdvancesWhilePlayingAndStopsWhilePaused) {
  NullAudioDevice device(platform::SystemClock());
  WaveFormat format = Format16();
  ASSERT_TRUE(device.Open(format));
  ASSERT_TRUE(device.StartLoop());
  uint64_t first = 0, second = 0, third = 0, fourth = 0;
  device.Position(first);
  platform::SystemClock().Sleep(30);
  device.Position(second);
  EXPECT_GT(second, first);
  ASSERT_TRUE(device.Pause());
  device.Position(third);
  platform::SystemClock().Sleep(30);
  device.Position(fourth);
  EXPECT_EQ(third, fourth);
  ASSERT_TRUE(device.Restart());
  platform::SystemClock().Sleep(30);
  device.Position(fourth);
  EXPECT_GT(fourth, third);
}

}  // namespace
}  // namespace dvr::audio
