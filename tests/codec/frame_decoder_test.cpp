#include "codec/frame_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "codec/bit_writer.h"
#include "codec/channel_pictures.h"
#include "codec/idct.h"

namespace dvr::codec {
namespace {

// A frame: start code, header bytes, then raw bytes.
std::vector<uint8_t> Frame(uint8_t type, std::initializer_list<uint8_t> header, std::vector<uint8_t> rest = {}) {
  std::vector<uint8_t> frame = {0, 0, 1, type};
  frame.insert(frame.end(), header);
  frame.insert(frame.end(), rest.begin(), rest.end());
  return frame;
}

std::vector<uint8_t> Slices(int count) {
  std::vector<uint8_t> bytes;
  for (int i = 0; i < count; ++i) bytes.insert(bytes.end(), {0, 0, 1, static_cast<uint8_t>(i << 3), 0x55, 0x55});
  return bytes;
}

int Parse(FrameDecoder& d, const std::vector<uint8_t>& f) {
  return d.ParseHeader(f.data(), static_cast<uint32_t>(f.size()));
}

TEST(ParseHeader, SixByteFrameScansOneByte) {
  FrameDecoder d;
  d.Init(4);
  EXPECT_EQ(Parse(d, Frame(0xF8, {0x30, 0x00})), 0);
  EXPECT_EQ(d.slice_count(), 0u);
  EXPECT_EQ(d.PictureWidth(), 320u);
  EXPECT_EQ(d.PictureHeight(), 112u);
  EXPECT_EQ(Parse(d, Frame(0xF8, {0x30})), 0);  // five bytes: nothing read at all
}

TEST(ParseHeader, LayoutsByVariant) {
  FrameDecoder d;
  d.Init(4);  // layout 2
  Parse(d, Frame(0xF9, {0x3A}, Slices(14)));
  EXPECT_EQ(d.Channel(), 10);
  EXPECT_EQ(d.quality(), 3);
  EXPECT_TRUE(d.full_frame());
  Parse(d, Frame(0xF8, {0x3A}, Slices(14)));
  EXPECT_FALSE(d.full_frame());

  d.Init(0);  // layout 1
  Parse(d, Frame(0xF8, {0x9E}, Slices(14)));
  EXPECT_EQ(d.Channel(), 0);  // bits 2..0 are 6
  EXPECT_EQ(d.quality(), 3);
  EXPECT_TRUE(d.full_frame());
  Parse(d, Frame(0xF8, {0x1B}, Slices(14)));
  EXPECT_EQ(d.Channel(), 3);
  EXPECT_FALSE(d.full_frame());

  d.Init(5);  // layout 4
  Parse(d, Frame(0xF9, {0x25, 0x9C}, Slices(14)));
  EXPECT_EQ(d.channel_a(), 5);
  EXPECT_EQ(d.Channel(), 5);
  EXPECT_EQ(d.quality(), 2);
  EXPECT_TRUE(d.dual());
  EXPECT_EQ(d.channel_b(), 3);
  EXPECT_TRUE(d.a_absent());
  EXPECT_FALSE(d.b_absent());

  d.Init(2);  // layout 3
  Parse(d, Frame(0xF8, {0xA0, 0x12, 0x34}, Slices(14)));
  EXPECT_EQ(d.Channel(), 0);
  EXPECT_EQ(d.quality(), 4);
  EXPECT_TRUE(d.full_frame());
  EXPECT_EQ(d.header_word(), 0x1234);
  EXPECT_FALSE(d.dual());
}

TEST(ParseHeader, SliceCountDecidesSizeAndValidity) {
  FrameDecoder d;
  d.Init(4);
  // 14 slices, then an audio frame's start code: its FA byte stops the scan.
  auto frame = Frame(0xF9, {0x40}, Slices(14));
  const size_t fa = frame.size() + 3;
  frame.insert(frame.end(), {0, 0, 1, 0xFA, 0, 0, 1, 0x08});
  EXPECT_EQ(Parse(d, frame), static_cast<int>(fa));
  EXPECT_EQ(d.slice_count(), 14u);
  EXPECT_EQ(d.PictureWidth(), 640u);
  EXPECT_EQ(d.PictureHeight(), 224u);

  EXPECT_EQ(Parse(d, Frame(0xF9, {0x40}, Slices(15))), 0);
  EXPECT_EQ(d.PictureHeight(), 272u);  // set although the frame is refused
  const auto seventeen = Frame(0xF9, {0x40}, Slices(17));
  EXPECT_EQ(Parse(d, seventeen), static_cast<int>(seventeen.size()));
  EXPECT_EQ(Parse(d, Frame(0xF9, {0x40}, Slices(25))), 0);
  EXPECT_EQ(d.slice_count(), 25u);
  EXPECT_EQ(d.PictureHeight(), 272u);  // 18 and more leave the size alone
}

TEST(ParseHeader, RefusesWhatIsNotADecodableVideoFrame) {
  FrameDecoder d;
  d.Init(4);
  EXPECT_EQ(Parse(d, Frame(0xFA, {0x40}, Slices(14))), 0);
  EXPECT_EQ(Parse(d, Frame(0xF9, {0xF0}, Slices(14))), 0);  // quality 15
  EXPECT_EQ(d.slice_count(), 0u);                             // not scanned: left as it was
  std::vector<uint8_t> odd = {0, 0, 2, 0xF8, 0x40, 0, 0};
  EXPECT_EQ(Parse(d, odd), 0);
  // 00 00 01 inside bytes 0..4 is never a slice: here bytes 2..4 and 4..6 hold such bytes.
  auto tricky = Frame(0xF8, {0x00}, {0x00, 0x01, 0x08});
  Parse(d, tricky);
  EXPECT_EQ(d.slice_count(), 0u);
}

// Builds slice data bit by bit.
class SliceBits {
 public:
  explicit SliceBits(int row) : bits_(bytes_) {
    bits_.Put(0x000001, 24);
    bits_.Put(static_cast<uint32_t>(row), 5);
  }
  SliceBits& Put(uint32_t value, int count) {
    bits_.Put(value, count);
    return *this;
  }
  // A block of only its DC value.
  SliceBits& FlatBlock(uint8_t dc) { return Put(dc, 8).Put(0b10, 2); }
  std::vector<uint8_t> Bytes() {
    bits_.AlignWithZeros();
    return bytes_;
  }

