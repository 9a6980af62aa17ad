// dvrtool as its users run it: the real binary on real files.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <csignal>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "dvr_simulator.h"
#include "live_source.h"
#include "media/ndf_format.h"
#include "media/ndf_time.h"
#include "net/net_client.h"
#include "platform/clock.h"
#include "platform/md5.h"
#include "support/media_probe.h"
#include "support/ndf_builder.h"
#include "support/temp_dir.h"
#include "support/wait_for.h"

namespace dvr {
namespace {

struct Result {
  int code = -1;
  std::string out, err;
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
};

std::string ReadText(const std::string& path) {
  std::ifstream in(path);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class DvrtoolTest : public ::testing::Test {
 protected:
  // Runs dvrtool in the test's folder with the given arguments (already quoted as needed).
  Result Run(const std::string& args, const std::string& environment = "") {
    const std::string tool = DVRTOOL_PATH;
    const std::string command = "cd '" + dir_.Path() + "' && " + environment + " '" + tool + "' " + args + " >'" +
                                dir_.File(".out") + "' 2>'" + dir_.File(".err") + "'";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadText(dir_.File(".out")),
            ReadText(dir_.File(".err"))};
  }
  std::string Synth(const std::string& name, const std::string& options) {
    const Result r = Run("synth -o " + name + " --start '2026-03-01 10:00:00' " + options);
    EXPECT_EQ(r.code, 0) << r.err;
    return dir_.File(name);
  }

  test::TempDir dir_;
};

// A field of a flat JSON line, as text ("video", 123, null ...).
std::string Field(const std::string& line, const std::string& key) {
  const std::regex pattern("\"" + key + "\":(\"[^\"]*\"|[^,}]*)");
  std::smatch match;
  if (!std::regex_search(line, match, pattern)) return "<missing>";
  std::string value = match[1];
  if (value.size() >= 2 && value.front() == '"') value = value.substr(1, value.size() - 2);
  return value;
}

// The payload of the frame at `offset` read straight from the file: stream bytes to the next
// start code, headers left out.
std::vector<uint8_t> StreamBytes(const std::vector<uint8_t>& file, uint64_t offset, size_t n) {
  std::vector<uint8_t> out;
  for (uint64_t at = offset; out.size() < n && at < file.size(); ++at) {
    if (at % media::kBlockSize < media::kHeaderSize) continue;
    out.push_back(file[at]);
  }
  return out;
}

TEST_F(DvrtoolTest, FramesListsEveryFrameWithItsPayloadDigest) {
  const std::string path = Synth("demo.NDF", "--channels 3 --seconds 2 --audio --audio-channels 3");
  const Result r = Run("frames demo.NDF --json");
  ASSERT_EQ(r.code, 0) << r.err;
  const auto lines = r.Lines();
  ASSERT_GT(lines.size(), 60u);  // 60 pictures and 80 audio frames, less the unfinished last
  const auto file = test::ReadFileBytes(path);
  std::map<std::string, int> per_channel;
  uint64_t last_offset = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    ASSERT_EQ(Field(line, "index"), std::to_string(i));
    const uint64_t offset = std::stoull(Field(line, "offset"));
    ASSERT_GE(offset, last_offset);
    last_offset = offset;
    const std::string type = Field(line, "type");
    ++per_channel[type + Field(line, "channel")];
    EXPECT_EQ(Field(line, "time").substr(0, 17), "2026-03-01 10:00:");
    const size_t length = std::stoul(Field(line, "length"));
    const size_t skip = type == "audio" ? 6 : 0;
    const auto payload = StreamBytes(file, offset, skip + length);
    ASSERT_EQ(Field(line, "payload_md5"), platform::Md5Hex(payload.data() + skip, length)) << line;
  }
  EXPECT_EQ(per_channel["video0"], 20);
  EXPECT_EQ(per_channel["video1"], 20);
  EXPECT_EQ(per_channel["video2"], 19);  // the very last picture never completes
  EXPECT_EQ(per_channel["audio0"], 40);
  EXPECT_EQ(per_channel["audio2"], 40);

