// Frame rates, the frame header, live field frames and still-image files.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "codec/yuv_to_rgb.h"
#include "export/bitmap_header.h"
#include "export/export_rate.h"
#include "export/field_frame.h"
#include "export/still_image.h"
#include "support/temp_dir.h"

namespace dvr::exporting {
namespace {

TEST(ExportRateTest, PlayerAndNetworkRules) {
  EXPECT_EQ(PlayerExportRate(4, 224, 4, 0), FrameRate(15));      // min(30, 60 / 1 / 4)
  EXPECT_EQ(PlayerExportRate(4, 224, 4, 1), FrameRate(15, 2));   // 7.5
  EXPECT_EQ(PlayerExportRate(1, 224, 4, 0), FrameRate(30));      // never above the display's rate
  EXPECT_EQ(PlayerExportRate(0, 272, 4, 0), FrameRate(25));      // no channel: the display's rate
  EXPECT_EQ(PlayerExportRate(16, 224, 5, 0), FrameRate(15, 2));  // 120 / 16
  EXPECT_EQ(PlayerExportRate(2, 272, 5, 1), FrameRate(25));      // 100 / 2 / 2
  EXPECT_EQ(PlayerExportRate(9, 224, 0, 0), FrameRate(10, 3));   // 30 / 9
  EXPECT_EQ(PlayerExportRate(4, 272, 2, 0), FrameRate(25, 4));   // 25 / 4
  EXPECT_EQ(PlayerExportRate(1, 224, 3, 6), FrameRate(60, 7));   // 8.57...
  EXPECT_EQ(PlayerExportRate(16, 272, 0, 127), FrameRate(25, 2048));  // the slowest
  EXPECT_EQ(NetworkExportRate(224, false), 30);
  EXPECT_EQ(NetworkExportRate(224, true), 25);
  EXPECT_EQ(NetworkExportRate(272, false), 25);
}

TEST(BitmapHeaderTest, TheExportFrameHeader) {
  const auto bytes = ExportFrameHeader(640, 448).Bytes();
  const std::vector<uint8_t> expected = {40, 0, 0, 0, 0x80, 2, 0, 0, 0xC0, 1, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0,
                                         0x00, 0x20, 0x0D, 0,  // 640 x 448 x 3 = 860160
                                         0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.end()), expected);
  const BitmapHeader back = BitmapHeader::Parse(bytes.data());
  EXPECT_EQ(back.width, 640);
  EXPECT_EQ(back.height, 448);
  EXPECT_EQ(back.image_size, 860160u);
}

TEST(FieldFrameTest, DecodedRowsAndTheirAverages) {
  constexpr int kWidth = 32, kHeight = 8;
  std::vector<uint8_t> picture(kWidth * kHeight * 3 / 2, 128);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) picture[static_cast<size_t>(y * kWidth + x)] = static_cast<uint8_t>(20 + 25 * y + x);
  }
  std::vector<uint8_t> rows(kWidth * kHeight * 3);  // each decoded row, bottom-up
  codec::YuvToDib24(rows.data(), picture.data(), kWidth, kHeight);
  std::vector<uint8_t> frame(kWidth * kHeight * 2 * 3, 0);
  PictureToExportFrame(frame.data(), picture.data(), kWidth, kHeight);
  const size_t row = kWidth * 3;
  const auto frame_row = [&](int r) { return std::vector<uint8_t>(frame.begin() + r * row, frame.begin() + (r + 1) * row); };
  for (int r = 0; r < kHeight; ++r) {
    // Source row r is image row 2r + 1, buffer row 2h - 2 - 2r.
    const std::vector<uint8_t> decoded(rows.begin() + (kHeight - 1 - r) * row, rows.begin() + (kHeight - r) * row);
    EXPECT_EQ(frame_row(2 * kHeight - 2 - 2 * r), decoded) << r;
  }
  for (int r = 1; r <= 2 * kHeight - 3; r += 2) {
    const auto below = frame_row(r - 1), above = frame_row(r + 1), between = frame_row(r);
    for (size_t i = 0; i < row; ++i) ASSERT_EQ(between[i], (below[i] + above[i]) >> 1) << r;
  }
  EXPECT_EQ(frame_row(2 * kHeight - 1), std::vector<uint8_t>(row, 0));  // the top row stays black
}