 private:
  std::vector<uint8_t> bytes_;
  BitWriter bits_;
};

// A full 640 x 224 frame whose row `r` has its 40 macroblocks in flat blocks of value v(r).
std::vector<uint8_t> FlatFullFrame(int quality, const std::vector<int>& row_order, int (*value)(int)) {
  auto frame = Frame(0xF9, {static_cast<uint8_t>(quality << 4 | 2)});
  for (int row : row_order) {
    SliceBits slice(row);
    for (int b = 0; b < 40 * 6; ++b) slice.FlatBlock(static_cast<uint8_t>(value(row)));
    const auto bytes = slice.Bytes();
    frame.insert(frame.end(), bytes.begin(), bytes.end());
  }
  return frame;
}

class DecodeTest : public ::testing::Test {
 protected:
  DecodeTest() : picture_(kMaxPictureBytes + 64, 0xEE) {
    decoder_.Init(4);
    decoder_.UseBlockDecoder(DecodeSlicesScalar);
  }
  // The 8 x 8 samples the reference IDCT makes of these coefficients.
  static std::vector<uint8_t> Samples(std::vector<std::pair<int, int>> coefficients) {
    alignas(16) int16_t block[64] = {};
    for (auto [index, value] : coefficients) block[index] = static_cast<int16_t>(value);
    IdctReference(block);
    std::vector<uint8_t> out(64);
    StoreLowBytes(block, out.data(), 8);
    return out;
  }
  std::vector<uint8_t> TopLeftBlock() const {
    std::vector<uint8_t> out;
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 8; ++x) out.push_back(Y(x, y));
    }
    return out;
  }
  int Decode(const std::vector<uint8_t>& frame) {
    if (!decoder_.ParseHeader(frame.data(), static_cast<uint32_t>(frame.size()))) return -1;
    return decoder_.DecodeFrame(frame.data(), static_cast<uint32_t>(frame.size()), picture_.data());
  }
  uint8_t Y(int x, int y) const { return picture_[static_cast<size_t>(y * 640 + x)]; }
  uint8_t Cb(int x, int y) const { return picture_[static_cast<size_t>(640 * 224 + y * 320 + x)]; }
  uint8_t Cr(int x, int y) const { return picture_[static_cast<size_t>(640 * 224 * 5 / 4 + y * 320 + x)]; }

