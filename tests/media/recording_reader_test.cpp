#include "media/recording_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "support/failing_block_source.h"
#include "support/ndf_builder.h"
#include "support/recorded_notices.h"
#include "support/temp_dir.h"

namespace dvr::media {
namespace {

using test::AudioFrame;
using test::NdfBuilder;
using test::VideoFrame;

class ReaderTest : public ::testing::Test {
 protected:
  // Writes the image and opens a fresh reader on it.
  RecordingReader& Open(const std::vector<uint8_t>& image, bool is_disk = false, int variant = 4) {
    reader_ = std::make_unique<RecordingReader>(notices_);
    reader_->SetVariant(variant);
    path_ = dir_.Write("rec.NDF", image);
    EXPECT_TRUE(reader_->Open(path_, is_disk));
    return *reader_;
  }
  std::vector<uint8_t> Next() { return Take(reader_->NextFrame(buffer_)); }
  std::vector<uint8_t> Previous() { return Take(reader_->PreviousFrame(buffer_)); }
  std::vector<uint8_t> Take(uint32_t length) {
    return {buffer_.begin(), buffer_.begin() + length};
  }

  test::TempDir dir_;
  test::RecordedNotices notices_;
  std::unique_ptr<RecordingReader> reader_;
  std::string path_;
  std::vector<uint8_t> buffer_ = std::vector<uint8_t>(kFrameCapacity);
};

TEST_F(ReaderTest, FileShorterThanABlockDeliversNothing) {
  auto& reader = Open(std::vector<uint8_t>(4000, 0));
  EXPECT_EQ(reader.NextFrame(buffer_), 0u);
  EXPECT_EQ(reader.Position(), 0u);
  EXPECT_EQ(reader.NextFrame(buffer_), 0u);
  EXPECT_EQ(reader.Position(), 0u);
  EXPECT_FALSE(reader.LastBlockBad());
}

TEST_F(ReaderTest, BadFirstBlockCostsOneCallThenReadingGoesOn) {
  NdfBuilder builder;
  builder.FillTo(5000).Append(VideoFrame(3, 300)).Append(VideoFrame(4, 10));
  auto image = builder.Build();
  test::CorruptBlock(image, 0);
  auto& reader = Open(image);
  EXPECT_EQ(reader.NextFrame(buffer_), 0u);
  EXPECT_TRUE(reader.LastBlockBad());
  EXPECT_EQ(reader.Position(), 4096u);
  EXPECT_EQ(Next(), VideoFrame(3, 300));
  EXPECT_EQ(reader.Channel(), 3u);
}

TEST_F(ReaderTest, ThreeFramesInOneBlockForwardThenBack) {
  const auto f1 = VideoFrame(1, 100), f2 = VideoFrame(2, 200, 9), f3 = VideoFrame(3, 50);
  auto& reader = Open(NdfBuilder().Append(f1).Append(f2).Append(f3).Append(VideoFrame(0, 9)).Build());
  EXPECT_EQ(Next(), f1);
  EXPECT_EQ(reader.FrameOffset(), 8u);
  EXPECT_EQ(Next(), f2);
  EXPECT_EQ(reader.Position(), 8u + 300u);  // on the start code of F3
  EXPECT_EQ(Previous(), f1);
  EXPECT_EQ(reader.Channel(), 1u);
  EXPECT_EQ(Next(), f2);
  EXPECT_EQ(Next(), f3);
}

TEST_F(ReaderTest, StartCodeStraddlingBlocksIsFoundEitherWay) {
  // 00 00 end block 0's payload, 01 F8 open block 1's.
  const auto before = VideoFrame(5, 600);
  const auto straddling = VideoFrame(6, 700, 3);
  NdfBuilder builder;
  builder.FillTo(kPayloadSize - 2 - before.size()).Append(before).Append(straddling);
  builder.Append(VideoFrame(7, 40)).Append(VideoFrame(8, 40));
  auto& reader = Open(builder.Build());
  EXPECT_EQ(Next(), before);
  EXPECT_EQ(reader.Position(), kBlockSize - 2);  // the start code's real first byte
  EXPECT_EQ(Next(), straddling);
  EXPECT_EQ(reader.FrameOffset(), kBlockSize - 2);
  EXPECT_EQ(reader.Channel(), 6u);
  EXPECT_EQ(Next(), VideoFrame(7, 40));
  // Backward over the straddling start code, then forward again: each frame once.
  EXPECT_EQ(Previous(), straddling);
  EXPECT_EQ(Previous(), before);
  EXPECT_EQ(Next(), straddling);
  EXPECT_EQ(Next(), VideoFrame(7, 40));
}

TEST_F(ReaderTest, EveryStraddlePointKeepsEveryFrame) {
  // `split` bytes of B's start code end block 0: 4 puts its last byte on the block's last byte,
  // 0 puts the whole start code after block 1's header.
  for (size_t split = 0; split <= 4; ++split) {
    SCOPED_TRACE(split);
    const auto a = VideoFrame(1, 900), b = VideoFrame(2, 900, 5), c = VideoFrame(3, 30);
    NdfBuilder builder;
    builder.FillTo(kPayloadSize - split - a.size()).Append(a).Append(b).Append(c).Append(VideoFrame(4, 8));
    auto& reader = Open(builder.Build());
    const uint64_t b_start = test::SourceOffset(kPayloadSize - split);
    EXPECT_EQ(Next(), a);
    // Left on B's first byte: the window's slider shows it, and a step back starts there.
    EXPECT_EQ(reader.Position(), b_start);
    EXPECT_EQ(Next(), b);
    EXPECT_EQ(reader.FrameOffset(), b_start);
    EXPECT_EQ(Next(), c);
    EXPECT_EQ(Previous(), b);
    EXPECT_EQ(Previous(), a);
    EXPECT_EQ(Next(), b);
  }
}

TEST_F(ReaderTest, HeaderBytesNeverMakeAStartCode) {
  // Block 1's time field is stored as 00 00 01 F8; a frame runs across that header.
  const auto across = VideoFrame(2, 6000);
  auto image = NdfBuilder().Append(across).Append(VideoFrame(0, 9)).Build();
  test::RestampBlock(image, 1, 0xF8010000);
  ASSERT_EQ(std::vector<uint8_t>(image.begin() + 4096, image.begin() + 4100),
            (std::vector<uint8_t>{0x00, 0x00, 0x01, 0xF8}));
  Open(image);
  EXPECT_EQ(Next(), across);
  EXPECT_EQ(Previous(), std::vector<uint8_t>());  // nothing before the first frame
}

TEST_F(ReaderTest, SliceMarkersInsideVideoDoNotEndIt) {
  auto frame = VideoFrame(1, 200);
  const std::vector<uint8_t> slice = {0x00, 0x00, 0x01, 0x08, 0x00, 0x00, 0x01, 0xF7, 0x00, 0x00, 0x01, 0xFE};
  std::copy(slice.begin(), slice.end(), frame.begin() + 50);
  Open(NdfBuilder().Append(frame).Append(VideoFrame(0, 9)).Build());
  EXPECT_EQ(Next(), frame);
}

TEST_F(ReaderTest, AudioPayloadStartsAtByteSixAndKeepsItsChannel) {
  const auto audio = AudioFrame(2, 100);
  auto& reader = Open(NdfBuilder().Append(VideoFrame(9, 50)).Append(audio).Append(VideoFrame(9, 9)).Build());
  EXPECT_EQ(Next().size(), 50u);
  EXPECT_EQ(Next(), std::vector<uint8_t>(audio.begin() + 6, audio.end()));
  EXPECT_TRUE(reader.IsAudio());
  EXPECT_EQ(reader.Channel(), 2u);
  // Backward: the same samples, and the channel is left as it was.
  EXPECT_EQ(Previous().size(), 50u);  // the video frame before (position was on the next one)
  reader.SetPositionToEnd();
  EXPECT_EQ(Previous(), std::vector<uint8_t>(audio.begin() + 6, audio.end()));
  EXPECT_TRUE(reader.IsAudio());
  EXPECT_EQ(reader.Channel(), 9u);
}

TEST_F(ReaderTest, LocallyRecordedAudioLosesItsFirstTwoSamples) {
  // The local writer puts samples right after the start code.
  const std::vector<uint8_t> audio = {0x00, 0x00, 0x01, 0xFA, 0x11, 0x22, 0x33, 0x44, 0x55};
  Open(NdfBuilder().Append(audio).Append(VideoFrame(0, 9)).Build());
  EXPECT_EQ(Next(), (std::vector<uint8_t>{0x33, 0x44, 0x55}));
}

TEST_F(ReaderTest, AudioFramesWithoutSamplesAreStepped) {
  const std::vector<uint8_t> empty = {0x00, 0x00, 0x01, 0xFB, 0x01};
  const std::vector<uint8_t> no_samples = {0x00, 0x00, 0x01, 0xFC, 0x01, 0x02};
  const auto v1 = VideoFrame(1, 30), v2 = VideoFrame(2, 30);
  auto& reader = Open(NdfBuilder().Append(v1).Append(empty).Append(no_samples).Append(v2)
                          .Append(VideoFrame(3, 9)).Build());
  EXPECT_EQ(Next(), v1);
  EXPECT_EQ(Next(), v2);
  EXPECT_FALSE(reader.IsAudio());
  EXPECT_EQ(Previous(), v1);
  reader.SetPositionToEnd();
  EXPECT_EQ(Previous(), v2);
  EXPECT_EQ(Previous(), v1);
}

TEST_F(ReaderTest, FailedCallClearsIsAudio) {
  auto& reader = Open(NdfBuilder().Append(AudioFrame(0, 20)).Append(VideoFrame(0, 9)).Build());
  ASSERT_GT(reader.NextFrame(buffer_), 0u);
  ASSERT_TRUE(reader.IsAudio());
  EXPECT_EQ(reader.NextFrame(buffer_), 0u);  // the last frame never completes
  EXPECT_FALSE(reader.IsAudio());
}

TEST_F(ReaderTest, OverlongFrameIsCut) {
  const auto huge = VideoFrame(4, 140000);
  auto& reader = Open(NdfBuilder().Append(huge).Append(VideoFrame(5, 9)).Build());
  const auto got = Next();
  ASSERT_EQ(got.size(), kFrameCapacity - 4);
  EXPECT_TRUE(std::equal(got.begin(), got.end(), huge.begin()));
  EXPECT_EQ(reader.Channel(), 4u);
}

TEST_F(ReaderTest, FrameTakesTimeAndPacingOfTheBlockWhereItEnds) {
  NdfBuilder builder;
  builder.Append(VideoFrame(1, 5000)).Append(VideoFrame(2, 10));
  auto image = builder.Build(86400 * 365, 3);  // 1971-01-01 00:00:00 UTC in block 0
  auto& reader = Open(image);
  FrameTime time;
  EXPECT_FALSE(reader.CurrentTime(time));  // nothing loaded yet
  Next();
  ASSERT_TRUE(reader.CurrentTime(time));
  EXPECT_EQ(FormatFrameTime(time), "1971-01-01 00:00:01");  // block 1's time
  EXPECT_EQ(reader.Pacing(), 3);
  MediaFrame frame(kFrameCapacity);
  reader.DescribeFrame(frame);
  EXPECT_EQ(frame.time, time);
  EXPECT_EQ(frame.pacing, 3);
  reader.Close();
  EXPECT_FALSE(reader.CurrentTime(time));
}

TEST_F(ReaderTest, SetPositionStaysInsideTheSource) {
  auto& reader = Open(NdfBuilder().FillTo(9000).Build());
  ASSERT_EQ(reader.Size(), 3 * kBlockSize);
  EXPECT_TRUE(reader.SetPosition(5000));
  EXPECT_TRUE(reader.SetPosition(reader.Size()));
  EXPECT_TRUE(reader.SetPosition(reader.Size() + 1));
  EXPECT_EQ(reader.Position(), 5000u);
  reader.SetPosition(reader.Size() - 1);
  EXPECT_EQ(reader.Position(), reader.Size() - 1);
}

TEST_F(ReaderTest, FrameAtTargetFindsTheFirstVideoFrameAfterTheBlockStart) {
  NdfBuilder builder;
  builder.Append(VideoFrame(1, 3000)).Append(VideoFrame(2, 3000));  // F2 starts in block 0
  builder.Append(AudioFrame(0, 50)).Append(VideoFrame(3, 100)).Append(VideoFrame(4, 100));
  builder.Append(VideoFrame(6, 9)).FillTo(3 * 4088).Append(VideoFrame(5, 9));
  auto& reader = Open(builder.Build());
  EXPECT_FALSE(reader.SetSeekTarget(reader.Size()));
  ASSERT_TRUE(reader.SetSeekTarget(5000));
  Previous();  // direction and gathering state are reset by the seek
  EXPECT_EQ(Take(reader.FrameAtTarget(buffer_)), VideoFrame(3, 100));
  EXPECT_FALSE(reader.IsAudio());
  EXPECT_EQ(Next(), VideoFrame(4, 100));

  ASSERT_TRUE(reader.SetSeekTarget(reader.Size() - 1));
  EXPECT_EQ(reader.FrameAtTarget(buffer_), 0u);
  ASSERT_TRUE(reader.SetSeekTarget(reader.Size() - 100));  // in the last block: nothing ends there
  EXPECT_EQ(reader.FrameAtTarget(buffer_), 0u);
}

TEST_F(ReaderTest, EndOfSourceStopsForwardAndStartStopsBackward) {
  auto& reader = Open(NdfBuilder().Append(VideoFrame(1, 20)).Append(VideoFrame(2, 20)).Build());
  EXPECT_EQ(Next().size(), 20u);
  EXPECT_EQ(reader.NextFrame(buffer_), 0u);
  EXPECT_EQ(reader.Position(), kBlockSize);
  EXPECT_EQ(reader.NextFrame(buffer_), 0u);
  EXPECT_EQ(reader.Position(), kBlockSize);
  EXPECT_EQ(Previous(), VideoFrame(1, 20));
  EXPECT_EQ(reader.PreviousFrame(buffer_), 0u);
  EXPECT_EQ(reader.Position(), 0u);
  EXPECT_FALSE(reader.LastBlockBad());
}

TEST_F(ReaderTest, BackwardStepsOverBadBlocks) {
  NdfBuilder builder;
  builder.Append(VideoFrame(1, 40)).Append(VideoFrame(2, 40)).FillTo(2 * 4088);
  builder.Append(VideoFrame(3, 40)).Append(VideoFrame(4, 40)).Append(VideoFrame(5, 40));
  auto image = builder.Build();
  test::CorruptBlock(image, 1);
  auto& reader = Open(image);
  reader.SetPositionToEnd();
  EXPECT_EQ(Previous(), VideoFrame(4, 40));
  EXPECT_EQ(Previous(), VideoFrame(3, 40));
  // F3 is the first frame of block 2; reaching block 1 fails once and leaves the position at its
  // start, and the walk goes on in block 0.
  EXPECT_EQ(reader.PreviousFrame(buffer_), 0u);
  EXPECT_TRUE(reader.LastBlockBad());
  EXPECT_EQ(reader.Position(), kBlockSize);
  EXPECT_EQ(Previous(), VideoFrame(1, 40));
}

TEST_F(ReaderTest, NoStartCodeIsMadeOfBytesEitherSideOfABadBlock) {
  // Block 0 ends in 00 00 (the end of frame A) and block 2 begins 01 F8: read together across the
  // bad block 1 they would look like a start code.
  const auto p = VideoFrame(1, 300), b = VideoFrame(3, 200), c = VideoFrame(4, 200);
  NdfBuilder builder;
  builder.Append(p).Append(VideoFrame(2, 500)).FillTo(kPayloadSize - 2).Append({0x00, 0x00});
  builder.FillTo(2 * kPayloadSize)
      .Append({0x01, 0xF8, 0x45})
      .Append(b)
      .Append(c)
      .Append(VideoFrame(5, 9));
  auto image = builder.Build();
  test::CorruptBlock(image, 1);
  auto& reader = Open(image);
  const uint64_t b_start = 2 * kBlockSize + kHeaderSize + 3;

  // Forward: A ends in the bad block and is lost; the next frame is B.
  EXPECT_EQ(Next(), p);
  EXPECT_EQ(reader.NextFrame(buffer_), 0u);
  EXPECT_TRUE(reader.LastBlockBad());
  EXPECT_EQ(Next(), b);
  EXPECT_EQ(reader.FrameOffset(), b_start);

  // Backward from the end: C, B, the bad block, then P (A's end is unknown).
  reader.SetPositionToEnd();
  EXPECT_EQ(Previous(), c);
  EXPECT_EQ(Previous(), b);
  EXPECT_EQ(reader.PreviousFrame(buffer_), 0u);
  EXPECT_TRUE(reader.LastBlockBad());
  EXPECT_EQ(Previous(), p);
}

TEST_F(ReaderTest, BigEndianVariantReadsItsOwnHeaders) {
  NdfBuilder builder(/*big_endian=*/true);
  builder.Append(VideoFrame(1, 5000)).Append(VideoFrame(2, 10));
  const auto image = builder.Build(1);
  EXPECT_EQ(std::vector<uint8_t>(image.begin(), image.begin() + 6),
            (std::vector<uint8_t>{0x00, 0x00, 0x00, 0x01, 0x00, 0x01}));
  auto& reader = Open(image, false, 6);
  EXPECT_EQ(Next(), VideoFrame(1, 5000));
  EXPECT_EQ(reader.FormatWord(), 1);
  FrameTime time;
  ASSERT_TRUE(reader.CurrentTime(time));
  EXPECT_EQ(FormatFrameTime(time), "1970-01-01 00:00:02");
  EXPECT_EQ(Previous().size(), 0u);
  EXPECT_EQ(reader.FormatWord(), 0);  // a backward load does not keep it
}

TEST_F(ReaderTest, DiskImageReadsLikeTheRecording) {
  NdfBuilder builder;
  builder.Append(VideoFrame(1, 3000)).Append(AudioFrame(1, 333)).Append(VideoFrame(2, 7777));
  builder.Append(VideoFrame(3, 11));
  const auto image = builder.Build();
  auto& reader = Open(test::DiskImage(image), /*is_disk=*/true);
  EXPECT_TRUE(reader.IsDisk());
  EXPECT_EQ(Next(), VideoFrame(1, 3000));
  EXPECT_EQ(Next().size(), 333u);
  EXPECT_EQ(Next(), VideoFrame(2, 7777));
}

TEST_F(ReaderTest, OpenFailures) {
  RecordingReader reader(notices_);
  EXPECT_FALSE(reader.Open(dir_.File("missing.NDF"), false));
  EXPECT_FALSE(reader.Open(dir_.Path(), false));
  EXPECT_TRUE(notices_.Texts().empty());  // silently
  // A disk whose size cannot be found is the one failure the user is told about.
  EXPECT_FALSE(reader.Open(dir_.Write("empty.img", {}), true));
  EXPECT_THAT(notices_.Texts(), ::testing::ElementsAre("Open Error"));
  EXPECT_FALSE(reader.IsOpen());
  EXPECT_EQ(reader.NextFrame(buffer_), 0u);
}

class ExportTest : public ReaderTest {};

TEST_F(ExportTest, CopiesTheWholeBlocksOfTheRange) {
  NdfBuilder builder;
  builder.FillTo(5 * 4088);
  const auto image = builder.Build();
  auto& reader = Open(image);
  const std::string out = dir_.File("CAPTURE.NDF");
  ASSERT_TRUE(reader.ExportRange(5000, 9000, out));
  EXPECT_EQ(test::ReadFileBytes(out), std::vector<uint8_t>(image.begin() + 4096, image.begin() + 12288));
  EXPECT_EQ(test::ReadFileBytes(path_), image);
}

TEST_F(ExportTest, RefusesEmptyOutsideAndOversizedRanges) {
  auto& reader = Open(NdfBuilder().FillTo(3 * 4088).Build());
  const std::string out = dir_.File("CAPTURE.NDF");
  EXPECT_FALSE(reader.ExportRange(100, 100, out));
  EXPECT_FALSE(reader.ExportRange(200, 100, out));
  EXPECT_FALSE(reader.ExportRange(0, reader.Size(), out));
  // The end rounds up to a whole block: exactly 1 GiB passes, one byte more does not.
  EXPECT_TRUE(ExportSpan(0, uint64_t{1} << 30, uint64_t{1} << 32));
  EXPECT_FALSE(ExportSpan(0, (uint64_t{1} << 30) + 1, uint64_t{1} << 32));
  EXPECT_FALSE(ExportSpan(4095, (uint64_t{1} << 30) + 1, uint64_t{1} << 32));
  const auto span = ExportSpan(5000, 8192, 20000);
  ASSERT_TRUE(span);
  EXPECT_EQ(span->first, 4096u);
  EXPECT_EQ(span->end, 8192u);
}

TEST_F(ExportTest, OversizedRangeOfARealFileFails) {
  const std::string big = dir_.File("big.NDF");
  const int fd = ::open(big.c_str(), O_CREAT | O_WRONLY, 0644);
  ASSERT_EQ(::ftruncate(fd, (int64_t{1} << 30) + 3 * 4096), 0);  // sparse
  ::close(fd);
  RecordingReader reader(notices_);
  ASSERT_TRUE(reader.Open(big, false));
  EXPECT_FALSE(reader.ExportRange(0, (uint64_t{1} << 30) + 10, dir_.File("out.NDF")));
}

TEST_F(ExportTest, ACopyThatCannotReadItsRangeFailsAndLeavesNothing) {
  const auto image = NdfBuilder().FillTo(40 * 4088).Build();
  const std::string out = dir_.File("CAPTURE.NDF");
  RecordingReader failing(notices_,
                          std::make_unique<test::FailingBlockSource>(std::set<uint64_t>{30}));
  ASSERT_TRUE(failing.Open(dir_.Write("failing.NDF", image), false));
  EXPECT_FALSE(failing.ExportRange(0, failing.Size() - 1, out));
  EXPECT_FALSE(std::filesystem::exists(out));
  ASSERT_TRUE(failing.ExportRange(4096, 30 * 4096 - 1, out));  // up to the unreadable block
  EXPECT_EQ(test::ReadFileBytes(out),
            std::vector<uint8_t>(image.begin() + 4096, image.begin() + 30 * 4096));

  // A source that shrank after it was opened no longer holds the range.
  auto& reader = Open(image);
  ASSERT_EQ(::truncate(path_.c_str(), 10 * 4096), 0);
  EXPECT_FALSE(reader.ExportRange(0, 20 * 4096, out));
  EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(ExportTest, NeverOverwritesItsOwnSource) {
  const auto image = NdfBuilder().FillTo(3 * 4088).Build();
  auto& reader = Open(image);
  EXPECT_FALSE(reader.ExportRange(0, 5000, path_));
  EXPECT_EQ(test::ReadFileBytes(path_), image);
}

TEST_F(ExportTest, DiskCopyIsAnOrdinaryRecording) {
  NdfBuilder builder;
  builder.FillTo(3 * 4088);
  const auto image = builder.Build();
  auto& reader = Open(test::DiskImage(image), true);
  const std::string out = dir_.File("CAPTURE.NDF");
  ASSERT_TRUE(reader.ExportRange(0, reader.Size() - 1, out));
  EXPECT_EQ(test::ReadFileBytes(out), image);
}

TEST_F(ExportTest, RangeEndingInAPartialBlockCopiesWhatIsThere) {
  auto image = NdfBuilder().FillTo(2 * 4088).Build();
  image.resize(image.size() + 100, 0xEE);
  auto& reader = Open(image);
  const std::string out = dir_.File("CAPTURE.NDF");
  ASSERT_TRUE(reader.ExportRange(4096, reader.Size() - 1, out));
  EXPECT_EQ(test::ReadFileBytes(out), std::vector<uint8_t>(image.begin() + 4096, image.end()));
}

}  // namespace
}  // namespace dvr::media
