#include "audio/audio_converter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "audio/g711.h"
#include "support/recorded_notices.h"

namespace dvr::audio {
namespace {

std::vector<uint8_t> Convert(int code, std::vector<uint8_t> in, uint32_t* length_out = nullptr) {
  AudioConverter converter;
  converter.SetFormat(code, kSampleRate, nullptr);
  std::vector<uint8_t> out(2 * in.size() + 1, 0xEE);
  uint32_t length = 12345;
  EXPECT_EQ(converter.Convert(in.data(), static_cast<uint32_t>(in.size()), out.data(), &length), 1);
  if (length_out) *length_out = length;
  out.resize(length);
  return out;
}

TEST(AudioConverter, ConvertsEveryFormat) {
  uint32_t length = 0;
  EXPECT_EQ(Convert(kALaw, {0xD5, 0x55}, &length), (std::vector<uint8_t>{0x08, 0x00, 0xF8, 0xFF}));
  EXPECT_EQ(length, 4u);
  EXPECT_EQ(Convert(kMuLaw, {0xFF}), (std::vector<uint8_t>{0x00, 0x00}));
  EXPECT_EQ(Convert(kMuLaw, {0x80}), (std::vector<uint8_t>{0x7C, 0x7D}));  // 32124
  EXPECT_EQ(Convert(kSigned8, {0x00, 0x80, 0x7F, 0xFF}), (std::vector<uint8_t>{0x80, 0x00, 0xFF, 0x7F}));
  for (int code : {kUnsigned8, kUnsigned16, kSigned16}) {
    EXPECT_EQ(Convert(code, {1, 2, 3}), (std::vector<uint8_t>{1, 2, 3}));
  }
  for (int code = 1; code <= 6; ++code) {
    EXPECT_TRUE(Convert(code, {}, &length).empty());
    EXPECT_EQ(length, 0u);
  }
}

// The G.711 decoding rule in its segment form: A-law gives 8 (2q + 1) in segment 0 and
// 8 (2q + 33) 2^(s - 1) above; mu-law gives 4 ((2q + 33) 2^s - 33). Bits are inverted
// differently (A-law XOR 0x55, mu-law all bits) and the sign sense differs.
TEST(G711, WholeTablesFollowTheDecodingRule) {
  for (int code = 0; code < 256; ++code) {
    const int a = code ^ 0x55;
    const int a_segment = (a >> 4) & 7, a_step = a & 15;
    const int a_value = 8 * (a_segment == 0 ? 2 * a_step + 1 : (2 * a_step + 33) << (a_segment - 1));
    EXPECT_EQ(kALawTable[static_cast<size_t>(code)], (a & 0x80) ? a_value : -a_value) << code;

    const int u = ~code & 0xFF;
    const int u_segment = (u >> 4) & 7, u_step = u & 15;
    const int u_value = 4 * (((2 * u_step + 33) << u_segment) - 33);
    EXPECT_EQ(kMuLawTable[static_cast<size_t>(code)], (u & 0x80) ? -u_value : u_value) << code;
  }
  EXPECT_EQ(*std::max_element(kALawTable.begin(), kALawTable.end()), 32256);
  EXPECT_EQ(*std::min_element(kMuLawTable.begin(), kMuLawTable.end()), -32124);
}

TEST(AudioConverter, WaveFormatPerCode) {
  AudioConverter converter;
  WaveFormat format;
  EXPECT_EQ(converter.SetFormat(kSigned8, 8000, nullptr), 0);
  ASSERT_EQ(converter.SetFormat(kSigned8, 8000, &format), 1);
  EXPECT_EQ(format.bits_per_sample, 8);
  EXPECT_EQ(format.block_align, 1);
  EXPECT_EQ(format.average_bytes_per_second, 8000u);
  ASSERT_EQ(converter.SetFormat(kALaw, 8000, &format), 1);
  EXPECT_EQ(format.bits_per_sample, 16);
  EXPECT_EQ(format.block_align, 2);
  EXPECT_EQ(format.average_bytes_per_second, 16000u);
  EXPECT_EQ(converter.format_code(), kALaw);
  ASSERT_EQ(converter.SetFormat(9, 8000, &format), 1);  // outside 3..6: 8-bit
  EXPECT_EQ(format.bits_per_sample, 8);
  ASSERT_EQ(converter.SetFormat(kUnsigned16, 11025, &format), 1);
  EXPECT_EQ(format.Bytes(), (std::array<uint8_t, 18>{1, 0, 1, 0, 0x11, 0x2B, 0, 0, 0x22, 0x56, 0, 0, 2, 0, 16, 0, 0, 0}));
}

TEST(AudioFormat, NamesAndTheUnknownNameText) {
  test::RecordedNotices notices;
  EXPECT_EQ(SelectAudioFormat("QM_ALAW", notices), kALaw);
  EXPECT_EQ(SelectAudioFormat("QM_MLAW", notices), kMuLaw);
  EXPECT_TRUE(notices.Texts().empty());
  EXPECT_EQ(SelectAudioFormat("QM_OGG", notices), kUnsigned8);
  EXPECT_THAT(notices.Texts(), ::testing::ElementsAre("Unkown Audio Format"));
  EXPECT_EQ(ParseAudioFormat("3"), kUnsigned16);
  EXPECT_FALSE(ParseAudioFormat("7"));
  EXPECT_EQ(AudioFormatName(kSigned8), "QM_SPCM8");
  EXPECT_TRUE(AudioFormatFromName(BuildAudioFormat()));
}

}  // namespace
}  // namespace dvr::audio