  const Result back = Run("frames demo.NDF --json --backward");
  ASSERT_EQ(back.code, 0) << back.err;
  auto backward = back.Lines();
  ASSERT_EQ(backward.size(), lines.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& b = backward[lines.size() - 1 - i];
    EXPECT_EQ(Field(b, "offset"), Field(lines[i], "offset"));
    EXPECT_EQ(Field(b, "payload_md5"), Field(lines[i], "payload_md5"));
  }
}

TEST_F(DvrtoolTest, DiskImagesAndBigEndianRecordingsReadTheSame) {
  const std::string plain = Synth("plain.NDF", "--seconds 1");
  dir_.Write("disk.img", test::DiskImage(test::ReadFileBytes(plain)));
  const Result a = Run("frames plain.NDF --json");
  const Result b = Run("frames disk.img --disk --json");
  ASSERT_EQ(a.code, 0);
  ASSERT_EQ(b.code, 0) << b.err;
  EXPECT_EQ(a.out, b.out);

  Synth("big.NDF", "--seconds 1 --variant QM_QMC");
  const Result right = Run("frames big.NDF --variant 6 --json");
  const Result wrong = Run("frames big.NDF --json");
  ASSERT_EQ(right.code, 0);
  EXPECT_EQ(Field(right.Lines()[0], "time"), "2026-03-01 10:00:00");
  EXPECT_NE(Field(wrong.Lines()[0], "time"), "2026-03-01 10:00:00");
}

TEST_F(DvrtoolTest, InfoCountsFramesAndTimes) {
  Synth("demo.NDF", "--channels 4 --seconds 3 --audio --audio-channels 4");
  const Result r = Run("info demo.NDF --json");
  ASSERT_EQ(r.code, 0) << r.err;
  const std::string line = r.Lines().at(0);
  EXPECT_EQ(Field(line, "bad_blocks"), "0");
  EXPECT_EQ(Field(line, "tail_bytes"), "0");
  EXPECT_EQ(Field(line, "first_time"), "2026-03-01 10:00:00");
  EXPECT_EQ(Field(line, "last_time"), "2026-03-01 10:00:02");
  EXPECT_EQ(Field(line, "duration_seconds"), "2");
  EXPECT_NE(line.find("\"video\":{\"0\":23,\"1\":22,\"2\":22,\"3\":22}"), std::string::npos) << line;
  const Result human = Run("info demo.NDF");
  EXPECT_NE(human.out.find("first      2026-03-01 10:00:00"), std::string::npos) << human.out;
}

TEST_F(DvrtoolTest, VerifyAndFramesReportBadBlocks) {
  const std::string path = Synth("demo.NDF", "--seconds 2");
  EXPECT_EQ(Run("verify demo.NDF").code, 0);
  auto bytes = test::ReadFileBytes(path);
  test::CorruptBlock(bytes, 5);
  bytes.resize(bytes.size() + 17, 0);
  dir_.Write("demo.NDF", bytes);

  const Result verify = Run("verify demo.NDF --json");
  EXPECT_EQ(verify.code, 1);
  EXPECT_NE(verify.out.find("{\"type\":\"bad\",\"block\":5,\"offset\":20480}"), std::string::npos);
  EXPECT_NE(verify.out.find("\"type\":\"tail\""), std::string::npos);
  EXPECT_NE(verify.err.find("damaged"), std::string::npos);

  for (const char* direction : {"", " --backward"}) {
    const Result frames = Run(std::string("frames demo.NDF --json") + direction);
    EXPECT_EQ(frames.code, 0);
    EXPECT_NE(frames.out.find("{\"type\":\"skip\",\"offset\":20480}"), std::string::npos) << direction;
  }
}

TEST_F(DvrtoolTest, ExtractByBytesAndByTime) {
  const std::string path = Synth("demo.NDF", "--seconds 20 --fps 10");
  const auto source = test::ReadFileBytes(path);
  Result r = Run("extract demo.NDF --from 5000 --to 9000");
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(test::ReadFileBytes(dir_.File("CAPTURE.NDF")),
            std::vector<uint8_t>(source.begin() + 4096, source.begin() + 12288));

  EXPECT_TRUE(std::filesystem::exists(dir_.File("CAPTURE.NDF.sha256")));
  EXPECT_EQ(Field(ReadText(dir_.File("CAPTURE.NDF.json")), "first_byte"), "4096");
  EXPECT_EQ(Field(ReadText(dir_.File("CAPTURE.NDF.json")), "last_byte"), "12287");

  r = Run("extract demo.NDF --start '2026-03-01 10:00:05' --end '2026-03-01 10:00:09' -o part.NDF");
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.Lines().back(), "evidence: part.NDF.sha256, part.NDF.json");
  const Result info = Run("info part.NDF --json");
  EXPECT_EQ(Field(info.out, "first_time"), "2026-03-01 10:00:05");
  EXPECT_EQ(Field(info.out, "last_time"), "2026-03-01 10:00:09");
  // The evidence describes the copy: its pictures lie in the span asked for, its digest checks.
  const std::string evidence = ReadText(dir_.File("part.NDF.json"));
  EXPECT_GE(Field(evidence, "first_picture"), "2026-03-01 10:00:05");
  EXPECT_LE(Field(evidence, "last_picture"), "2026-03-01 10:00:09");
  EXPECT_LE(Field(evidence, "first_picture"), Field(evidence, "last_picture"));
  EXPECT_EQ(Field(evidence, "source"), path);
  EXPECT_EQ(Field(evidence, "source_size"), std::to_string(source.size()));
  EXPECT_NE(evidence.find("\"video_channels\":[1,2,3,4]"), std::string::npos) << evidence;
  if (std::system("command -v sha256sum >/dev/null 2>&1") == 0) {
    const std::string check = "cd '" + dir_.Path() + "' && sha256sum --quiet -c part.NDF.sha256";
    EXPECT_EQ(std::system(check.c_str()), 0);
  }

  // Evidence that cannot be written is an error, but the copy stays.
  std::filesystem::create_directory(dir_.File("kept.NDF.json"));
  r = Run("extract demo.NDF --from 0 --to 100 -o kept.NDF");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("kept.NDF itself is kept"), std::string::npos) << r.err;
  EXPECT_EQ(test::ReadFileBytes(dir_.File("kept.NDF")).size(), 4096u);
  EXPECT_FALSE(std::filesystem::exists(dir_.File("kept.NDF.sha256")));

  EXPECT_EQ(Run("extract demo.NDF --start '2026-03-02 00:00:00' --end '2026-03-02 01:00:00'").code, 1);
  EXPECT_EQ(Run("extract demo.NDF --from 9000 --to 5000").code, 1);
  EXPECT_EQ(Run("extract demo.NDF --from 0 --to 100 -o demo.NDF").code, 1);
  EXPECT_EQ(test::ReadFileBytes(path), source);
  EXPECT_EQ(Run("extract demo.NDF --from 100").code, 2);
  EXPECT_EQ(Run("extract demo.NDF --start yesterday --end today").code, 2);
}

TEST_F(DvrtoolTest, TimelineOfAWrappedDiskInTimeOrder) {
  // 600 blocks, one a second: the newest recording up to the write point at block 200, the
  // oldest after it, with ten bad blocks at 300.
  const uint32_t newest = *media::ToTimeField(*media::ParseFrameTime("2026-03-02 08:00:00"), 0);
  const uint32_t oldest = *media::ToTimeField(*media::ParseFrameTime("2026-03-01 10:00:00"), 0);
  auto image = test::NdfBuilder().Append(test::VideoFrame(3, 2000)).FillTo(600 * 4088).Build();
  for (size_t i = 0; i < 600; ++i) {
    test::RestampBlock(image, i, i < 200 ? newest + uint32_t(i) : oldest + uint32_t(i - 200));
  }
  for (size_t i = 300; i < 310; ++i) test::CorruptBlock(image, i);
  dir_.Write("disk.img", test::DiskImage(image));

  Result r = Run("timeline disk.img --disk");
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.Lines(), (std::vector<std::string>{
      "span   2026-03-01 10:00:00 .. 2026-03-01 10:01:39  bytes 819200..1228799  blocks 200..299 (100)",
      "bad    bytes 1228800..1269759  blocks 300..309 (10)",
      "gap    2026-03-01 10:01:39 .. 2026-03-01 10:01:50  11 s",
      "span   2026-03-01 10:01:50 .. 2026-03-01 10:06:39  bytes 1269760..2457599  blocks 310..599 (290)",
      "gap    2026-03-01 10:06:39 .. 2026-03-02 08:00:00  78801 s",
      "span   2026-03-02 08:00:00 .. 2026-03-02 08:03:19  bytes 0..819199  blocks 0..199 (200)",
      "map    600 blocks, 600 read",
      "video  channels 3 (in the blocks read)",
      "audio  channels none"}));

  r = Run("timeline disk.img --disk --json");
  ASSERT_EQ(r.code, 0) << r.err;
  const auto lines = r.Lines();
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(Field(lines[0], "type"), "span");
  EXPECT_EQ(Field(lines[0], "start"), "2026-03-01 10:00:00");
  EXPECT_EQ(Field(lines[0], "first_block"), "200");
  EXPECT_EQ(Field(lines[1], "type"), "bad");
  EXPECT_EQ(Field(lines[1], "blocks"), "10");
  EXPECT_EQ(Field(lines[4], "seconds"), "78801");
  EXPECT_EQ(Field(lines[5], "last_byte"), "819199");
  EXPECT_EQ(Field(lines[6], "video"), "[3]");

  // Extracting by time goes through the same map: one side of the write point, or not at all.
  r = Run("extract disk.img --disk --start '2026-03-02 08:01:00' --end '2026-03-02 08:01:09'");
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("copied blocks 60..69"), std::string::npos) << r.out;
  r = Run("extract disk.img --disk --start '2026-03-01 10:05:00' --end '2026-03-02 08:01:00'");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("in one piece"), std::string::npos) << r.err;
}

