#include "media/recording_writer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "media/ndf_format.h"
#include "media/recording_reader.h"
#include "support/recorded_notices.h"
#include "support/temp_dir.h"

namespace dvr::media {
namespace {

constexpr std::time_t kNow = 1767225600;  // 2026-01-01 00:00:00 UTC

// A network video frame: start code, flag byte, big-endian counter, then `body` filler bytes
// that never form a start code.
std::vector<uint8_t> NetworkFrame(uint8_t flags, uint16_t counter, size_t body) {
  std::vector<uint8_t> frame = {0x00, 0x00, 0x01, 0xF8, flags, static_cast<uint8_t>(counter >> 8),
                                static_cast<uint8_t>(counter)};
  for (size_t i = 0; i < body; ++i) frame.push_back(static_cast<uint8_t>(0x20 + i % 200));
  return frame;
}

class WriterTest : public ::testing::Test {
 protected:
  void Init(int variant, int split = 4) {
    writer_.Init(variant, split);
    writer_.SetTimeSource([] { return kNow; });
    ASSERT_TRUE(writer_.Open(path_));
  }
  bool Video(std::vector<uint8_t> frame) { return writer_.WriteVideo(frame.data(), frame.size()); }
  std::vector<uint8_t> CloseAndRead() {
    writer_.Close();
    return test::ReadFileBytes(path_);
  }