  FrameDecoder decoder_;
  std::vector<uint8_t> picture_;
};

TEST_F(DecodeTest, FlatSlicesInAnyOrderFillThePicture) {
  std::vector<int> rows = {13, 0, 7, 1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 12};
  const auto frame = FlatFullFrame(1, rows, [](int row) { return 10 + row; });
  // One slice: 24 + 5 bits, then 240 blocks of 8 + 2 bits.
  SliceBits one(0);
  for (int b = 0; b < 240; ++b) one.FlatBlock(10);
  EXPECT_EQ(one.Bytes().size(), (24 + 5 + 2400 + 7) / 8u);
  ASSERT_EQ(Decode(frame), 1);
  for (int y = 0; y < 224; ++y) {
    for (int x = 0; x < 640; ++x) ASSERT_EQ(Y(x, y), 10 + y / 16) << x << "," << y;
  }
  EXPECT_EQ(Cb(0, 0), 10);
  EXPECT_EQ(Cr(319, 111), 10 + 13);
  EXPECT_EQ(picture_[640 * 224 * 3 / 2], 0xEE);  // nothing past the picture
}

TEST_F(DecodeTest, EscapeCarriesRunAndLevelWithoutSign) {
  // DC 100, escape with run 3 and level +5, then the code 11 + sign 0 (run 0, level 1), end.
  auto frame = Frame(0xF9, {0x12});
  for (int row = 0; row < 14; ++row) {
    SliceBits slice(row);
    for (int b = 0; b < 240; ++b) {
      slice.Put(100, 8).Put(0b000001, 6).Put(0b000011, 6).Put(0b00000101, 8).Put(0b110, 3).Put(0b10, 2);
    }
    const auto bytes = slice.Bytes();
    frame.insert(frame.end(), bytes.begin(), bytes.end());
  }
  ASSERT_EQ(Decode(frame), 1);
  // Scan position 4 is raster 9 (quantiser 16): 5 x 16 x 1 / 4 = 20; position 5 is raster 2
  // (quantiser 19): 1 x 19 / 4 = 4.
  EXPECT_EQ(TopLeftBlock(), Samples({{0, 800}, {9, 20}, {2, 4}}));
}

TEST_F(DecodeTest, PartialFramesKeepWhatTheyDoNotCode) {
  std::fill(picture_.begin(), picture_.end(), 0x33);
  auto frame = Frame(0xF8, {0x12});
  for (int row = 0; row < 14; ++row) {
    SliceBits slice(row);
    if (row == 0) {
      slice.Put(3, 6).Put(0b0101, 4);  // macroblock 2, luma blocks 0 and 2
      slice.FlatBlock(200).FlatBlock(201).FlatBlock(202).FlatBlock(203);
      slice.Put(1, 6).Put(0, 4);  // macroblock 3: chroma only
      slice.FlatBlock(150).FlatBlock(151);
    }
    slice.Put(0, 6);  // end of slice
    const auto bytes = slice.Bytes();
    frame.insert(frame.end(), bytes.begin(), bytes.end());
  }
  ASSERT_EQ(Decode(frame), 1);
  EXPECT_EQ(Y(0, 0), 0x33);   // macroblocks 0 and 1 untouched
  EXPECT_EQ(Y(31, 15), 0x33);
  EXPECT_EQ(Y(32, 0), 200);   // block 0 of macroblock 2
  EXPECT_EQ(Y(40, 0), 0x33);  // block 1 not coded
  EXPECT_EQ(Y(32, 8), 201);   // block 2
  EXPECT_EQ(Cb(16, 0), 202);
  EXPECT_EQ(Cr(16, 0), 203);
  EXPECT_EQ(Y(48, 0), 0x33);  // macroblock 3: no luma
  EXPECT_EQ(Cb(24, 0), 150);
  EXPECT_EQ(Cr(24, 7), 151);
  EXPECT_EQ(Y(0, 16), 0x33);  // other rows untouched
}