TEST_F(DvrtoolTest, ExtractThatCannotReadItsRangeFailsAndLeavesNoFile) {
  // A kernel attribute file claims a whole 4096-byte block and delivers a few bytes of it.
  std::string source;
  for (const char* path :
       {"/sys/kernel/uevent_seqnum", "/sys/power/state", "/sys/kernel/profiling"}) {
    std::error_code error;
    if (std::filesystem::file_size(path, error) == media::kBlockSize &&
        ReadText(path).size() < media::kBlockSize) {
      source = path;
      break;
    }
  }
  if (source.empty()) GTEST_SKIP() << "no kernel attribute file to read here";
  const Result r = Run("extract " + source + " --from 0 --to 100 -o short.NDF");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out, "");  // no claim that anything was copied
  EXPECT_NE(r.err.find("could not be read"), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(dir_.File("short.NDF")));
}

TEST_F(DvrtoolTest, FramesDecodeReportsPicturesPerChannel) {
  Synth("demo.NDF", "--channels 2 --seconds 1 --fps 10 --partial --quality 3");
  const Result r = Run("frames demo.NDF --decode --json");
  ASSERT_EQ(r.code, 0) << r.err;
  int decoded = 0;
  std::map<std::string, std::string> last_picture;
  for (const std::string& line : r.Lines()) {
    EXPECT_EQ(Field(line, "type"), "video");
    EXPECT_EQ(Field(line, "quality"), "3");
    EXPECT_EQ(Field(line, "width"), "640");
    EXPECT_EQ(Field(line, "height"), "224");
    EXPECT_EQ(Field(line, "dual"), "false");
    decoded += Field(line, "decoded") == "true";
    EXPECT_EQ(Field(line, "picture_md5").size(), 32u);
    last_picture[Field(line, "channel")] = Field(line, "picture_md5");
  }
  EXPECT_EQ(decoded, 9);  // ten pictures, the last never completes
  EXPECT_NE(last_picture["0"], last_picture["1"]);
  EXPECT_EQ(Field(r.Lines()[2], "full_frame"), "false");  // channel 0's second picture is partial
}

TEST_F(DvrtoolTest, ProcessorLevelsChosenByEnvironment) {
  Synth("demo.NDF", "--channels 2 --seconds 1 --fps 6 --partial");
  const Result packed = Run("frames demo.NDF --decode --json", "DVR_CPU=packed");
  const Result sse2 = Run("frames demo.NDF --decode --json", "DVR_CPU=sse2");
  const Result scalar = Run("frames demo.NDF --decode --json", "DVR_CPU=scalar");
  ASSERT_EQ(packed.code, 0);
  EXPECT_EQ(packed.out, sse2.out);  // every packed form gives the same pictures
  EXPECT_NE(scalar.out, packed.out);  // the reference design rounds differently
  EXPECT_EQ(scalar.out.find("\"decoded\":false"), std::string::npos);
  const Result bogus = Run("frames demo.NDF --json", "DVR_CPU=mmx");
  EXPECT_EQ(bogus.code, 0);
  EXPECT_NE(bogus.err.find("DVR_CPU=mmx"), std::string::npos);
}

TEST_F(DvrtoolTest, DecodeWritesImageFiles) {
  Synth("demo.NDF", "--channels 2 --seconds 1 --fps 10");
  Result r = Run("decode demo.NDF --index 3 -o pic.bmp");
  ASSERT_EQ(r.code, 0) << r.err;
  const auto bmp = test::ReadFileBytes(dir_.File("pic.bmp"));
  ASSERT_EQ(bmp.size(), 54u + 640 * 224 * 3);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[10], 54);
  EXPECT_EQ(bmp[22] | bmp[23] << 8, 224);
  ASSERT_EQ(Run("decode demo.NDF --index 3 -o pic.yuv --double").code, 0);
  const auto yuv = test::ReadFileBytes(dir_.File("pic.yuv"));
  EXPECT_EQ(yuv.size(), 640u * 448 * 3 / 2);
  EXPECT_TRUE(std::equal(yuv.begin(), yuv.begin() + 640, yuv.begin() + 640));  // rows doubled
  ASSERT_EQ(Run("decode demo.NDF --index 3 -o pic.png").code, 0);
  EXPECT_EQ(test::ReadFileBytes(dir_.File("pic.png"))[1], 'P');
  ASSERT_EQ(Run("decode demo.NDF --index 3 -o pic.ppm").code, 0);
  EXPECT_EQ(ReadText(dir_.File("pic.ppm")).substr(0, 15), "P6\n640 224\n255\n");

  EXPECT_EQ(Run("decode demo.NDF --index 3 -o pic.gif").code, 1);
  EXPECT_EQ(Run("decode demo.NDF --index 999 -o pic.bmp").code, 1);
  EXPECT_EQ(Run("decode demo.NDF -o pic.bmp").code, 2);
}

// A little-endian field of a file's bytes.
uint32_t Le(const std::vector<uint8_t>& bytes, size_t at, int size) {
  uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | bytes[at + static_cast<size_t>(i)];
  return value;
}

TEST_F(DvrtoolTest, AudioBecomesAWavFileOfTheTone) {
  Synth("demo.NDF", "--channels 2 --seconds 2 --audio --audio-channels 2");
  Result r = Run("audio demo.NDF -o all.wav");
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("80 audio frames, 32000 samples, 4.000 seconds"), std::string::npos) << r.out;
  const auto wav = test::ReadFileBytes(dir_.File("all.wav"));
  ASSERT_EQ(wav.size(), 44u + 64000);
  EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
  EXPECT_EQ(Le(wav, 4, 4), wav.size() - 8);
  EXPECT_EQ(Le(wav, 22, 2), 1u);     // mono
  EXPECT_EQ(Le(wav, 24, 4), 8000u);  // samples per second
  EXPECT_EQ(Le(wav, 34, 2), 16u);    // A-law is played as 16-bit
  EXPECT_EQ(Le(wav, 40, 4), 64000u);

  // Channel 1 alone: its tone is 880 Hz, 8000 of 32767 loud. Count the rising zero crossings.
  ASSERT_EQ(Run("audio demo.NDF -o one.wav --channel 1").code, 0);
  const auto one = test::ReadFileBytes(dir_.File("one.wav"));
  ASSERT_EQ(one.size(), 44u + 32000);
  int crossings = 0, peak = 0;
  int16_t previous = 0;
  for (size_t at = 44; at + 1 < one.size(); at += 2) {
    const auto sample = static_cast<int16_t>(Le(one, at, 2));
    crossings += previous < 0 && sample >= 0;
    peak = std::max(peak, std::abs(int{sample}));
    previous = sample;
  }
  EXPECT_NEAR(crossings, 880 * 2, 10);
  EXPECT_NEAR(peak, 8000, 300);

  // Eight-bit formats stay eight-bit; a recording without audio gives no file.
  ASSERT_EQ(Run("audio demo.NDF -o eight.wav --audio-format QM_SPCM8").code, 0);
  EXPECT_EQ(Le(test::ReadFileBytes(dir_.File("eight.wav")), 34, 2), 8u);
  Synth("quiet.NDF", "--seconds 1");
  r = Run("audio quiet.NDF -o quiet.wav");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("no audio frames"), std::string::npos);
  EXPECT_FALSE(std::ifstream(dir_.File("quiet.wav")).good());
  EXPECT_EQ(Run("audio demo.NDF -o x.wav --audio-format QM_MP3").code, 2);
  EXPECT_EQ(Run("audio demo.NDF -o x.wav --channel 4").code, 2);
}

