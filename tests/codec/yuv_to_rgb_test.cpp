#include "codec/yuv_to_rgb.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "codec/yuv_kernels.h"

namespace dvr::codec {
namespace {

// A picture of one colour.
std::vector<uint8_t> Uniform(int w, int h, uint8_t y, uint8_t cb, uint8_t cr) {
  std::vector<uint8_t> p(static_cast<size_t>(w * h * 3 / 2), y);
  std::fill(p.begin() + w * h, p.begin() + w * h * 5 / 4, cb);
  std::fill(p.begin() + w * h * 5 / 4, p.end(), cr);
  return p;
}

std::vector<uint8_t> Bgr(uint8_t y, uint8_t cb, uint8_t cr) {
  const auto p = Uniform(2, 2, y, cb, cr);
  std::vector<uint8_t> out(12);
  YuvToRgb24(out.data(), p.data(), 2, 2);
  return {out[0], out[1], out[2]};
}

TEST(YuvToRgb, ExamplesAndTheDarkestOutput) {
  EXPECT_EQ(Bgr(0, 128, 128), (std::vector<uint8_t>{1, 1, 1}));
  EXPECT_EQ(Bgr(255, 128, 128), (std::vector<uint8_t>{255, 255, 255}));
  EXPECT_EQ(Bgr(128, 128, 255), (std::vector<uint8_t>{128, 37, 255}));
  EXPECT_EQ(Bgr(76, 0, 128)[0], 1);  // blue far below zero
}

TEST(YuvToRgb, SixteenBitFormats) {
  const auto white = Uniform(2, 2, 255, 128, 128);
  uint16_t out[4];
  YuvToRgb565(reinterpret_cast<uint8_t*>(out), white.data(), 2, 2);
  EXPECT_EQ(out[0], 0xFFFF);
  YuvToRgb555(reinterpret_cast<uint8_t*>(out), white.data(), 2, 2);
  EXPECT_EQ(out[3], 0x7FFF);
  const auto red = Uniform(2, 2, 128, 128, 255);  // blue 128, green 37, red 255
  YuvToRgb565(reinterpret_cast<uint8_t*>(out), red.data(), 2, 2);
  EXPECT_EQ(out[0], (255 >> 3) << 11 | (37 >> 2) << 5 | 128 >> 3);
  YuvToBgr565(reinterpret_cast<uint8_t*>(out), red.data(), 2, 2);
  EXPECT_EQ(out[0], (128 >> 3) << 11 | (37 >> 2) << 5 | 255 >> 3);
  uint32_t wide[4];
  YuvToRgb32(reinterpret_cast<uint8_t*>(wide), red.data(), 2, 2);
  EXPECT_EQ(wide[2], 255u << 16 | 37u << 8 | 128u);
}

TEST(YuvToRgb, BitmapRowOrder) {
  std::vector<uint8_t> picture = Uniform(640, 224, 50, 128, 128);
  std::fill(picture.begin(), picture.begin() + 640, 200);  // row 0 brighter
  std::vector<uint8_t> dib(640 * 224 * 3, 0);
  YuvToDib24(dib.data(), picture.data(), 640, 224);
  EXPECT_EQ(dib[3 * 640 * 223], 200);  // the first source row is the last bitmap row
  EXPECT_EQ(dib[0], 50);

  std::vector<uint8_t> field(640 * 448 * 3, 7);
  YuvToDib24Field(field.data(), picture.data(), 640, 224);
  EXPECT_EQ(field[3 * 640 * 446], 200);  // source row 0 on row 446
  EXPECT_EQ(field[3 * 640 * 0], 50);     // source row 223 on row 0
  EXPECT_EQ(field[3 * 640 * 447], 7);    // odd rows untouched
  EXPECT_EQ(field[3 * 640 * 1 + 5], 7);

  // A wider pitch leaves the bytes between rows alone.
  std::vector<uint8_t> pitched(700 * 3 * 224, 9);
  YuvToDib24(pitched.data(), 700 * 3, picture.data(), 640, 224);
  EXPECT_EQ(pitched[700 * 3 * 223], 200);
  EXPECT_EQ(pitched[640 * 3], 9);
}

TEST(DisplayToDib24, UnpacksEachFormat) {
  const uint16_t bgr565[2] = {0xF800, 0x07E0};
  uint8_t out[6];
  Bgr565ToDib24(out, reinterpret_cast<const uint8_t*>(bgr565), 2, 1);
  EXPECT_EQ(out[0], 248);  // blue
  EXPECT_EQ(out[1], 0);
  EXPECT_EQ(out[2], 0);
  EXPECT_EQ(out[4], 252);  // green of the second
  const uint16_t rgb555 = 0x7C1F;
  Rgb555ToDib24(out, reinterpret_cast<const uint8_t*>(&rgb555), 1, 1);
  EXPECT_EQ(out[0], 248);
  EXPECT_EQ(out[1], 0);
  EXPECT_EQ(out[2], 248);
  const uint8_t rgb32[8] = {1, 2, 3, 0, 4, 5, 6, 0};
  DisplayToDib24For(SurfacePixelFormat::kRgb32)(out, 6, rgb32, 2, 1);
  EXPECT_EQ(std::vector<uint8_t>(out, out + 6), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
  // Rows turn bottom-up.
  const uint8_t rows[6] = {1, 1, 1, 2, 2, 2};
  Rgb24ToDib24(out, rows, 1, 2);
  EXPECT_EQ(out[0], 2);
}

// Every SIMD kernel gives the table's bytes, on random pictures of several widths, without
// writing past its rows.
TEST(YuvKernels, EveryLevelMatchesTheTables) {
  std::mt19937 rng(7);
  for (int width : {2, 16, 30, 34, 320, 640}) {
    std::vector<uint8_t> luma(2 * static_cast<size_t>(width)), cb(static_cast<size_t>(width / 2)), cr(cb.size());
    for (auto* plane : {&luma, &cb, &cr}) {
      for (auto& v : *plane) v = static_cast<uint8_t>(rng());
    }
    for (auto level : {platform::CpuLevel::kSse2, platform::CpuLevel::kAvx2}) {
      if (!platform::CpuLevelAvailable(level)) continue;
      const YuvKernels simd = YuvKernelsFor(level);
      for (int bytes : {3, 4}) {
        const size_t row = static_cast<size_t>(width * bytes);
        std::vector<uint8_t> want(2 * row + 32, 0xCC), got(2 * row + 32, 0xCC);
        RowPair rows{luma.data(), luma.data() + width, cb.data(), cr.data(), want.data(), want.data() + row + 16, width};
        (bytes == 3 ? RowPairToBgr24 : RowPairToRgb32)(rows);
        rows.out0 = got.data();
        rows.out1 = got.data() + row + 16;
        (bytes == 3 ? simd.to_bgr24 : simd.to_rgb32)(rows);
        ASSERT_EQ(got, want) << "width " << width << " bytes " << bytes << " "
                             << platform::CpuLevelName(level);
      }
    }
  }
}

}  // namespace
}  // namespace dvr::codec
