#include "codec/idct.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "codec/x86/idct_sse2.h"
#include "platform/cpu_features.h"

namespace dvr::codec {
namespace {

using Block = std::array<int16_t, 64>;
using Samples = std::array<uint8_t, 64>;

Samples Reference(Block block) {
  alignas(16) Block b = block;
  IdctReference(b.data());
  Samples out{};
  StoreLowBytes(b.data(), out.data(), 8);
  return out;
}

Samples Packed(Block block) {
  alignas(16) Block b = block;
  IdctPacked(b.data());
  Samples out{};
  StoreSaturated(b.data(), out.data(), 8);
  return out;
}

// Bit r set when row r holds a coefficient, as the block decoder announces it.
unsigned UsedRows(const Block& block) {
  unsigned rows = 0;
  for (size_t i = 0; i < 64; ++i) rows |= block[i] ? 1u << (i / 8) : 0u;
  return rows;
}

Samples PackedSse2(Block block, unsigned rows) {
  alignas(16) Block b = block;
  Samples out{};
  IdctPackedSse2Store(b.data(), out.data(), 8, rows);
  return out;
}

// The exact transform, rounded and clamped.
Samples Exact(const Block& f) {
  Samples out{};
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      double sum = 0;
      for (int v = 0; v < 8; ++v) {
        for (int u = 0; u < 8; ++u) {
          const double nu = u ? 1 : std::sqrt(0.5), nv = v ? 1 : std::sqrt(0.5);
          sum += nu * nv * f[static_cast<size_t>(8 * v + u)] *
                 std::cos((2 * x + 1) * u * M_PI / 16) * std::cos((2 * y + 1) * v * M_PI / 16);
        }
      }
      out[static_cast<size_t>(8 * y + x)] =
          static_cast<uint8_t>(std::clamp(std::lround(sum / 4), 0L, 255L));
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
    ASSERT_TRUE(std::all_of(reference.begin(), reference.end(), [d](uint8_t v) { return v == d; }))
        << d;
    ASSERT_TRUE(std::all_of(packed.begin(), packed.end(), [d](uint8_t v) { return v == d; })) << d;
  }
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

// Known answers: whole blocks with every sample of both designs. The samples were worked out apart
// from this code, by a big-integer model of each design's fixed-point steps written from their
// definition; each is within one level of the exact transform, rounded and clamped. Together with
// the blocks on rounding boundaries below, any rounding constant or clamp bound of either design
// moved by one changes at least one sample, wherever such a change can alter a result at all.

// A coefficient (index 8 v + u) or a sample (index 8 row + column) and its value.
struct Entry {
  int index;
  int value;
};

Block Coefficients(const std::vector<Entry>& coefficients) {
  Block block{};
  for (const Entry& c : coefficients)
    block[static_cast<size_t>(c.index)] = static_cast<int16_t>(c.value);
  return block;
}

// The samples that differ from the expected ones, as "(row, column) got/expected"; empty if none.
std::string Mismatches(const Samples& got, const Samples& expected) {
  std::string out;
  for (size_t i = 0; i < 64; ++i) {
    if (got[i] == expected[i]) continue;
    out += "(" + std::to_string(i / 8) + ", " + std::to_string(i % 8) + ") " +
           std::to_string(got[i]) + "/" + std::to_string(expected[i]) + " ";
  }
  return out;
}

struct KnownAnswer {
  const char* what;
  Block coefficients;
  Samples reference;
  Samples packed;
};

// clang-format off
// Energy falling off with frequency over all 64 coefficients.
constexpr Block kMixedBlock = {
    1519, -148, -106, -116,  -60,  -22,   84,  -74,
      27,  -60,  -36,    1,   60,   43,   -7,    3,
     -35,   15,  -19,   25,  -13,   17,    4,  -24,
      24,   32,   -1,    9,  -18,  -20,  -21,  -28,
      21,    8,    2,   -6,   -8,  -16,   18,   13,
     -16,  -16,  -15,   -9,   -6,   15,  -20,  -17,
     -15,   12,    3,  -10,   -1,   13,    0,    5,
      -4,  -15,   -8,    8,    4,   10,   11,    0
};

const KnownAnswer kKnownAnswers[] = {
    // Rounds up. In the packed design a zero row 1 or 2 still carries its rounder shifted down, 1,
    // which takes rows 3 and 4 a level lower.
    {"DC alone, exactly halfway between two levels",
     Coefficients({{0, 804}}),
     {101, 101, 101, 101, 101, 101, 101, 101,
      101, 101, 101, 101, 101, 101, 101, 101,
      101, 101, 101, 101, 101, 101, 101, 101,
      101, 101, 101, 101, 101, 101, 101, 101,
      101, 101, 101, 101, 101, 101, 101, 101,
      101, 101, 101, 101, 101, 101, 101, 101,
      101, 101, 101, 101, 101, 101, 101, 101,
      101, 101, 101, 101, 101, 101, 101, 101},
     {101, 101, 101, 101, 101, 101, 101, 101,
      101, 101, 101, 101, 101, 101, 101, 101,
      101, 101, 101, 101, 101, 101, 101, 101,
      100, 100, 100, 100, 100, 100, 100, 100,
      100, 100, 100, 100, 100, 100, 100, 100,
      101, 101, 101, 101, 101, 101, 101, 101,
      101, 101, 101, 101, 101, 101, 101, 101,
      101, 101, 101, 101, 101, 101, 101, 101}},
    // Only row 0 is transformed; every column takes the shortcut.
    {"one horizontal frequency",
     Coefficients({{0, 336}, {1, -176}}),
     { 11,  16,  25,  36,  48,  59,  68,  73,
       11,  16,  25,  36,  48,  59,  68,  73,
       11,  16,  25,  36,  48,  59,  68,  73,
       11,  16,  25,  36,  48,  59,  68,  73,
       11,  16,  25,  36,  48,  59,  68,  73,
       11,  16,  25,  36,  48,  59,  68,  73,
       11,  16,  25,  36,  48,  59,  68,  73,
       11,  16,  25,  36,  48,  59,  68,  73},
     { 12,  16,  25,  36,  48,  59,  68,  73,
       11,  16,  25,  36,  48,  59,  68,  73,
       11,  16,  25,  36,  48,  59,  68,  73,
       11,  16,  25,  36,  48,  59,  68,  72,
       11,  16,  25,  36,  48,  59,  68,  72,
       11,  16,  25,  36,  48,  59,  68,  73,
       11,  16,  25,  36,  48,  59,  68,  73,
       11,  16,  25,  36,  48,  59,  68,  73}},
    // Every row takes the shortcut; the columns are transformed.
    {"one vertical frequency",
     Coefficients({{0, 883}, {16, -353}}),
     { 53,  53,  53,  53,  53,  53,  53,  53,
       87,  87,  87,  87,  87,  87,  87,  87,
      134, 134, 134, 134, 134, 134, 134, 134,
      168, 168, 168, 168, 168, 168, 168, 168,
      168, 168, 168, 168, 168, 168, 168, 168,
      134, 134, 134, 134, 134, 134, 134, 134,
       87,  87,  87,  87,  87,  87,  87,  87,
       53,  53,  53,  53,  53,  53,  53,  53},
     { 53,  53,  53,  53,  53,  53,  53,  53,
       86,  86,  86,  86,  86,  86,  86,  86,
      134, 134, 134, 134, 134, 134, 134, 134,
      168, 168, 168, 168, 168, 168, 168, 168,
      168, 168, 168, 168, 168, 168, 168, 168,
      134, 134, 134, 134, 134, 134, 134, 134,
       86,  86,  86,  86,  86,  86,  86,  86,
       53,  53,  53,  53,  53,  53,  53,  53}},
    {"one frequency inside, (3, 1)",
     Coefficients({{0, 711}, {25, 355}}),
     {161, 150, 130, 103,  74,  48,  28,  16,
       72,  74,  79,  86,  92,  98, 103, 106,
        4,  17,  41,  72, 106, 137, 161, 174,
       41,  48,  61,  79,  98, 116, 130, 137,
      137, 130, 116,  98,  79,  61,  48,  41,
      174, 161, 137, 106,  72,  41,  17,   4,
      106, 103,  98,  92,  86,  79,  74,  72,
       16,  28,  48,  74, 103, 130, 150, 161},
     {161, 150, 130, 103,  75,  48,  28,  17,
       72,  74,  79,  86,  92,  98, 103, 106,
        4,  17,  41,  72, 106, 137, 161, 174,
       41,  48,  61,  79,  98, 116, 130, 137,
      137, 130, 116,  98,  79,  61,  48,  40,
      174, 161, 137, 106,  72,  41,  17,   4,
      106, 103,  99,  92,  86,  79,  74,  72,
       17,  28,  48,  74, 103, 130, 150, 161}},
    {"one frequency inside, (7, 3)",
     Coefficients({{0, 636}, {59, -324}}),
     { 66,  83,  95,  88,  71,  64,  76,  93,
      117,  71,  35,  55, 104, 124,  88,  42,
       23,  93, 146, 117,  42,  13,  66, 136,
      146,  64,   2,  35, 124, 157,  95,  13,
       13,  95, 157, 124,  35,   2,  64, 146,
      136,  66,  13,  42, 117, 146,  93,  23,
       42,  88, 124, 104,  55,  35,  71, 117,
       93,  76,  64,  71,  88,  95,  83,  66},
     { 66,  83,  95,  88,  71,  64,  76,  93,
      117,  71,  35,  55, 105, 124,  88,  42,
       23,  93, 146, 117,  42,  13,  66, 135,
      146,  64,   2,  35, 124, 157,  95,  13,
       13,  95, 157, 124,  35,   2,  64, 146,
      136,  66,  13,  42, 117, 146,  93,  24,
       42,  88, 124, 105,  55,  35,  71, 117,
       93,  76,  64,  71,  88,  95,  83,  66}},
    // (1028 +-80 +-40 +-16) / 8 is k + 1/2 everywhere and the reference design's row pass is
    // exact here: every sample rounds up. The packed design's carries lower rows 3 and 4 again.
    {"every sample exactly halfway",
     Coefficients({{0, 1028}, {4, 80}, {32, -40}, {36, 16}}),
     {136, 112, 112, 136, 136, 112, 112, 136,
      142, 126, 126, 142, 142, 126, 126, 142,
      142, 126, 126, 142, 142, 126, 126, 142,
      136, 112, 112, 136, 136, 112, 112, 136,
      136, 112, 112, 136, 136, 112, 112, 136,
      142, 126, 126, 142, 142, 126, 126, 142,
      142, 126, 126, 142, 142, 126, 126, 142,
      136, 112, 112, 136, 136, 112, 112, 136},
     {136, 112, 112, 136, 136, 112, 112, 136,
      142, 126, 126, 142, 142, 126, 126, 142,
      142, 126, 126, 142, 142, 126, 126, 142,
      135, 111, 111, 135, 135, 111, 111, 135,
      135, 111, 111, 135, 135, 111, 111, 135,
      142, 126, 126, 142, 142, 126, 126, 142,
      142, 126, 126, 142, 142, 126, 126, 142,
      136, 112, 112, 136, 136, 112, 112, 136}},
    // The exact samples run from -100 to 610; the reference row pass exceeds 16 bits and must
    // saturate, not wrap.
    {"overshoot at both ends",
     Coefficients({{0, 2040}, {1, 2047}}),
     {255, 255, 255, 255, 184,  54,   0,   0,
      255, 255, 255, 255, 184,  54,   0,   0,
      255, 255, 255, 255, 184,  54,   0,   0,
      255, 255, 255, 255, 184,  54,   0,   0,
      255, 255, 255, 255, 184,  54,   0,   0,
      255, 255, 255, 255, 184,  54,   0,   0,
      255, 255, 255, 255, 184,  54,   0,   0,
      255, 255, 255, 255, 184,  54,   0,   0},
     {255, 255, 255, 255, 184,  54,   0,   0,
      255, 255, 255, 255, 184,  54,   0,   0,
      255, 255, 255, 255, 184,  54,   0,   0,
      255, 255, 255, 255, 184,  54,   0,   0,
      255, 255, 255, 255, 184,  54,   0,   0,
      255, 255, 255, 255, 184,  54,   0,   0,
      255, 255, 255, 255, 184,  54,   0,   0,
      255, 255, 255, 255, 184,  54,   0,   0}},
    // Some samples leave the arithmetic as exactly 256 or -1 in both designs.
    {"samples just past each end",
     Coefficients({{0, 1020}, {11, -944}}),
     {  0, 173, 255, 255,   0,   0,  82, 255,
        0, 166, 255, 237,  18,   0,  89, 255,
       18, 153, 255, 200,  55,   0, 102, 237,
       89, 136, 173, 153, 102,  82, 119, 166,
      166, 119,  82, 102, 153, 173, 136,  89,
      237, 102,   0,  55, 200, 255, 153,  18,
      255,  89,   0,  18, 237, 255, 166,   0,
      255,  82,   0,   0, 255, 255, 173,   0},
     {  0, 173, 255, 255,   0,   0,  82, 255,
        0, 166, 255, 237,  18,   0,  89, 255,
       18, 153, 255, 200,  55,   0, 102, 237,
       89, 136, 173, 153, 102,  82, 119, 166,
      166, 119,  82, 102, 153, 173, 136,  89,
      237, 102,   0,  55, 200, 255, 153,  19,
      255,  89,   0,  19, 237, 255, 166,   0,
      255,  82,   0,   0, 255, 255, 173,   0}},
    {"a natural block",
     kMixedBlock,
     {118, 156, 198, 248, 185, 239, 190, 205,
      131, 144, 197, 228, 198, 231, 191, 229,
      113, 112, 202, 225, 182, 209, 201, 232,
      115, 167, 224, 213, 193, 214, 197, 248,
      141, 193, 235, 195, 197, 235, 181, 242,
      132, 219, 215, 200, 163, 212, 173, 205,
      107, 189, 196, 201, 155, 232, 176, 192,
      130, 179, 230, 169, 153, 223, 157, 193},
     {118, 156, 198, 248, 185, 239, 190, 205,
      131, 144, 197, 228, 198, 231, 191, 229,
      113, 112, 202, 225, 182, 209, 201, 232,
      115, 167, 224, 213, 193, 214, 197, 248,
      141, 193, 235, 195, 197, 235, 181, 242,
      132, 219, 216, 200, 163, 212, 173, 205,
      107, 189, 196, 201, 155, 233, 176, 192,
      130, 179, 230, 169, 153, 223, 157, 193}},
};
// clang-format on

TEST(IdctKnownAnswer, Reference) {
  for (const KnownAnswer& k : kKnownAnswers) {
    EXPECT_EQ(Mismatches(Reference(k.coefficients), k.reference), "") << k.what;
  }
}

TEST(IdctKnownAnswer, PackedPortable) {
  for (const KnownAnswer& k : kKnownAnswers) {
    EXPECT_EQ(Mismatches(Packed(k.coefficients), k.packed), "") << k.what;
  }
}

TEST(IdctKnownAnswer, PackedSse2) {
  if (!platform::CpuLevelAvailable(platform::CpuLevel::kSse2)) GTEST_SKIP() << "no SSE2";
  for (const KnownAnswer& k : kKnownAnswers) {
    // With the zero rows announced, as the block decoder does, and with every row transformed.
    EXPECT_EQ(Mismatches(PackedSse2(k.coefficients, UsedRows(k.coefficients)), k.packed), "")
        << k.what;
    EXPECT_EQ(Mismatches(PackedSse2(k.coefficients, 0xFF), k.packed), "") << k.what;
  }
}

// Sparse blocks, found by search, that put one intermediate value exactly on a rounding boundary,
// or one short of it, with the samples that depend on it: rounding there off by one moves them.
struct OnBoundary {
  const char* where;
  std::vector<Entry> coefficients;
  std::vector<Entry> samples;
};

void ExpectSamples(const OnBoundary& b, const Samples& got, const char* design) {
  for (const Entry& s : b.samples) {
    EXPECT_EQ(got[static_cast<size_t>(s.index)], s.value)
        << design << ", " << b.where << ": sample (" << s.index / 8 << ", " << s.index % 8 << ")";
  }
}

TEST(IdctRoundingBoundary, Reference) {
  const OnBoundary cases[] = {
      {"row pass: sum / sqrt(2) exactly half",
       {{0, 1712}, {58, -354}, {63, -352}},
       {{17, 227}, {41, 201}}},
      {"row pass: sum / sqrt(2) just under half",
       {{0, 186}, {1, 40}, {5, 93}},
       {{6, 34}, {14, 34}}},
      {"row pass: difference / sqrt(2) exactly half",
       {{0, 1481}, {1, 352}, {6, -338}},
       {{2, 165}, {10, 165}}},
      {"row pass: difference / sqrt(2) just under half",
       {{0, 618}, {1, 5}, {3, -287}},
       {{2, 127}, {10, 127}}},
      {"column pass: sum / sqrt(2) and the 1-7 rotation / 8 exactly half",
       {{0, 615}, {10, 97}, {23, -464}},
       {{54, 44}}},
      {"column pass: sum / sqrt(2) just under half",
       {{0, 1227}, {2, 249}, {42, -245}},
       {{50, 160}, {53, 160}}},
      {"column pass: difference / sqrt(2) exactly half",
       {{0, 975}, {10, -57}, {54, 189}},
       {{17, 79}, {22, 79}}},
      {"column pass: difference / sqrt(2) just under half, the 2-6 rotation / 8 exactly half",
       {{0, 835}, {23, -275}, {31, -433}},
       {{18, 214}}},
  };
  for (const OnBoundary& b : cases)
    ExpectSamples(b, Reference(Coefficients(b.coefficients)), "reference");
}

TEST(IdctRoundingBoundary, Packed) {
  const OnBoundary cases[] = {
      {"row 0: sum + rounder = 2048 k - 1", {{0, 712}, {1, -499}}, {{31, 175}, {39, 175}}},
      {"row 1: sum + rounder = 2048 k", {{0, 1876}, {14, 327}}, {{11, 209}, {12, 209}}},
      {"row 1: sum + rounder = 2048 k - 1", {{0, 1471}, {11, 199}}, {{46, 179}}},
      {"row 2: sum + rounder = 2048 k", {{0, 1680}, {19, -289}}, {{56, 155}}},
      {"row 2: sum + rounder = 2048 k - 1", {{0, 967}, {22, 1387}}, {{0, 243}, {7, 243}}},
      {"row 3: sum + rounder = 2048 k", {{0, 1265}, {29, -337}}, {{2, 145}}},
      {"row 3: sum + rounder = 2048 k - 1", {{0, 1302}, {25, 134}}, {{24, 145}}},
      {"row 4: sum + rounder = 2048 k - 1", {{37, -499}}, {{25, 86}, {33, 86}}},
      {"row 5: sum + rounder = 2048 k", {{0, 1709}, {45, 196}}, {{36, 247}}},
      {"row 5: sum + rounder = 2048 k - 1", {{0, 227}, {41, 1447}}, {{50, 225}}},
      {"row 6: sum + rounder = 2048 k; x tan(pi/8) next to a whole",
       {{0, 1020}, {51, -384}},
       {{5, 92}, {13, 214}, {53, 214}}},
      {"row 6: sum + rounder = 2048 k - 1",
       {{0, 594}, {50, -13}, {52, -270}},
       {{18, 119}, {21, 119}, {42, 119}, {45, 119}}},
      {"row 7: sum + rounder = 2048 k", {{0, 398}, {62, 384}}, {{49, 1}, {54, 1}}},
      {"row 7: sum + rounder = 2048 k - 1",
       {{0, 1914}, {60, -13}},
       {{24, 242}, {27, 242}, {28, 242}, {31, 242}}},
  };
  const bool sse2 = platform::CpuLevelAvailable(platform::CpuLevel::kSse2);
  for (const OnBoundary& b : cases) {
    const Block block = Coefficients(b.coefficients);
    ExpectSamples(b, Packed(block), "portable");
    if (sse2) ExpectSamples(b, PackedSse2(block, UsedRows(block)), "SSE2");
  }
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
      for (int k = 1; k < 64; ++k)
        b[static_cast<size_t>(k)] = static_cast<int16_t>(static_cast<int>(rng() % 4096) - 2048);
    } else if (kind == 2) {
      for (int n = 0; n < 4; ++n)
        b[rng() % 64] = static_cast<int16_t>(static_cast<int>(rng() % 600) - 300);
    } else if (kind == 3) {
      for (int k = 1; k < 64; ++k) b[static_cast<size_t>(k)] = (rng() & 1) ? 2047 : -2048;
    } else if (kind == 4) {
      // Natural: energy falling off with frequency.
      for (int k = 1; k < 64; ++k) {
        const int spread = 400 / (1 + k / 4);
        b[static_cast<size_t>(k)] = static_cast<int16_t>(
            static_cast<int>(rng() % static_cast<unsigned>(2 * spread + 1)) - spread);
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
    const unsigned rows = UsedRows(block);
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
        s = range == 255 ? static_cast<int>(rng() % 256)
                         : 128 + static_cast<int>(rng() % (2 * range + 1)) - range;
      }
      Block f{};
      for (int v = 0; v < 8; ++v) {
        for (int u = 0; u < 8; ++u) {
          double sum = 0;
          for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
              sum += samples[static_cast<size_t>(8 * y + x)] *
                     std::cos((2 * x + 1) * u * M_PI / 16) * std::cos((2 * y + 1) * v * M_PI / 16);
            }
          }
          const double nu = u ? 1 : std::sqrt(0.5), nv = v ? 1 : std::sqrt(0.5);
          f[static_cast<size_t>(8 * v + u)] =
              static_cast<int16_t>(std::clamp(std::lround(nu * nv * sum / 4), -2048L, 2047L));
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