// Big-endian 32-bit field (PNG).
uint32_t Be(const std::vector<uint8_t>& bytes, size_t at) {
  return uint32_t{bytes[at]} << 24 | uint32_t{bytes[at + 1]} << 16 | uint32_t{bytes[at + 2]} << 8 | bytes[at + 3];
}

// Backward play starts at the end and walks back at every speed: falling positions and times,
// pictures shown, and figures that never underflow.
TEST_F(DvrtoolTest, PlayBackwardFromTheEndAtEverySpeed) {
  if (Run("play --help").out.find("--backward") == std::string::npos) {
    GTEST_SKIP() << "this build has no Qt, so no play";
  }
  Synth("long.NDF", "--channels 4 --seconds 30 --quality 2");
  const uint64_t size = test::ReadFileBytes(dir_.File("long.NDF")).size();
  for (const char* speed : {"1", "8", "16", "32"}) {
    SCOPED_TRACE(speed);
    const Result r = Run(std::string("play long.NDF --json --backward --seconds 2.5 --speed ") + speed);
    ASSERT_EQ(r.code, 0) << r.err;
    const auto lines = r.Lines();
    ASSERT_GE(lines.size(), 2u);  // fast play reaches the start within the first second
    uint64_t last_position = size;
    std::string last_time = "9999";
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
      const uint64_t position = std::stoull(Field(lines[i], "position"));
      EXPECT_LT(position, last_position) << lines[i];
      last_position = position;
      const std::string time = Field(lines[i], "time");
      EXPECT_LE(time, last_time) << lines[i];
      last_time = time;
    }
    EXPECT_GT(size - last_position, size / 50);  // it moved a good way back from the end
    const std::string& summary = lines.back();
    EXPECT_GT(std::stoi(Field(summary, "pictures_shown")), 10);
    if (Field(summary, "ended") == "end") {
      EXPECT_EQ(last_position, 0u);
    }
    EXPECT_LE(std::stod(Field(summary, "seconds_to_last_picture")), std::stod(Field(summary, "wall_seconds")));
  }
}

TEST_F(DvrtoolTest, PlayRunsTheEngineToTheEnd) {
  if (Run("play --help").out.find("--snapshot-every") == std::string::npos) {
    GTEST_SKIP() << "this build has no Qt, so no play";
  }
  Synth("demo.NDF", "--channels 4 --seconds 2 --audio");
  const Result r = Run("play demo.NDF --json --snapshot-every 20 -o snaps");
  ASSERT_EQ(r.code, 0) << r.err;
  const auto lines = r.Lines();
  ASSERT_GE(lines.size(), 2u);
  const std::string& summary = lines.back();
  EXPECT_EQ(Field(summary, "type"), "summary");
  EXPECT_EQ(Field(summary, "ended"), "end");
  EXPECT_EQ(Field(summary, "pictures_shown"), "59");  // 60 pictures, the last never completes
  EXPECT_EQ(Field(summary, "pictures_not_shown"), "0");
  EXPECT_EQ(Field(summary, "audio_bytes"), "32000");  // two seconds of 16-bit sound
  EXPECT_GE(std::stoi(Field(summary, "snapshots")), 2);  // screens: pictures and redraws
  EXPECT_EQ(Field(lines.front(), "type"), "status");
  const auto png = test::ReadFileBytes(dir_.File("snaps/screen-000001.png"));
  ASSERT_GT(png.size(), 24u);
  EXPECT_EQ(Be(png, 16), 640u);
  EXPECT_EQ(Be(png, 20), 448u);

  // Fast forward skips through a longer recording.
  Synth("long.NDF", "--channels 4 --seconds 30 --quality 2");
  const Result fast = Run("play long.NDF --json --speed 32");
  ASSERT_EQ(fast.code, 0) << fast.err;
  EXPECT_NE(Field(fast.Lines().back(), "jumps"), "0");
  EXPECT_EQ(Run("play demo.NDF --speed 3").code, 2);
  EXPECT_EQ(Run("play demo.NDF --split 5").code, 2);
  EXPECT_EQ(Run("play missing.NDF").code, 1);
}

TEST_F(DvrtoolTest, PlayStartsAtATime) {
  if (Run("play --help").out.find("--start") == std::string::npos) {
    GTEST_SKIP() << "this build has no Qt, so no play";
  }
  Synth("demo.NDF", "--channels 4 --seconds 4");
  Result r = Run("play demo.NDF --json --start '2026-03-01 10:00:03'");
  ASSERT_EQ(r.code, 0) << r.err;
  const std::string summary = r.Lines().back();
  EXPECT_EQ(Field(summary, "ended"), "end");
  EXPECT_EQ(Field(r.Lines().front(), "time"), "2026-03-01 10:00:03");
  // Only the last second is played: about 30 of the 120 pictures.
  EXPECT_GT(std::stoi(Field(summary, "pictures_shown")), 0);
  EXPECT_LT(std::stoi(Field(summary, "pictures_shown")), 40);

  // To a time: from the first second to the end of the second, about 60 pictures, none later.
  r = Run("play demo.NDF --json --start '2026-03-01 10:00:01' --end '2026-03-01 10:00:02'");
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(Field(r.Lines().back(), "ended"), "end");
  EXPECT_GT(std::stoi(Field(r.Lines().back(), "pictures_shown")), 40);
  EXPECT_LT(std::stoi(Field(r.Lines().back(), "pictures_shown")), 70);
  EXPECT_EQ(Field(r.Lines()[r.Lines().size() - 2], "time"), "2026-03-01 10:00:02");
  EXPECT_EQ(Run("play demo.NDF --start '2026-03-01 10:00:03' --end '2026-03-01 10:00:01'").code, 2);

  r = Run("play demo.NDF --start '2026-03-01 10:00:05'");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("no block at or after that time"), std::string::npos) << r.err;
  EXPECT_EQ(Run("play demo.NDF --start noon").code, 2);
}