TEST_F(DecodeTest, IncrementPastTheRowFailsWithoutWriting) {
  std::fill(picture_.begin(), picture_.end(), 0x33);
  auto frame = Frame(0xF8, {0x12});
  for (int row = 0; row < 14; ++row) {
    SliceBits slice(row);
    slice.Put(41, 6).Put(0xF, 4);  // column 40 of 40
    for (int b = 0; b < 6; ++b) slice.FlatBlock(9);
    const auto bytes = slice.Bytes();
    frame.insert(frame.end(), bytes.begin(), bytes.end());
  }
  EXPECT_EQ(Decode(frame), 0);
  EXPECT_TRUE(std::all_of(picture_.begin(), picture_.end(), [](uint8_t v) { return v == 0x33; }));
}

TEST_F(DecodeTest, LargeLevelsClampAndZeroEscapesAddNothing) {
  // Quality 14, level 255 at scan position 63 (quantiser 83): far past 2047.
  auto make = [](bool negative, bool zero_escape) {
    auto frame = Frame(0xF9, {0xE2});
    for (int row = 0; row < 14; ++row) {
      SliceBits slice(row);
      for (int b = 0; b < 240; ++b) {
        slice.Put(128, 8);
        if (zero_escape) {
          slice.Put(0b000001, 6).Put(0, 6).Put(0x80, 8).Put(0, 8);  // level -(256 - 0) mod 256 = 0
        } else {
          slice.Put(0b000001, 6).Put(62, 6).Put(negative ? 0x80 : 0x00, 8).Put(negative ? 1 : 255, 8);
        }
        slice.Put(0b10, 2);
      }
      const auto bytes = slice.Bytes();
      frame.insert(frame.end(), bytes.begin(), bytes.end());
    }
    return frame;
  };
  ASSERT_EQ(Decode(make(false, true)), 1);
  EXPECT_EQ(TopLeftBlock(), Samples({{0, 1024}}));  // a zero coefficient: flat
  // 255 x 83 x 14 / 4 = 74077, far past the 16 bits a coefficient has.
  ASSERT_EQ(Decode(make(false, false)), 1);
  EXPECT_EQ(TopLeftBlock(), Samples({{0, 1024}, {63, 2047}}));
  ASSERT_EQ(Decode(make(true, false)), 1);
  EXPECT_EQ(TopLeftBlock(), Samples({{0, 1024}, {63, -2048}}));
}

TEST_F(DecodeTest, InvalidCodesAndRunsPastTheBlockFail) {
  auto make = [](uint32_t bits, int count, int repeat = 1) {
    auto frame = Frame(0xF9, {0x12});
    for (int row = 0; row < 14; ++row) {
      SliceBits slice(row);
      slice.Put(7, 8);
      for (int r = 0; r < repeat; ++r) slice.Put(bits, count);
      const auto bytes = slice.Bytes();
      frame.insert(frame.end(), bytes.begin(), bytes.end());
    }
    return frame;
  };
  EXPECT_EQ(Decode(make(0, 16)), 0);                      // twelve leading zeros
  EXPECT_EQ(Decode(make(0b000001111111, 12)), 0);         // escape with run 63: past 63
  EXPECT_EQ(Decode(make(0b0000000000011111 << 1, 17, 3)), 0);  // run 27 three times: position 84
}

