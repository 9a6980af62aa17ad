// Evidence files beside an export, read back as someone checking them would.
#include "export/evidence.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "codec/frame_decoder.h"
#include "media/ndf_format.h"
#include "platform/local_time.h"
#include "platform/md5.h"
#include "platform/version.h"
#include "support/ndf_builder.h"
#include "support/temp_dir.h"

namespace dvr::exporting {
namespace {

using media::kPayloadSize;

// A strict reader of one flat JSON object: string values decoded, anything else as its text.
// Fails the test on anything that is not JSON.
class FlatJson {
 public:
  explicit FlatJson(const std::string& text) : text_(text) {
    Skip();
    Expect('{');
    while (ok_) {
      Skip();
      const std::string key = String();
      Skip();
      Expect(':');
      Skip();
      values_[key] = Peek() == '"' ? String() : Raw();
      Skip();
      if (Peek() != ',') break;
      ++at_;
    }
    Expect('}');
    Skip();
    if (at_ != text_.size()) ok_ = false;
  }
  bool ok() const { return ok_; }
  const std::map<std::string, std::string>& values() const { return values_; }

 private:
  char Peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }
  void Skip() {
    while (at_ < text_.size() && std::string_view(" \n\r\t").find(text_[at_]) != std::string::npos)
      ++at_;
  }
  void Expect(char c) {
    if (Peek() != c) ok_ = false;
    ++at_;
  }
  std::string String() {
    Expect('"');
    std::string out;
    while (ok_ && Peek() != '"') {
      const auto c = static_cast<unsigned char>(text_[at_++]);
      if (c < 0x20 || at_ > text_.size()) ok_ = false;
      if (c != '\\') {
        out += char(c);
        continue;
      }
      const char e = text_[at_++];
      const std::map<char, char> simple{{'"', '"'},  {'\\', '\\'}, {'/', '/'},  {'n', '\n'},
                                        {'t', '\t'}, {'r', '\r'},  {'b', '\b'}, {'f', '\f'}};
      if (simple.count(e)) {
        out += simple.at(e);
      } else if (e == 'u' && at_ + 4 <= text_.size()) {
        const unsigned code = std::stoul(text_.substr(at_, 4), nullptr, 16);
        at_ += 4;
        if (code >= 0xD800 && code < 0xE000) ok_ = false;  // pairs are not needed here
        if (code < 0x80) {
          out += char(code);
        } else if (code < 0x800) {
          out += char(0xC0 | code >> 6);
          out += char(0x80 | (code & 0x3F));
        } else {
          out += char(0xE0 | code >> 12);
          out += char(0x80 | (code >> 6 & 0x3F));
          out += char(0x80 | (code & 0x3F));
        }
      } else {
        ok_ = false;
      }
    }
    Expect('"');
    return out;
  }
  std::string Raw() {
    const size_t start = at_;
    int depth = 0;
    while (at_ < text_.size() && (depth > 0 || (Peek() != ',' && Peek() != '}'))) {
      depth += Peek() == '[' ? 1 : Peek() == ']' ? -1 : 0;
      ++at_;
    }
    std::string raw = text_.substr(start, at_ - start);
    while (!raw.empty() && std::isspace(static_cast<unsigned char>(raw.back()))) raw.pop_back();
    return raw;
  }

  std::string text_;
  size_t at_ = 0;
  bool ok_ = true;
  std::map<std::string, std::string> values_;
};

std::string ReadText(const std::string& path) {
  const auto bytes = test::ReadFileBytes(path);
  return {bytes.begin(), bytes.end()};
}

std::string OneShotSha256(const std::vector<uint8_t>& bytes) {
  uint8_t digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha256(), nullptr);
  return platform::DigestHex(digest, length);
}

uint32_t TimeField(const char* text) {
  return *media::ToTimeField(*media::ParseFrameTime(text), platform::StandardBiasSeconds());
}

// Twelve blocks, ten seconds apart: the first picture's start code ends block 0 and its channel
// byte opens block 1; a picture of channel 9 lies in a bad block; sound follows the last picture.
struct Recording {
  std::vector<uint8_t> image;
  size_t last_picture_block = 0;
};