TEST_F(DvrtoolTest, SimServesALoginAndLogsWhatTheClientSends) {
  EXPECT_EQ(Run("sim --password pw --synthetic 17").code, 2);
  EXPECT_EQ(Run("sim --password pw --synthetic 4 --source x.NDF").code, 2);
  EXPECT_EQ(Run("sim --password pw --source missing.NDF").code, 1);
  EXPECT_EQ(Run("sim --password pw --name toolongname --ddns-port 0").code, 2);

  // In the background for three seconds; its first line tells the port.
  const std::string tool = DVRTOOL_PATH;
  const std::string out = dir_.File("sim.out");
  ASSERT_EQ(std::system(("'" + tool + "' sim --port 0 --password pw --seconds 3 --json --log '" + dir_.File("sim.log") +
                         "' >'" + out + "' 2>&1 &").c_str()), 0);
  std::string port;
  ASSERT_TRUE(test::WaitFor([&] {
    port = Field(ReadText(out), "port");
    return port != "<missing>";
  }));
  net::NetClient client(platform::SystemClock());
  client.SetDirect("127.0.0.1", static_cast<uint16_t>(std::stoi(port)), "pw");
  ASSERT_TRUE(client.Start());
  ASSERT_TRUE(test::WaitFor([&] { return client.LoggedIn(); }));
  EXPECT_TRUE(client.SendKey(5));
  ASSERT_TRUE(test::WaitFor([&] { return client.Traffic().video_frames > 3; }));
  client.Stop();
  ASSERT_TRUE(test::WaitFor([&] { return ReadText(out).find("summary") != std::string::npos; }));
  const std::string log = ReadText(dir_.File("sim.log"));
  EXPECT_EQ(log, "connect\nlogin accepted\nkey 5\nlogout\n");
  const Result finished{0, ReadText(out), ""};
  EXPECT_EQ(Field(finished.Lines().back(), "logins"), "1");
}

TEST_F(DvrtoolTest, ConnectRunsALiveSession) {
  if (Run("connect --help").out.find("--mouse-mode") == std::string::npos) {
    GTEST_SKIP() << "this build has no Qt, so no connect";
  }
  sim::SyntheticLiveSource source(4, 30, false, 4);
  sim::DvrSimOptions options;
  options.password = "secret";
  options.status_every = 0.3;
  sim::DvrSimulator dvr(options, source);
  std::string error;
  ASSERT_TRUE(dvr.Start(error)) << error;
  const std::string target = "127.0.0.1:" + std::to_string(dvr.Port());

  Result r = Run("connect " + target + " --password secret --seconds 1.5 --json --key 11 --key 300 --record rec "
                 "--snapshot shot.png");
  ASSERT_EQ(r.code, 0) << r.err;
  const auto lines = r.Lines();
  std::vector<std::string> statuses;
  bool login = false, report = false, traffic = false;
  for (const auto& line : lines) {
    const std::string type = Field(line, "type");
    if (type == "status") statuses.push_back(Field(line, "status") + " " + Field(line, "name"));
    login |= type == "login" && Field(line, "result") == "accepted";
    report |= type == "report";
    traffic |= type == "traffic" && Field(line, "video_frames") != "0";
  }
  EXPECT_EQ(statuses, (std::vector<std::string>{"1 connecting", "2 logging in", "3 logged in", "0 idle"}));
  EXPECT_TRUE(login);
  EXPECT_TRUE(report);
  EXPECT_TRUE(traffic);
  const std::string& summary = lines.back();
  EXPECT_EQ(Field(summary, "type"), "summary");
  EXPECT_NE(Field(summary, "pictures_shown"), "0");
  EXPECT_EQ(Field(summary, "lost"), "0");
  const std::string recording = Field(summary, "recording");
  ASSERT_NE(recording, "null");
  EXPECT_TRUE(std::regex_match(recording, std::regex(R"(rec/\d{8}-\d{6}\.NDF)"))) << recording;
  const Result info = Run("info " + recording + " --json");
  ASSERT_EQ(info.code, 0) << info.err;
  const auto bytes = test::ReadFileBytes(dir_.File("shot.png"));
  ASSERT_GT(bytes.size(), 24u);
  EXPECT_EQ(bytes[1], 'P');
  ASSERT_TRUE(test::WaitFor([&] { return dvr.Log().back() == "logout"; }));
  const auto log = dvr.Log();
  EXPECT_NE(std::find(log.begin(), log.end(), "key 11"), log.end());
  EXPECT_NE(std::find(log.begin(), log.end(), "key 44"), log.end());

  r = Run("connect " + target + " --password wrong");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "dvrtool: Incorrect password.\n");
  EXPECT_EQ(Run("connect " + target + " --password x --mouse-mode 3").code, 2);
  EXPECT_EQ(Run("connect --password x").code, 2);
  EXPECT_EQ(Run("connect 127.0.0.1:99999 --password x").code, 2);
}

// A session that fails exits 1 with the reason: the DVR's disconnect notice, or the time running
// out before the login is answered.
TEST_F(DvrtoolTest, ConnectFailsOnADisconnectOrWithoutALogin) {
  if (Run("connect --help").out.find("--mouse-mode") == std::string::npos) {
    GTEST_SKIP() << "this build has no Qt, so no connect";
  }
  sim::SyntheticLiveSource source(1, 30, false, 4);
  const auto connect = [&](sim::DvrSimOptions options, const std::string& arguments) {
    options.password = "secret";
    sim::DvrSimulator dvr(options, source);
    std::string error;
    EXPECT_TRUE(dvr.Start(error)) << error;
    return Run("connect 127.0.0.1:" + std::to_string(dvr.Port()) + " --password secret " + arguments);
  };
  sim::DvrSimOptions disconnecting;
  disconnecting.disconnect_after_ms = 300;
  Result r = connect(disconnecting, "--seconds 10");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "dvrtool: Disconnected by server.\n");

  sim::DvrSimOptions silent;
  silent.never_answer = true;
  r = connect(silent, "--seconds 0.5 --timeout 30000");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "dvrtool: No response from server.\n");
  EXPECT_EQ(r.Lines().back(), "status 0 idle");
}

// Pixels of the label colour (0x80FFFF: red and green full, blue half) in a rectangle of a
// top-down frame.
int LabelPixels(const std::vector<uint8_t>& bgr, int width, int x0, int y0, int x1, int y1) {
  int n = 0;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      const uint8_t* p = &bgr[static_cast<size_t>((y * width + x) * 3)];
      n += p[2] > 200 && p[1] > 200 && p[0] > 90 && p[0] < 170;
    }
  }
  return n;
}

