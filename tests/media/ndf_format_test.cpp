#include "media/ndf_format.h"

#include <gtest/gtest.h>

#include <vector>

#include "media/block_check.h"
#include "media/start_code_scan.h"
#include "media/variant.h"

namespace dvr::media {
namespace {

TEST(BlockCheck, KnownValues) {
  const uint8_t zeros[7] = {};
  EXPECT_EQ(BlockCheck(zeros), 0x0C);
  const uint8_t abc[3] = {'a', 'b', 'c'};
  EXPECT_EQ(BlockCheck(abc, 3), 0x59);
}

TEST(BlockHeader, ByteOrderFollowsTheVariant) {
  uint8_t little[8], big[8];
  WriteBlockHeader(little, 1, 1, 0x85, false);
  WriteBlockHeader(big, 1, 1, 0x05, true);
  EXPECT_EQ(std::vector<uint8_t>(little, little + 7), (std::vector<uint8_t>{1, 0, 0, 0, 1, 0, 5}));
  EXPECT_EQ(std::vector<uint8_t>(big, big + 7), (std::vector<uint8_t>{0, 0, 0, 1, 0, 1, 5}));
  EXPECT_TRUE(BlockCheckMatches(little));
  EXPECT_TRUE(BlockCheckMatches(big));

  const BlockHeader header = ParseBlockHeader(big, true);
  EXPECT_EQ(header.time, 1u);
  EXPECT_EQ(header.format_word, 1);
  EXPECT_EQ(header.pacing, 5);
  EXPECT_EQ(ParseBlockHeader(big, false).time, 0x01000000u);
  big[6] = 0xFF;  // bit 7 of the pacing byte is ignored on reading
  EXPECT_EQ(ParseBlockHeader(big, true).pacing, 0x7F);
  EXPECT_FALSE(BlockCheckMatches(big));
}

TEST(ExchangeBytePairs, SwapsEveryWord) {
  std::vector<uint8_t> bytes = {0x12, 0x34, 0x56, 0x78, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0xAA};
  ExchangeBytePairs(bytes.data(), bytes.size());
  EXPECT_EQ(bytes, (std::vector<uint8_t>{0x34, 0x12, 0x78, 0x56, 2, 1, 4, 3, 6, 5, 8, 7, 10, 9, 0xAA}));
}

TEST(StartCodes, KindsAndChannels) {
  EXPECT_EQ(KindOfStartCode(0xF8), FrameKind::kVideo);
  EXPECT_EQ(KindOfStartCode(0xF9), FrameKind::kVideo);
  EXPECT_EQ(KindOfStartCode(0xFA), FrameKind::kAudio);
  EXPECT_EQ(KindOfStartCode(0xFD), FrameKind::kAudio);
  EXPECT_EQ(KindOfStartCode(0xF7), FrameKind::kNone);
  EXPECT_EQ(KindOfStartCode(0xFE), FrameKind::kNone);
  EXPECT_EQ(AudioChannelOf(0xFC), 2u);
  EXPECT_TRUE(IsStartCode(0x000001F8));
  EXPECT_TRUE(IsStartCode(0x000001FD));
  EXPECT_FALSE(IsStartCode(0x000001FE));
  EXPECT_FALSE(IsStartCode(0x010001F8));
}

// The scanner must agree with shifting one byte at a time, whatever the register held before.
TEST(StartCodeScan, AgreesWithTheByteByByteRegister) {
  uint32_t seed = 7;
  auto next = [&seed] { return seed = seed * 1103515245 + 12345, (seed >> 16) & 0xFF; };
  for (int round = 0; round < 3000; ++round) {
    std::vector<uint8_t> data(1 + next() % 40);
    for (auto& b : data) {
      const uint32_t r = next() % 8;
      b = r < 3 ? 0 : r == 3 ? 1 : r == 4 ? static_cast<uint8_t>(0xF6 + next() % 9) : next();
    }
    const uint32_t start = (next() % 2) ? 0xFFFFFFFF : (next() << 24 | next() << 16 | next() % 2);

    uint32_t plain = start;
    size_t expect_forward = kNoStartCode;
    for (size_t i = 0; i < data.size(); ++i) {
      plain = plain << 8 | data[i];
      if (IsStartCode(plain)) {
        expect_forward = i;
        break;
      }
    }
    uint32_t fast = start;
    ASSERT_EQ(FindStartCodeForward(data.data(), data.size(), fast), expect_forward);
    ASSERT_EQ(fast, plain);

    uint32_t plain_back = start;
    size_t expect_backward = kNoStartCode;
    for (size_t i = data.size(); i-- > 0;) {
      plain_back = plain_back << 8 | data[i];
      if ((plain_back & 0xFFFFFF) == 0x010000 && (plain_back >> 24) >= 0xF8 &&
          (plain_back >> 24) <= 0xFD) {
        expect_backward = i;
        break;
      }
    }
    uint32_t fast_back = start;
    ASSERT_EQ(FindStartCodeBackward(data.data(), data.size(), fast_back), expect_backward);
    ASSERT_EQ(fast_back, plain_back);
  }
}

TEST(Variant, NamesAndNumbers) {
  EXPECT_EQ(VariantFromName("QM_QM4"), 0);
  EXPECT_EQ(VariantFromName("QM_QMT2"), 4);
  EXPECT_EQ(VariantFromName("QM_QMC"), 6);
  EXPECT_FALSE(VariantFromName("QM_QMX"));
  EXPECT_EQ(ParseVariant("5"), 5);
  EXPECT_FALSE(ParseVariant("7"));
  EXPECT_FALSE(ParseVariant(""));
  EXPECT_EQ(VariantName(2), "QM_QMN");
  EXPECT_TRUE(VariantFromName(BuildVideoFormat()));
}

}  // namespace
}  // namespace dvr::media
