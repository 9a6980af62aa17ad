#include "codec/idct.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "codec/x86/idct_sse2.h"
#include "platform/cpu_features.h"

namespace dvr::codec {
namespace {

using Block = std::array<int16_t, 64>;

std::array<uint8_t, 64> Reference(Block block) {
  alignas(16) Block b = block;
  IdctReference(b.data());
  std::array<uint8_t, 64> out{};
  StoreLowBytes(b.data(), out.data(), 8);
  return out;
}

std::array<uint8_t, 64> Packed(Block block) {
  alignas(16) Block b = block;
  IdctPacked(b.data());
  std::array<uint8_t, 64> out{};
  StoreSaturated(b.data(), out.data(), 8);
  return out;
}

// The exact transform, rounded and clamped.
std::array<uint8_t, 64> Exact(const Block& f) {
  std::array<uint8_t, 64> out{};
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      double sum = 0;
      for (int v = 0; v < 8; ++v) {
        for (int u = 0; u < 8; ++u) {
          const double nu = u ? 1 : std::sqrt(0.5), nv = v ? 1 : std::sqrt(0.5);
          sum += nu * nv * f[static_cast<size_t>(8 * v + u)] * std::cos((2 * x + 1) * u * M_PI / 16) *
                 std::cos((2 * y + 1) * v * M_PI / 16);
        }
      }
      out[static_cast<size_t>(8 * y + x)] = static_cast<uint8_t>(std::clamp(std::lround(sum / 4), 0L, 255L));
    }
  }
  return out;
}

TEST(IdctReference, DcOnlyBlocksAreFlat) {
  for (int d : {0, 1, 77, 128, 254, 255}) {
    Block b{};
    b[0] = static_cast<int16_t>(8 * d);
    const auto out = Reference(b);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [d](uint8_t v) { return v == d; })) << d;
  }
}

// The block decoders skip the transform of a block that is its DC value alone.
TEST(Idct, DcOnlyBlocksAreFlatInBothDesigns) {
  for (int d = 0; d < 256; ++d) {
    Block b{};
    b[0] = static_cast<int16_t>(8 * d);
    const auto reference = Reference(b), packed = Packed(b);
    ASSERT_TRUE(std::all_of(reference.begin(), reference.end(), [d](uint8_t v) { return v == d; })) << d;
    ASSERT_TRUE(std::all_of(packed.begin(), packed.end(), [d](uint8_t v) { return v == d; })) << d;
  }
}

TEST(IdctReference, OvershootClampsInsteadOfWrapping) {
  // DC 2040 with an AC of 2047 in row 0: the row pass passes 16 bits and must saturate.
  Block b{};
  b[0] = 2040;
  b[1] = 2047;
  const auto out = Reference(b);
  const auto exact = Exact(b);
  for (size_t i = 0; i < 64; ++i) EXPECT_NEAR(out[i], exact[i], 1) << i;
  EXPECT_EQ(out[0], 255);
  EXPECT_EQ(out[7], 0);
}

TEST(IdctReference, ColumnShortcutRoundsTheDc) {
  // F[0][0] = 3: the row pass gives 24 in column 0, and (24 + 32) >> 6 = 0; 4 gives 32 -> 1.
  Block b{};
  b[0] = 3;
  EXPECT_EQ(Reference(b)[0], 0);
  b[0] = 4;
  EXPECT_EQ(Reference(b)[0], 1);
}

TEST(IdctReference, RowWithOnlyHighColumnsIsTransformed) {
  Block b{};
  b[0] = 800;
  b[5] = 300;  // only column 5 besides the DC: the row shortcut must not apply
  const auto out = Reference(b);
  const auto exact = Exact(b);
  for (size_t i = 0; i < 64; ++i) EXPECT_NEAR(out[i], exact[i], 1) << i;
  EXPECT_NE(out[0], out[1]);
}

// Random blocks of every kind: sparse, dense, DC-only, extremes, and ones from real pictures.
std::vector<Block> TestBlocks() {
  std::mt19937 rng(1180);
  std::vector<Block> blocks;
  for (int i = 0; i < 3000; ++i) {
    Block b{};
    const int kind = i % 5;
    b[0] = static_cast<int16_t>(8 * (rng() % 256));
    if (kind == 1) {
      for (int k = 1; k < 64; ++k) b[static_cast<size_t>(k)] = static_cast<int16_t>(static_cast<int>(rng() % 4096) - 2048);
    } else if (kind == 2) {
      for (int n = 0; n < 4; ++n) b[rng() % 64] = static_cast<int16_t>(static_cast<int>(rng() % 600) - 300);
    } else if (kind == 3) {
      for (int k = 1; k < 64; ++k) b[static_cast<size_t>(k)] = (rng() & 1) ? 2047 : -2048;
    } else if (kind == 4) {
      // Natural: energy falling off with frequency.
      for (int k = 1; k < 64; ++k) {
        const int spread = 400 / (1 + k / 4);
        b[static_cast<size_t>(k)] = static_cast<int16_t>(static_cast<int>(rng() % static_cast<unsigned>(2 * spread + 1)) - spread);
      }
    }
    blocks.push_back(b);
  }
  return blocks;
}