TEST_F(DvrtoolTest, ExportComposesTheSplitScreenWithSound) {
  if (Run("export --help").out.find("--keyint") == std::string::npos) {
    GTEST_SKIP() << "this build has no Qt, so no export";
  }
  Synth("demo.NDF", "--channels 4 --seconds 4 --audio");
  Result r = Run("export demo.NDF -o demo.avi --json");
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(Field(r.Lines().back(), "frames"), "30");  // 120 pictures of four channels, a frame a round
  test::ProbedFile file = test::ProbeFile(dir_.File("demo.avi"));
  ASSERT_TRUE(file.ok);
  EXPECT_EQ(file.container, "avi");
  ASSERT_NE(file.Video(), nullptr);
  EXPECT_EQ(file.Video()->codec, "mjpeg");
  EXPECT_EQ(file.Video()->width, 640);
  EXPECT_EQ(file.Video()->height, 448);
  EXPECT_EQ(file.Video()->frames, 30);
  ASSERT_NE(file.Audio(), nullptr);
  EXPECT_EQ(file.Audio()->codec, "pcm_alaw");
  EXPECT_EQ(file.Audio()->samples, 80 * 400);  // four seconds of 8000 samples
  // 60 / (pacing 1 + 1) / 4 channels = 7.5 pictures a second, exactly: the 30 frames last as long
  // as the sound.
  auto video = test::FfprobeStream(dir_.File("demo.avi"), "v:0");
  EXPECT_EQ(video["r_frame_rate"], "15/2");
  ASSERT_FALSE(video["duration"].empty());
  EXPECT_NEAR(std::stod(video["duration"]), file.Audio()->samples / 8000.0, 1 / 7.5);
  int width = 0, height = 0;
  const auto frame = test::FrameBgr(dir_.File("demo.avi"), 10, width, height);
  ASSERT_EQ(width, 640);
  // Every quarter carries its channel's label at its top left.
  for (auto [x, y] : {std::pair{0, 0}, {320, 0}, {0, 224}, {320, 224}}) {
    EXPECT_GT(LabelPixels(frame, width, x, y, x + 200, y + 20), 20) << x << "," << y;
  }

  // One channel full-frame, no labels, no sound; and the time span of the first two seconds.
  r = Run("export demo.NDF -o one.avi --channel 1 --no-labels --no-audio --codec ffv1");
  ASSERT_EQ(r.code, 0) << r.err;
  file = test::ProbeFile(dir_.File("one.avi"));
  EXPECT_EQ(file.streams.size(), 1u);
  EXPECT_EQ(file.Video()->codec, "ffv1");
  EXPECT_EQ(file.Video()->frames, 30);
  const auto single = test::FrameBgr(dir_.File("one.avi"), 3, width, height);
  EXPECT_EQ(LabelPixels(single, width, 0, 0, 200, 20), 0);
  r = Run("export demo.NDF -o span.avi --start '2026-03-01 10:00:00' --end '2026-03-01 10:00:01' --json");
  ASSERT_EQ(r.code, 0) << r.err;
  ASSERT_GE(r.Lines().size(), 2u);
  EXPECT_EQ(Field(r.Lines().back(), "type"), "evidence");
  const std::string evidence = ReadText(dir_.File("span.avi.json"));
  EXPECT_EQ(Field(evidence, "file"), "span.avi");
  EXPECT_EQ(Field(evidence, "first_picture"), "2026-03-01 10:00:00");
  EXPECT_EQ(Field(evidence, "last_picture"), "2026-03-01 10:00:01");
  EXPECT_EQ(Field(evidence, "first_byte"), "0");
  EXPECT_TRUE(std::filesystem::exists(dir_.File("span.avi.sha256")));
  EXPECT_FALSE(std::filesystem::exists(dir_.File("demo.avi.json")));  // whole recordings: none
  const int span_frames = std::stoi(Field(r.Lines()[r.Lines().size() - 2], "frames"));
  EXPECT_GT(span_frames, 5);
  EXPECT_LT(span_frames, 30);
  EXPECT_FALSE(std::ifstream(dir_.File("span.avi.range.NDF")).good());

  // MP4 gets H.264 (or MPEG-4) and AAC.
  r = Run("export demo.NDF -o demo.mp4");
  ASSERT_EQ(r.code, 0) << r.err;
  file = test::ProbeFile(dir_.File("demo.mp4"));
  ASSERT_NE(file.Video(), nullptr);
  EXPECT_TRUE(file.Video()->codec == "h264" || file.Video()->codec == "mpeg4") << file.Video()->codec;
  ASSERT_NE(file.Audio(), nullptr);
  EXPECT_EQ(file.Audio()->codec, "aac");

  // Failures leave nothing behind.
  EXPECT_EQ(Run("export demo.NDF -o x.avi --codec nope").code, 2);
  EXPECT_EQ(Run("export demo.NDF -o x.avi --split 5").code, 2);
  EXPECT_EQ(Run("export demo.NDF -o x.avi --quality 3 --bitrate 100000").code, 2);
  r = Run("export demo.NDF -o no/such/folder/x.avi");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("cannot export"), std::string::npos);
  EXPECT_EQ(Run("export missing.NDF -o x.avi").code, 1);
  EXPECT_FALSE(std::ifstream(dir_.File("x.avi")).good());
}

TEST_F(DvrtoolTest, DecodeWritesTheStillImageFile) {
  Synth("demo.NDF", "--channels 1 --seconds 1");
  ASSERT_EQ(Run("decode demo.NDF --index 0 --double -o still.bmp").code, 0);
  const auto bmp = test::ReadFileBytes(dir_.File("still.bmp"));
  ASSERT_EQ(bmp.size(), 14u + 40 + 640 * 448 * 3);
  EXPECT_EQ(bmp[10], 54);  // 24 bits, no colour table
  EXPECT_EQ(Le(bmp, 18, 4), 640u);
  EXPECT_EQ(Le(bmp, 22, 4), 448u);
}

TEST_F(DvrtoolTest, ErrorsAreOneClearLine) {
  Result r = Run("frames missing.NDF");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "dvrtool: cannot open missing.NDF\n");
  EXPECT_EQ(Run("frames").code, 2);
  EXPECT_EQ(Run("frames x.NDF --bogus").code, 2);
  EXPECT_EQ(Run("nosuchcommand").code, 2);
  Synth("demo.NDF", "--seconds 1");
  r = Run("frames demo.NDF --variant QM_NOPE");
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.err.find("unknown video variant"), std::string::npos);
  EXPECT_EQ(Run("synth -o x.NDF --channels 17").code, 2);
  EXPECT_EQ(Run("synth -o /nonexistent/dir/x.NDF").code, 1);
  EXPECT_EQ(Run("frames . --disk").code, 1);
}

// --- Unattended recording.

// The simulator's pictures as they leave, by frame counter (the synthetic source counts from 0).
class SentPictures final : public sim::LiveSource {
 public:
  explicit SentPictures(sim::LiveSource& inner) : inner_(inner) {}
  bool Next(sim::LiveUnit& unit) override {
    if (!inner_.Next(unit)) return false;
    std::lock_guard lock(mutex_);
    if (unit.is_video) sent_.push_back(unit.bytes);
    return true;
  }
  std::vector<std::vector<uint8_t>> Sent() const {
    std::lock_guard lock(mutex_);
    return sent_;
  }

 private:
  sim::LiveSource& inner_;
  mutable std::mutex mutex_;
  std::vector<std::vector<uint8_t>> sent_;
};