Recording MakeRecording() {
  test::NdfBuilder builder;
  builder.FillTo(kPayloadSize - 4).Append(test::VideoFrame(2, 3000));
  builder.Append(test::AudioFrame(1, 400)).Append(test::VideoFrame(5, 2000));
  builder.FillTo(5 * kPayloadSize + 100).Append(test::VideoFrame(9, 500));
  builder.FillTo(7 * kPayloadSize + 10);
  Recording recording;
  recording.last_picture_block = builder.StreamSize() / kPayloadSize;
  builder.Append(test::VideoFrame(7, 3000)).Append(test::AudioFrame(3, 300));
  builder.FillTo(12 * kPayloadSize - 1);
  recording.image = builder.Build();
  for (size_t i = 0; i < 12; ++i) {
    test::RestampBlock(recording.image, i, TimeField("2026-03-01 10:00:00") + 10 * uint32_t(i));
  }
  test::CorruptBlock(recording.image, 5);
  return recording;
}

class EvidenceTest : public ::testing::Test {
 protected:
  test::TempDir dir_;
};

TEST_F(EvidenceTest, RecordingFactsComeFromItsPictures) {
  const Recording recording = MakeRecording();
  ASSERT_EQ(recording.last_picture_block, 7u);
  EvidenceFacts facts;
  ASSERT_TRUE(ReadRecordingFacts(dir_.Write("r.NDF", recording.image), 4, facts));
  ASSERT_TRUE(facts.first_picture && facts.last_picture);
  EXPECT_EQ(media::FormatFrameTime(*facts.first_picture), "2026-03-01 10:00:00");
  EXPECT_EQ(media::FormatFrameTime(*facts.last_picture), "2026-03-01 10:01:10");
  EXPECT_EQ(facts.video_channels, (1u << 2) | (1u << 5) | (1u << 7));  // 9 is in the bad block
  EXPECT_EQ(facts.audio_channels, (1u << 1) | (1u << 3));
  // The channel is where the recorder's header layout puts it: variant 0 has three bits for it
  // (channels above 3 are channel 0), variant 2 records one camera.
  ASSERT_TRUE(ReadRecordingFacts(dir_.File("r.NDF"), 0, facts));
  EXPECT_EQ(facts.video_channels, (1u << 2) | 1u);
  ASSERT_TRUE(ReadRecordingFacts(dir_.File("r.NDF"), 2, facts));
  EXPECT_EQ(facts.video_channels, 1u);

  // Sound alone, or no frame at all: no picture.
  auto sound = test::NdfBuilder().Append(test::AudioFrame(0, 300)).FillTo(3 * kPayloadSize).Build();
  EXPECT_FALSE(ReadRecordingFacts(dir_.Write("sound.NDF", sound), 4, facts));
  EXPECT_FALSE(facts.first_picture || facts.last_picture);
  EXPECT_EQ(facts.audio_channels, 1u);
  EXPECT_FALSE(ReadRecordingFacts(dir_.File("missing.NDF"), 4, facts));
}

// Two-channel frames name both halves, less those marked absent.
TEST(HeaderChannels, BothHalvesOfATwoChannelFrame) {
  EXPECT_EQ(codec::HeaderChannels(5, 3, 0x80 | 9 << 3), (1u << 3) | (1u << 9));
  EXPECT_EQ(codec::HeaderChannels(5, 3, 0x80 | 9 << 3 | 0x04), 1u << 9);
  EXPECT_EQ(codec::HeaderChannels(5, 3, 0x80 | 9 << 3 | 0x02), 1u << 3);
  EXPECT_EQ(codec::HeaderChannels(5, 3, 9 << 3), 1u << 3);  // one channel: byte 5 says nothing
  EXPECT_EQ(codec::HeaderChannels(4, 0x5B, 0xFF), 1u << 11);
}