TEST_F(DecodeTest, TruncatedFrameFailsInsideItsBytes) {
  const auto frame = FlatFullFrame(1, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}, [](int) { return 60; });
  ASSERT_TRUE(decoder_.ParseHeader(frame.data(), static_cast<uint32_t>(frame.size())));
  // The same frame cut in its last slice, copied into a buffer of exactly that size.
  std::vector<uint8_t> cut(frame.begin(), frame.end() - 40);
  ASSERT_TRUE(decoder_.ParseHeader(cut.data(), static_cast<uint32_t>(cut.size())));
  EXPECT_EQ(decoder_.DecodeFrame(cut.data(), static_cast<uint32_t>(cut.size()), picture_.data()), 0);
}

TEST_F(DecodeTest, NeedsAParsedFrameAndRebuildsTablesOnlyOnQualityChange) {
  const auto q1 = FlatFullFrame(1, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}, [](int) { return 60; });
  const auto q2 = FlatFullFrame(2, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}, [](int) { return 60; });
  EXPECT_EQ(decoder_.DecodeFrame(q1.data(), static_cast<uint32_t>(q1.size()), picture_.data()), 0);
  EXPECT_EQ(Decode(q1), 1);
  EXPECT_EQ(Decode(q1), 1);
  EXPECT_EQ(decoder_.dequant_builds(), 1);
  EXPECT_EQ(Decode(q2), 1);
  EXPECT_EQ(decoder_.dequant_builds(), 2);
  EXPECT_EQ(decoder_.DecodeFrame(q2.data(), static_cast<uint32_t>(q2.size()), nullptr), 0);
  // A refused frame leaves nothing to decode.
  auto bad = q1;
  bad[4] = 0xF2;  // quality 15
  EXPECT_EQ(decoder_.ParseHeader(bad.data(), static_cast<uint32_t>(bad.size())), 0);
  EXPECT_EQ(decoder_.DecodeFrame(bad.data(), static_cast<uint32_t>(bad.size()), picture_.data()), 0);
}

TEST(ChannelPictures, PartialFramesBuildOnTheirOwnChannel) {
  FrameDecoder decoder;
  decoder.Init(4);
  ChannelPictures pictures;
  const uint8_t* black = pictures.Picture(5);
  EXPECT_EQ(black[0], 0);
  EXPECT_EQ(black[640 * 224], 128);

  // Channel 2 gets a full grey picture, then channel 3 a partial frame coding only macroblock 0.
  auto full = FlatFullFrame(1, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}, [](int) { return 90; });
  full[4] = 0x12;
  ASSERT_TRUE(decoder.ParseHeader(full.data(), static_cast<uint32_t>(full.size())));
  ASSERT_NE(pictures.Decode(decoder, full.data(), static_cast<uint32_t>(full.size())), nullptr);

  auto partial = Frame(0xF8, {0x13});
  for (int row = 0; row < 14; ++row) {
    SliceBits slice(row);
    if (row == 0) {
      slice.Put(1, 6).Put(0xF, 4);
      for (int b = 0; b < 6; ++b) slice.FlatBlock(200);
    }
    slice.Put(0, 6);
    const auto bytes = slice.Bytes();
    partial.insert(partial.end(), bytes.begin(), bytes.end());
  }
  ASSERT_TRUE(decoder.ParseHeader(partial.data(), static_cast<uint32_t>(partial.size())));
  const uint8_t* three = pictures.Decode(decoder, partial.data(), static_cast<uint32_t>(partial.size()));
  ASSERT_NE(three, nullptr);
  EXPECT_EQ(three[0], 200);
  EXPECT_EQ(three[640 * 100 + 300], 0);  // channel 3's own black, not channel 2's grey
  EXPECT_EQ(pictures.Picture(2)[640 * 100 + 300], 90);

  // A frame that fails halfway leaves the channel's picture as it was.
  auto broken = full;
  broken.resize(broken.size() - 100);
  ASSERT_TRUE(decoder.ParseHeader(broken.data(), static_cast<uint32_t>(broken.size())));
  EXPECT_EQ(pictures.Decode(decoder, broken.data(), static_cast<uint32_t>(broken.size())), nullptr);
  EXPECT_EQ(pictures.Picture(2)[0], 90);
}

}  // namespace
}  // namespace dvr::codec