TEST(StillImageTest, NameAndPath) {
  platform::CalendarTime t;
  t.year = 2009;
  t.month = 3;
  t.day = 15;
  t.hour = 14;
  t.minute = 5;
  t.second = 9;
  EXPECT_EQ(StillImageFileName(t), "20090315-140509.bmp");
  EXPECT_EQ(StillImagePath("/home/me/Shots", "a.bmp"), "/home/me/Shots/a.bmp");
  EXPECT_EQ(StillImagePath("/home/me/Shots/", "a.bmp"), "/home/me/Shots/a.bmp");
  EXPECT_EQ(StillImagePath("", "a.bmp"), "a.bmp");
  EXPECT_EQ(StillImagePath("x", "a.bmp"), "a.bmp");
  EXPECT_EQ(StillImagePath("/", "a.bmp"), "/a.bmp");  // the root is a folder, not the current one
}

std::vector<uint8_t> DibHeader(uint16_t bits, uint32_t compression, uint32_t used) {
  BitmapHeader h;
  h.width = 4;
  h.height = 4;
  h.bit_count = bits;
  h.compression = compression;
  h.colours_used = used;
  const auto bytes = h.Bytes();
  return {bytes.begin(), bytes.end()};
}

TEST(StillImageTest, PixelDataOffsetByCompressionAndBits) {
  EXPECT_EQ(BmpPixelOffset(DibHeader(24, kCompressionNone, 0).data()), 54u);
  EXPECT_EQ(BmpPixelOffset(DibHeader(32, kCompressionNone, 0).data()), 54u);
  EXPECT_EQ(BmpPixelOffset(DibHeader(16, kCompressionBitFields, 0).data()), 66u);
  EXPECT_EQ(BmpPixelOffset(DibHeader(16, kCompressionBitFields, 2).data()), 74u);
  EXPECT_EQ(BmpPixelOffset(DibHeader(8, kCompressionNone, 0).data()), 14u + 40 + 1024);
  EXPECT_EQ(BmpPixelOffset(DibHeader(8, kCompressionNone, 16).data()), 14u + 40 + 64);
  EXPECT_EQ(BmpPixelOffset(DibHeader(24, kCompressionNone, 3).data()), 14u + 40 + 12);
  EXPECT_EQ(BmpPixelOffset(DibHeader(4, kCompressionRle4, 0).data()), 14u + 40 + 64);
  EXPECT_EQ(BmpPixelOffset(DibHeader(8, kCompressionRle8, 0).data()), 14u + 40 + 1024);
  EXPECT_EQ(BmpPixelOffset(DibHeader(24, 4, 0).data()), 54u);  // anything else: the header alone
}

TEST(StillImageTest, TheFileIsTheHeaderAndTheBlock) {
  test::TempDir dir;
  // 3 x 2 pixels, top-down: the first row blue, then red.
  const std::vector<uint8_t> bgr = {255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0, 255};
  const auto dib = DibFromTopDownBgr(bgr.data(), 3, 2);
  ASSERT_EQ(dib.size(), 40u + 2 * 12);  // rows padded to 12 bytes
  const std::string path = dir.File("still.bmp");
  ASSERT_TRUE(WriteBmpFile(path, dib));
  const auto file = test::ReadFileBytes(path);
  ASSERT_EQ(file.size(), 14 + dib.size());
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(file[2] | file[3] << 8, static_cast<int>(file.size()));
  EXPECT_EQ(file[10], 54);
  EXPECT_EQ(std::vector<uint8_t>(file.begin() + 14, file.end()), dib);
  EXPECT_EQ(file[54 + 2], 255);  // the bottom row (red) first
  EXPECT_EQ(file[54 + 12], 255);  // then the top row (blue)
  EXPECT_FALSE(WriteBmpFile(dir.File("no/such/folder/x.bmp"), dib));
}

}  // namespace
}  // namespace dvr::exporting