TEST_F(EvidenceTest, ChecksumAndDescriptionOfAHostileFileName) {
  const Recording recording = MakeRecording();
  const std::string name = "clip \"1\"\\b\nété.NDF";
  const std::string output = dir_.Write(name, recording.image);
  EvidenceFacts facts;
  ASSERT_TRUE(ReadRecordingFacts(output, 4, facts));
  facts.source_path = "disk \"A\"\\\n\tcopy\x01 \xff.img";  // relative, and not UTF-8
  facts.source_size = 1234567;
  facts.first_byte = 4096;
  facts.last_byte = 53247;
  std::string error;
  ASSERT_TRUE(WriteEvidence(output, facts, error)) << error;

  const std::string hex = OneShotSha256(recording.image);
  ASSERT_EQ(Sha256OfFile(output), hex);
  EXPECT_FALSE(Sha256OfFile(dir_.File("missing")));
  EXPECT_FALSE(Sha256OfFile(dir_.Path()));

  if (std::system("command -v sha256sum >/dev/null 2>&1") == 0) {
    const std::string check =
        "cd '" + dir_.Path() + "' && sha256sum --quiet -c '" + name + ".sha256' >/dev/null 2>&1";
    EXPECT_EQ(std::system(check.c_str()), 0) << ReadText(output + ".sha256");
    test::TempDir other;  // a changed copy fails the check
    auto changed = recording.image;
    changed[5000] ^= 1;
    other.Write(name, changed);
    std::filesystem::copy_file(output + ".sha256", other.File(name + ".sha256"));
    const std::string recheck =
        "cd '" + other.Path() + "' && sha256sum --quiet -c '" + name + ".sha256' >/dev/null 2>&1";
    EXPECT_NE(std::system(recheck.c_str()), 0);
  }

  const FlatJson json(ReadText(output + ".json"));
  ASSERT_TRUE(json.ok()) << ReadText(output + ".json");
  const auto& v = json.values();
  EXPECT_EQ(v.at("file"), name);
  EXPECT_EQ(v.at("sha256"), hex);
  EXPECT_EQ(v.at("source"), std::filesystem::current_path().string() +
                                "/disk \"A\"\\\n\tcopy\x01 \xef\xbf\xbd.img");
  EXPECT_EQ(v.at("source_size"), "1234567");
  EXPECT_EQ(v.at("first_byte"), "4096");
  EXPECT_EQ(v.at("last_byte"), "53247");
  EXPECT_EQ(v.at("first_picture"), "2026-03-01 10:00:00");
  EXPECT_EQ(v.at("last_picture"), "2026-03-01 10:01:10");
  EXPECT_EQ(v.at("video_channels"), "[3,6,8]");
  EXPECT_EQ(v.at("audio_channels"), "[2,4]");
  EXPECT_EQ(v.at("program"), "dvr-viewer");
  EXPECT_EQ(v.at("version"), platform::kProgramVersion);
  EXPECT_EQ(v.at("written").size(), 20u);
  EXPECT_EQ(v.at("written").back(), 'Z');

  // No picture: the times are null.
  facts.first_picture.reset();
  facts.last_picture.reset();
  ASSERT_TRUE(WriteEvidence(output, facts, error)) << error;
  const FlatJson again(ReadText(output + ".json"));
  ASSERT_TRUE(again.ok());
  EXPECT_EQ(again.values().at("first_picture"), "null");
  EXPECT_EQ(again.values().at("last_picture"), "null");
}

TEST_F(EvidenceTest, FailuresLeaveNoEvidenceBehind) {
  std::string error;
  EXPECT_FALSE(WriteEvidence(dir_.File("missing.avi"), {}, error));
  EXPECT_NE(error.find("missing.avi"), std::string::npos) << error;

  // The checksum cannot take its place (a folder stands there): the description written before
  // it goes again, and no temporary file stays.
  const std::string output = dir_.Write("clip.avi", {1, 2, 3});
  std::filesystem::create_directory(output + ".sha256");
  error.clear();
  EXPECT_FALSE(WriteEvidence(output, {}, error));
  EXPECT_NE(error.find("clip.avi.sha256"), std::string::npos) << error;
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir_.Path())) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"clip.avi", "clip.avi.sha256"}));

  // The description cannot be written: a checksum an earlier export left goes too, as it no
  // longer vouches for this output.
  std::filesystem::remove(output + ".sha256");
  dir_.Write("clip.avi.sha256", {'o', 'l', 'd'});
  std::filesystem::create_directory(output + ".json");
  EXPECT_FALSE(WriteEvidence(output, {}, error));
  EXPECT_FALSE(std::filesystem::exists(output + ".sha256"));
}

TEST_F(EvidenceTest, AFolderThatCannotBeWrittenGivesAClearError) {
  const std::string locked = dir_.File("locked");
  std::filesystem::create_directory(locked);
  const std::string inside = dir_.Write("locked/clip.avi", {1, 2, 3});
  std::string error;
  std::filesystem::permissions(
      locked, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  const bool writable = ::access(locked.c_str(), W_OK) == 0;
  if (!writable) {
    EXPECT_FALSE(WriteEvidence(inside, {}, error));
    EXPECT_NE(error.find("cannot write"), std::string::npos) << error;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(locked),
                            std::filesystem::directory_iterator()),
              1);
  }
  std::filesystem::permissions(locked, std::filesystem::perms::owner_all);
  if (writable) GTEST_SKIP() << "this user may write to any folder";
}

}  // namespace
}  // namespace dvr::exporting