// A DVR streaming `pictures` synthetic pictures (a full one every 30) at `fps`, then nothing.
struct CountedDvr {
  CountedDvr(uint64_t pictures, double fps) : source(4, fps, false, 4), sent(source) {
    sim::DvrSimOptions options;
    options.password = "secret";
    options.fps = fps;
    options.video_limit = pictures;
    dvr = std::make_unique<sim::DvrSimulator>(options, sent);
    std::string error;
    EXPECT_TRUE(dvr->Start(error)) << error;
  }
  std::string Target() const { return "127.0.0.1:" + std::to_string(dvr->Port()); }

  sim::SyntheticLiveSource source;
  SentPictures sent;
  std::unique_ptr<sim::DvrSimulator> dvr;
};

class RecordingTest : public DvrtoolTest {
 protected:
  void SetUp() override {
    if (Run("connect --help").out.find("--no-display") == std::string::npos) {
      GTEST_SKIP() << "this build has no Qt, so no connect";
    }
  }
  // dvrtool connect in the background with --json (output in NAME.out); its process id.
  int StartConnect(const std::string& name, const std::string& args, const std::string& environment = "") {
    const std::string tool = DVRTOOL_PATH;
    const std::string command = "( cd '" + dir_.Path() + "' && exec env " + environment + " '" + tool +
                                "' connect --json " + args + " >'" + name + ".out' 2>'" + name + ".err' ) & echo $! >'" +
                                dir_.File(name + ".pid") + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    return std::stoi(ReadText(dir_.File(name + ".pid")));
  }
  // Waits until the session has received every one of `pictures` (but the last, which no next
  // start code ends) and then a second has passed with nothing, so that the live loop has written
  // all it got; ends it as Ctrl+C does, before the client's time-out would log in again.
  void FinishWhenStreamEnds(int pid, const std::string& name, uint64_t pictures) {
    const auto settled = [&] {
      uint64_t received = 0;
      bool quiet_after = false;
      std::istringstream in(ReadText(dir_.File(name + ".out")));
      for (std::string line; std::getline(in, line);) {
        if (Field(line, "type") != "traffic") continue;
        const uint64_t frames = std::stoull(Field(line, "video_frames"));
        quiet_after |= received + 1 >= pictures && frames == 0;
        received += frames;
      }
      return quiet_after;
    };
    ASSERT_TRUE(test::WaitFor(settled, 60000)) << ReadText(dir_.File(name + ".err"));
    ::kill(pid, SIGINT);
    ASSERT_TRUE(test::WaitFor([&] { return ReadText(dir_.File(name + ".out")).find("summary") != std::string::npos; }));
  }
  // The video frames of a recording as they lie in the file.
  std::vector<std::vector<uint8_t>> RecordedPictures(const std::string& path) {
    const Result r = Run("frames '" + path + "' --json");
    EXPECT_EQ(r.code, 0) << r.err;
    const auto bytes = test::ReadFileBytes(path);
    std::vector<std::vector<uint8_t>> pictures;
    for (const auto& line : r.Lines()) {
      if (Field(line, "type") != "video") continue;
      pictures.push_back(StreamBytes(bytes, std::stoull(Field(line, "offset")), std::stoul(Field(line, "length"))));
    }
    return pictures;
  }
  // The recordings in a folder, by name (the time each began).
  std::vector<std::string> Recordings(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.File(folder))) {
      names.push_back(entry.path().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  // Every picture recorded in the files, in order, must be the one sent with its frame counter,
  // consecutive from a full picture to the last one sent but one (unfinished while no next start
  // code comes): nothing lost, nothing twice.
  void ExpectAllSentFromAFullPicture(const std::vector<std::string>& files,
                                     const std::vector<std::vector<uint8_t>>& sent) {
    std::vector<std::vector<uint8_t>> recorded;
    for (const auto& file : files) {
      const auto pictures = RecordedPictures(file);
      ASSERT_FALSE(pictures.empty()) << file;
      EXPECT_EQ(pictures.front()[3], media::kVideoStartFlagged) << file << " opens without a full picture";
      recorded.insert(recorded.end(), pictures.begin(), pictures.end());
    }
    ASSERT_FALSE(recorded.empty());
    const size_t first = static_cast<size_t>(recorded[0][5] << 8 | recorded[0][6]);
    ASSERT_EQ(first + recorded.size() + 1, sent.size()) << "recorded from picture " << first;
    for (size_t i = 0; i < recorded.size(); ++i) {
      const auto& sent_picture = sent[first + i];
      ASSERT_EQ(recorded[i].size(), sent_picture.size()) << "picture " << first + i;
      // The header's flag and counter bytes are rewritten for the file; the rest is as sent.
      EXPECT_EQ(recorded[i][5] << 8 | recorded[i][6], static_cast<int>((first + i) & 0xFFFF));
      EXPECT_TRUE(std::equal(recorded[i].begin() + 7, recorded[i].end(), sent_picture.begin() + 7))
          << "picture " << first + i;
    }
  }
};

// 7.5 s of pictures cut every 3 s: three files that hold, read back, every picture sent from the
// first full one on, in order, once; each file opens with a full picture. The password comes from
// the environment and is nowhere in the running process's command line.
TEST_F(RecordingTest, RotationCutsBetweenPicturesWithoutLosingOne) {
  constexpr uint64_t kPictures = 225;
  CountedDvr dvr(kPictures, 30);
  const int pid = StartConnect("rotate", dvr.Target() + " --record rec --rotate 0.05 --no-display",
                               "DVR_PASSWORD=secret");
  ASSERT_TRUE(test::WaitFor([&] { return ReadText(dir_.File("rotate.out")).find("recording") != std::string::npos; },
                            30000));
  std::string cmdline = ReadText("/proc/" + std::to_string(pid) + "/cmdline");
  std::replace(cmdline.begin(), cmdline.end(), '\0', ' ');
  EXPECT_NE(cmdline.find("connect"), std::string::npos) << cmdline;
  EXPECT_EQ(cmdline.find("secret"), std::string::npos) << cmdline;
  FinishWhenStreamEnds(pid, "rotate", kPictures);

  const auto files = Recordings("rec");
  ASSERT_EQ(files.size(), 3u);
  ExpectAllSentFromAFullPicture(files, dvr.sent.Sent());
  const std::string out = ReadText(dir_.File("rotate.out"));
  for (const auto& file : files) {
    const std::string name = std::filesystem::path(file).filename().string();
    EXPECT_NE(out.find("\"path\":\"rec/" + name + "\""), std::string::npos) << name << " never announced";
  }
}

// Without pictures the session records exactly what it records with them: every picture sent.
TEST_F(RecordingTest, NoDisplayRecordsTheSamePictures) {
  constexpr uint64_t kPictures = 90;
  CountedDvr shown(kPictures, 60), hidden(kPictures, 60);
  const int shown_pid = StartConnect("shown", shown.Target() + " --record shown", "DVR_PASSWORD=secret");
  const int hidden_pid = StartConnect("hidden", hidden.Target() + " --record hidden --no-display", "DVR_PASSWORD=secret");
  FinishWhenStreamEnds(shown_pid, "shown", kPictures);
  FinishWhenStreamEnds(hidden_pid, "hidden", kPictures);
  const std::string shown_summary = ReadText(dir_.File("shown.out"));
  const std::string hidden_summary = ReadText(dir_.File("hidden.out"));
  EXPECT_NE(Field(shown_summary.substr(shown_summary.rfind("{")), "pictures_shown"), "0");
  EXPECT_EQ(Field(hidden_summary.substr(hidden_summary.rfind("{")), "pictures_shown"), "0");
  ExpectAllSentFromAFullPicture(Recordings("shown"), shown.sent.Sent());
  ExpectAllSentFromAFullPicture(Recordings("hidden"), hidden.sent.Sent());
  EXPECT_EQ(RecordedPictures(Recordings("shown")[0]), RecordedPictures(Recordings("hidden")[0]));
}

void SetAge(const std::string& path, int days) {
  const timespec then{std::time(nullptr) - days * 86400, 0};
  const timespec times[2] = {then, then};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
}

// Of a folder's old files only the recordings this tool names and writes go: not other names,
// not a folder, not a symbolic link (nor what it points to), not a fresh recording.
TEST_F(RecordingTest, RetentionRemovesOnlyItsOwnExpiredRecordings) {
  CountedDvr dvr(30, 30);
  std::filesystem::create_directories(dir_.File("rec/20200101-000000.NDF.d"));
  const std::vector<std::string> old_keep = {"20200101-000000.ndf", "20200101-000000.NDF.bak", "x20200101-000000.NDF",
                                             "2020011-000000.NDF", "notes.txt", "20200101-000000.NDF.d"};
  const std::vector<std::string> old_remove = {"20200101-000000.NDF", "20200102-235959.NDF"};
  for (const auto& name : old_keep) {
    if (name.find(".d") == std::string::npos) dir_.Write("rec/" + name, {1, 2, 3});
  }
  for (const auto& name : old_remove) dir_.Write("rec/" + name, {1, 2, 3});
  dir_.Write("rec/20260101-000000.NDF", {1});  // fresh
  dir_.Write("target.NDF", {1});
  std::filesystem::create_symlink(dir_.File("target.NDF"), dir_.File("rec/20200103-000000.NDF"));
  for (const auto& name : old_keep) SetAge(dir_.File("rec/" + name), 10);
  for (const auto& name : old_remove) SetAge(dir_.File("rec/" + name), 10);
  SetAge(dir_.File("target.NDF"), 10);
  SetAge(dir_.File("rec/20200103-000000.NDF"), 10);
  SetAge(dir_.File("rec/20260101-000000.NDF"), 2);  // younger than the limit

  const Result r = Run("connect " + dvr.Target() + " --record rec --keep-days 3 --seconds 1.5", "DVR_PASSWORD=secret");
  ASSERT_EQ(r.code, 0) << r.err;
  for (const auto& name : old_remove) {
    EXPECT_FALSE(std::filesystem::exists(dir_.File("rec/" + name))) << name;
    EXPECT_NE(r.err.find("removed expired rec/" + name), std::string::npos) << r.err;
  }
  for (const auto& name : old_keep) EXPECT_TRUE(std::filesystem::exists(dir_.File("rec/" + name))) << name;
  EXPECT_TRUE(std::filesystem::is_symlink(dir_.File("rec/20200103-000000.NDF")));
  EXPECT_TRUE(std::filesystem::exists(dir_.File("target.NDF")));
  EXPECT_TRUE(std::filesystem::exists(dir_.File("rec/20260101-000000.NDF")));
  EXPECT_EQ(Run("connect " + dvr.Target() + " --keep-days 3", "DVR_PASSWORD=secret").code, 2);  // no --record
}

// The password from a file (first line, any line end) or the environment; exactly one source.
TEST_F(RecordingTest, PasswordFromAFileOrTheEnvironment) {
  CountedDvr dvr(1000000, 30);
  const std::string target = dvr.Target();
  const auto write = [&](const std::string& name, const std::string& text, mode_t mode) {
    std::ofstream(dir_.File(name)) << text;
    ::chmod(dir_.File(name).c_str(), mode);
  };
  write("pw", "secret\n", 0600);
  write("pw-crlf", "secret\r\nsecond line\n", 0600);
  write("pw-shared", "secret", 0644);
  write("pw-wrong", "wrong\n", 0600);
  const auto connect = [&](const std::string& args, const std::string& environment = "") {
    return Run("connect " + target + " --seconds 1.5 " + args, environment);
  };

  Result r = connect("--password-file pw");
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(connect("--password-file pw-crlf").code, 0);
  r = connect("--password-file pw-shared");
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.err.find("warning: pw-shared can be read by other users"), std::string::npos) << r.err;
  r = connect("--password-file pw-wrong");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "dvrtool: Incorrect password.\n");
  EXPECT_EQ(connect("", "DVR_PASSWORD=secret").code, 0);
  EXPECT_EQ(connect("", "DVR_PASSWORD_FILE=pw").code, 0);
  EXPECT_EQ(connect("--password-file pw", "DVR_PASSWORD=").code, 0);  // empty: not set
  EXPECT_EQ(connect("--password-file missing").code, 1);
  // An empty file is an empty password, given on purpose: the DVR judges it.
  write("pw-empty", "", 0600);
  r = connect("--password-file pw-empty");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "dvrtool: Incorrect password.\n");

  r = connect("");
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.err.find("no password"), std::string::npos) << r.err;
  r = connect("--password secret", "DVR_PASSWORD=secret");
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.err.find("more than one password"), std::string::npos) << r.err;
  EXPECT_EQ(connect("--password-file pw", "DVR_PASSWORD_FILE=pw").code, 2);
  EXPECT_EQ(connect("--password secret --password-file pw").code, 2);
}

// The service unit as systemd reads it, with ExecStart on this build's dvrtool.
TEST_F(DvrtoolTest, RecordingServiceUnitVerifies) {
  if (std::system("command -v systemd-analyze >/dev/null 2>&1") != 0) GTEST_SKIP() << "no systemd-analyze";
  std::string unit = ReadText(std::string(DVR_SOURCE_DIR) + "/packaging/systemd/dvr-record@.service");
  const std::string installed = "/usr/bin/dvrtool ";
  const size_t at = unit.find("ExecStart=" + installed);
  ASSERT_NE(at, std::string::npos);
  unit.replace(at + 10, installed.size() - 1, DVRTOOL_PATH);
  std::ofstream(dir_.File("dvr-record@.service")) << unit;
  // The man page comes with the installed package, not with the build.
  const Result r{std::system(("systemd-analyze verify --man=no '" + dir_.File("dvr-record@.service") + "' >'" +
                              dir_.File("verify.out") + "' 2>&1").c_str()),
                 ReadText(dir_.File("verify.out")), ""};
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_EQ(r.out, "");
}

}  // namespace
}  // namespace dvr