  test::TempDir dir_;
  std::string path_ = dir_.File("live.NDF");
  RecordingWriter writer_;
};

TEST_F(WriterTest, NothingIsKeptBeforeTheFirstFlaggedFrame) {
  Init(4);
  EXPECT_FALSE(Video(NetworkFrame(0x20, 1, 100)));
  const std::vector<uint8_t> samples(80, 0x55);
  EXPECT_FALSE(writer_.WriteAudio(samples.data(), samples.size()));
  EXPECT_TRUE(CloseAndRead().empty());
  // Closed: everything is dropped.
  EXPECT_FALSE(Video(NetworkFrame(0xA0, 2, 100)));
}

TEST_F(WriterTest, PacingFollowsTheFrameCounter) {
  Init(4);
  const auto pacing_after = [&](uint16_t a, uint16_t b) {
    Video(NetworkFrame(0xA0, a, 10));
    Video(NetworkFrame(0xA0, b, 10));
    return writer_.Pacing();
  };
  EXPECT_EQ(pacing_after(100, 101), 1);
  EXPECT_EQ(pacing_after(100, 103), 3);
  EXPECT_EQ(pacing_after(65535, 1), 2);
  EXPECT_EQ(pacing_after(7, 7), 1);
  EXPECT_EQ(pacing_after(0, 300), 300 & 0xFF);  // the header keeps the low seven bits
  const auto file = CloseAndRead();
  EXPECT_EQ(file[6], 100);  // the first block was begun at counter 100, after 0
}

TEST_F(WriterTest, BlocksOfTheBlockLayout) {
  Init(4);
  ASSERT_TRUE(Video(NetworkFrame(0x80, 1, 10000 - 7)));
  EXPECT_EQ(writer_.Total(), 10024u);
  const auto file = CloseAndRead();
  ASSERT_EQ(file.size(), 12288u);
  for (size_t block = 0; block < 3; ++block) {
    const uint8_t* header = file.data() + block * kBlockSize;
    EXPECT_TRUE(BlockCheckMatches(header));
    const BlockHeader h = ParseBlockHeader(header, false);
    EXPECT_EQ(h.time, static_cast<uint32_t>(kNow));
    EXPECT_EQ(h.format_word, 1);
    EXPECT_EQ(h.pacing, 1);
  }
  // 8 + 1824 bytes of frame in the last block, the start code that ends it, then zero bytes.
  EXPECT_NE(file[2 * kBlockSize + 8 + 1823], 0);
  const size_t end = 2 * kBlockSize + 8 + 1824;
  EXPECT_EQ(std::vector<uint8_t>(file.begin() + end, file.begin() + end + 4), (std::vector<uint8_t>{0, 0, 1, 0xF8}));
  for (size_t i = end + 4; i < file.size(); ++i) ASSERT_EQ(file[i], 0) << i;
  EXPECT_EQ(std::vector<uint8_t>(file.begin() + 8, file.begin() + 13), (std::vector<uint8_t>{0, 0, 1, 0xF9, 0x00}));
}

TEST_F(WriterTest, TheNetworkFlagBecomesAStartCode) {
  for (int variant : {1, 3, 4, 5, 6}) {
    Init(variant);
    Video(NetworkFrame(0x83, 5, 20));
    const auto file = CloseAndRead();
    ASSERT_GE(file.size(), 16u);
    EXPECT_EQ(file[11], 0xF9) << variant;
    EXPECT_EQ(file[12], 0x06) << variant;
  }
  for (int variant : {0, 2}) {  // left as they are
    Init(variant);
    std::vector<uint8_t> frame = NetworkFrame(0x83, 5, 20);
    writer_.WriteVideo(frame.data(), frame.size());
    EXPECT_EQ(frame[3], 0xF8);
    EXPECT_EQ(frame[4], 0x83);
    writer_.Close();
  }
  // Sixteen channels: the channel fields are masked.
  Init(2, 16);
  std::vector<uint8_t> frame = NetworkFrame(0x8F, 0xFFFF, 20);
  writer_.WriteVideo(frame.data(), frame.size());
  EXPECT_EQ(frame[4], 0x80);
  EXPECT_EQ(frame[5], 0x07);
  writer_.Close();
}

TEST_F(WriterTest, HeaderTimeByVariant) {
  Init(6);
  Video(NetworkFrame(0x80, 1, 10));
  auto file = CloseAndRead();
  EXPECT_EQ(ParseBlockHeader(file.data(), true).time, static_cast<uint32_t>(kNow));
  EXPECT_EQ(file[4], 0x00);
  EXPECT_EQ(file[5], 0x01);  // the format word 1, big-endian
  for (int variant : {1, 2, 3}) {
    Init(variant);
    Video(NetworkFrame(0x80, 1, 10));
    file = CloseAndRead();
    const BlockHeader h = ParseBlockHeader(file.data(), false);
    EXPECT_EQ(h.time, 0u) << variant;
    EXPECT_EQ(h.format_word, 0) << variant;
    EXPECT_TRUE(BlockCheckMatches(file.data()));
  }
}

TEST_F(WriterTest, WhatItWritesPlaysBack) {
  Init(4);
  std::vector<std::vector<uint8_t>> written;
  const std::vector<uint8_t> samples = {0x11, 0x22, 0x33, 0x44, 0x55};
  // The second frame starts 2 bytes before a block's end: its start code straddles the header.
  ASSERT_TRUE(Video(NetworkFrame(0x80, 1, 4094 - 8 - 7)));
  ASSERT_EQ(writer_.Total() % kBlockSize, 4094u);
  for (uint16_t k = 2; k < 6; ++k) {
    std::vector<uint8_t> frame = NetworkFrame(k % 2 ? 0x80 : 0x00, k, 300u * k);
    ASSERT_TRUE(writer_.WriteVideo(frame.data(), frame.size()));
    written.push_back(frame);  // as modified in place
    ASSERT_TRUE(writer_.WriteAudio(samples.data(), samples.size()));
  }
  std::vector<uint8_t> last = NetworkFrame(0x80, 9, 50);
  writer_.WriteVideo(last.data(), last.size());
  writer_.Close();

  test::RecordedNotices notices;
  RecordingReader reader(notices);
  reader.SetVariant(4);
  ASSERT_TRUE(reader.Open(path_, false));
  std::vector<uint8_t> buffer(kFrameCapacity);
  ASSERT_GT(reader.NextFrame(buffer), 0u);  // the first frame
  for (const auto& frame : written) {
    const uint32_t length = reader.NextFrame(buffer);
    ASSERT_FALSE(reader.IsAudio());
    EXPECT_EQ(std::vector<uint8_t>(buffer.begin(), buffer.begin() + length), frame);
    const uint32_t audio = reader.NextFrame(buffer);
    ASSERT_TRUE(reader.IsAudio());
    // The first two samples stand where a DVR puts the header bytes the reader drops.
    EXPECT_EQ(std::vector<uint8_t>(buffer.begin(), buffer.begin() + audio), std::vector<uint8_t>(samples.begin() + 2, samples.end()));
  }
  // The last frame too: nothing came after it, so the recording closes it with a start code.
  const uint32_t length = reader.NextFrame(buffer);
  EXPECT_EQ(std::vector<uint8_t>(buffer.begin(), buffer.begin() + length), last);
  EXPECT_EQ(reader.NextFrame(buffer), 0u);
}

TEST_F(WriterTest, LegacyLayoutKeepsVideoAndAudioInRecordsOfTheirOwn) {
  Init(0);
  ASSERT_TRUE(Video(NetworkFrame(0x80, 1, 5000)));
  const std::vector<uint8_t> samples(3000, 0x5A);
  ASSERT_TRUE(writer_.WriteAudio(samples.data(), samples.size()));
  ASSERT_TRUE(writer_.WriteAudio(samples.data(), samples.size()));
  EXPECT_FALSE(Video(NetworkFrame(0x80, 2, 200000)));  // would overflow the staging: lost
  const auto file = CloseAndRead();
  // One video record (5007 bytes staged) and one audio record (6000); the rest never fills one.
  ASSERT_EQ(file.size(), 2 * kBlockSize);
  // 2026-01-01 00:00:00 in local time (the tests run in UTC): years since 2000, month, day,
  // hour, minute, second, pacing, 1.
  EXPECT_EQ(std::vector<uint8_t>(file.begin(), file.begin() + 8), (std::vector<uint8_t>{26, 1, 1, 0, 0, 0, 1, 1}));
  EXPECT_EQ(file[kBlockSize + 1], 0x81);  // audio: the month with bit 7
  EXPECT_EQ(std::vector<uint8_t>(file.begin() + 8, file.begin() + 12), (std::vector<uint8_t>{0, 0, 1, 0xF8}));
  EXPECT_EQ(file[kBlockSize + 8], 0x5A);
}

// The video frames of a recording as the reader delivers them.
std::vector<std::vector<uint8_t>> VideoFrames(const std::string& path) {
  test::RecordedNotices notices;
  RecordingReader reader(notices);
  reader.SetVariant(4);
  std::vector<std::vector<uint8_t>> frames;
  if (!reader.Open(path, false)) return frames;
  std::vector<uint8_t> buffer(kFrameCapacity);
  for (uint32_t length; (length = reader.NextFrame(buffer)) > 0;) {
    if (!reader.IsAudio()) frames.emplace_back(buffer.begin(), buffer.begin() + length);
  }
  return frames;
}

// A recording that goes on in a new file moves there at the next full picture: each frame in
// exactly one file, each file closed as a recording ends; a name already taken is never
// overwritten, and the legacy layout is not cut at all.
TEST_F(WriterTest, ContinuesInANewFileAtTheNextFullPicture) {
  Init(4);
  std::vector<std::vector<uint8_t>> written;
  const auto video = [&](uint8_t flags, uint16_t counter) {
    std::vector<uint8_t> frame = NetworkFrame(flags, counter, 500);
    ASSERT_TRUE(writer_.WriteVideo(frame.data(), frame.size()));
    written.push_back(frame);  // as modified in place
  };
  video(0x80, 1);
  video(0x00, 2);
  const std::string second = dir_.File("second.NDF"), taken = dir_.File("taken.NDF");
  ASSERT_TRUE(writer_.ContinueIn(second));
  video(0x00, 3);  // not a full picture: still the first file
  EXPECT_EQ(writer_.Path(), path_);
  video(0x80, 4);
  EXPECT_EQ(writer_.Path(), second);
  video(0x00, 5);
  const std::vector<uint8_t> before = {9, 9, 9};
  dir_.Write("taken.NDF", before);
  ASSERT_TRUE(writer_.ContinueIn(taken));
  video(0x80, 6);
  EXPECT_EQ(writer_.Path(), second);
  writer_.Close();

  EXPECT_EQ(VideoFrames(path_), std::vector<std::vector<uint8_t>>(written.begin(), written.begin() + 3));
  EXPECT_EQ(VideoFrames(second), std::vector<std::vector<uint8_t>>(written.begin() + 3, written.end()));
  EXPECT_EQ(test::ReadFileBytes(taken), before);
  EXPECT_FALSE(writer_.ContinueIn(dir_.File("closed.NDF")));

  RecordingWriter legacy;
  legacy.Init(0, 4);
  ASSERT_TRUE(legacy.Open(dir_.File("legacy.NDF")));
  EXPECT_FALSE(legacy.ContinueIn(dir_.File("legacy2.NDF")));
}

TEST(RecordingFileNameTest, LocalDateAndTime) {
  EXPECT_EQ(RecordingFileName(kNow + 3661), "20260101-010101.NDF");  // the tests run in UTC
}

TEST_F(WriterTest, OpenRefusesASecondFileAndAnUncreatableOne) {
  Init(4);
  EXPECT_FALSE(writer_.Open(dir_.File("other.NDF")));
  writer_.Close();
  EXPECT_FALSE(writer_.Open(dir_.File("no/such/folder/x.NDF")));
  EXPECT_FALSE(writer_.IsOpen());
}

TEST_F(WriterTest, OpenAndCloseNeverMeetAWriteHalfway) {
  writer_.Init(4, 4);
  std::atomic<bool> done{false};
  std::thread live([&] {
    for (uint16_t k = 0; !done; ++k) {
      std::vector<uint8_t> frame = NetworkFrame(0x80, k, 5000 + k % 3000);
      writer_.WriteVideo(frame.data(), frame.size());
    }
  });
  for (int i = 0; i < 50; ++i) {
    const std::string path = dir_.File("part" + std::to_string(i % 5) + ".NDF");
    ASSERT_TRUE(writer_.Open(path));
    std::this_thread::yield();
    writer_.Close();
    const auto file = test::ReadFileBytes(path);
    ASSERT_EQ(file.size() % kBlockSize, 0u);
    for (size_t at = 0; at < file.size(); at += kBlockSize) ASSERT_TRUE(BlockCheckMatches(file.data() + at)) << i;
  }
  done = true;
  live.join();
}

}  // namespace
}  // namespace dvr::media