TEST(IdctPacked, EveryFormAgreesBitForBit) {
  if (!platform::CpuLevelAvailable(platform::CpuLevel::kSse2)) GTEST_SKIP() << "no SSE2";
  for (const Block& block : TestBlocks()) {
    const auto portable = Packed(block);
    alignas(16) Block b = block;
    // Rows of zeros may be announced; the result must not change.
    unsigned rows = 0;
    for (size_t i = 0; i < 64; ++i) rows |= block[i] ? 1u << (i / 8) : 0u;
    // The output sits between guard bytes, with a stride wider than the block.
    std::array<uint8_t, 8 * 24> canvas;
    canvas.fill(0xA5);
    IdctPackedSse2Store(b.data(), canvas.data() + 8, 24, rows);
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 24; ++x) {
        const uint8_t got = canvas[static_cast<size_t>(24 * y + x)];
        if (x >= 8 && x < 16) {
          ASSERT_EQ(got, portable[static_cast<size_t>(8 * y + x - 8)]);
        } else {
          ASSERT_EQ(got, 0xA5) << "wrote outside the block";
        }
      }
    }
  }
}

TEST(IdctPacked, StaysCloseToTheReferenceOnNaturalBlocks) {
  int worst = 0;
  for (const Block& block : TestBlocks()) {
    bool natural = true;
    for (size_t k = 1; k < 64; ++k) natural = natural && std::abs(block[k]) <= 400;
    if (!natural) continue;
    const auto a = Reference(block), b = Packed(block);
    for (size_t i = 0; i < 64; ++i) worst = std::max(worst, std::abs(a[i] - b[i]));
  }
  EXPECT_LE(worst, 2);
}

// In the manner of IEEE 1180: blocks of samples in a range, transformed exactly, rounded to
// coefficients, then each IDCT against the exact inverse.
TEST(IdctAccuracy, BothDesignsMeetTheIeee1180Limits) {
  std::mt19937 rng(42);
  for (const int range : {255, 5}) {
    double squared[2] = {}, errors[2] = {};
    int peak[2] = {};
    const int trials = 2000;
    for (int t = 0; t < trials; ++t) {
      // Samples over the whole range, or within +-range of mid grey.
      std::array<int, 64> samples{};
      for (int& s : samples) {
        s = range == 255 ? static_cast<int>(rng() % 256) : 128 + static_cast<int>(rng() % (2 * range + 1)) - range;
      }
      Block f{};
      for (int v = 0; v < 8; ++v) {
        for (int u = 0; u < 8; ++u) {
          double sum = 0;
          for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
              sum += samples[static_cast<size_t>(8 * y + x)] * std::cos((2 * x + 1) * u * M_PI / 16) *
                     std::cos((2 * y + 1) * v * M_PI / 16);
            }
          }
          const double nu = u ? 1 : std::sqrt(0.5), nv = v ? 1 : std::sqrt(0.5);
          f[static_cast<size_t>(8 * v + u)] = static_cast<int16_t>(std::clamp(std::lround(nu * nv * sum / 4), -2048L, 2047L));
        }
      }
      const auto exact = Exact(f);
      const std::array<uint8_t, 64> got[2] = {Reference(f), Packed(f)};
      for (int d = 0; d < 2; ++d) {
        for (size_t i = 0; i < 64; ++i) {
          const int e = got[d][i] - exact[i];
          peak[d] = std::max(peak[d], std::abs(e));
          squared[d] += e * e;
          errors[d] += e;
        }
      }
    }
    for (int d = 0; d < 2; ++d) {
      SCOPED_TRACE(d == 0 ? "reference" : "packed");
      EXPECT_LE(peak[d], 1);
      EXPECT_LE(squared[d] / (64.0 * trials), 0.02);
      EXPECT_LE(std::fabs(errors[d] / (64.0 * trials)), 0.0015);
    }
  }
}

}  // namespace
}  // namespace dvr::codec
