// Accuracy of both IDCT designs against a double-precision IDCT, in the manner of IEEE 1180-1990:
// random blocks of samples, their exact DCT rounded to integer coefficients (clamped to
// -2048..2047), then each IDCT against the exact inverse of those coefficients. The designs work
// on samples 0..255 without a level shift, so the sample ranges are the full 0..255 and mid grey
// +-5, each also mirrored (255 - s) as the standard's sign change. Reports peak error, mean
// square error and mean error, per position (worst of the 64) and overall.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <random>

#include "codec/idct.h"

namespace {

using Block = std::array<int16_t, 64>;

struct Stats {
  std::array<double, 64> squared{}, sum{};
  int peak = 0;
};

double Cos(int a, int b) { return std::cos((2 * a + 1) * b * M_PI / 16); }
double N(int k) { return k ? 1.0 : std::sqrt(0.5); }

}  // namespace

int main() {
  constexpr int kBlocks = 10000;
  const struct {
    const char* name;
    int low, high;
  } ranges[] = {{"0..255", 0, 255}, {"123..133", 123, 133}};
  std::printf("| design | samples | mirrored | peak | worst position MSE | overall MSE | worst position ME | overall ME |\n");
  std::printf("|---|---|---|---|---|---|---|---|\n");
  for (const auto& range : ranges) {
    for (const bool mirrored : {false, true}) {
      std::mt19937 rng(1180);
      Stats stats[2];
      for (int n = 0; n < kBlocks; ++n) {
        std::array<int, 64> s{};
        for (int& v : s) {
          v = range.low + static_cast<int>(rng() % static_cast<unsigned>(range.high - range.low + 1));
          if (mirrored) v = 255 - v;
        }
        Block f{};
        for (int v = 0; v < 8; ++v) {
          for (int u = 0; u < 8; ++u) {
            double sum = 0;
            for (int y = 0; y < 8; ++y) {
              for (int x = 0; x < 8; ++x) sum += s[static_cast<size_t>(8 * y + x)] * Cos(x, u) * Cos(y, v);
            }
            f[static_cast<size_t>(8 * v + u)] = static_cast<int16_t>(std::clamp(std::lround(N(u) * N(v) * sum / 4), -2048L, 2047L));
          }
        }
        std::array<int, 64> exact{};
        for (int y = 0; y < 8; ++y) {
          for (int x = 0; x < 8; ++x) {
            double sum = 0;
            for (int v = 0; v < 8; ++v) {
              for (int u = 0; u < 8; ++u) sum += N(u) * N(v) * f[static_cast<size_t>(8 * v + u)] * Cos(x, u) * Cos(y, v);
            }
            exact[static_cast<size_t>(8 * y + x)] = static_cast<int>(std::clamp(std::lround(sum / 4), 0L, 255L));
          }
        }
        for (int design = 0; design < 2; ++design) {
          alignas(16) Block b = f;
          std::array<uint8_t, 64> out{};
          if (design == 0) {
            dvr::codec::IdctReference(b.data());
            dvr::codec::StoreLowBytes(b.data(), out.data(), 8);
          } else {
            dvr::codec::IdctPacked(b.data());
            dvr::codec::StoreSaturated(b.data(), out.data(), 8);
          }
          for (size_t i = 0; i < 64; ++i) {
            const int e = out[i] - exact[i];
            stats[design].peak = std::max(stats[design].peak, std::abs(e));
            stats[design].squared[i] += e * e;
            stats[design].sum[i] += e;
          }
        }
      }
      for (int design = 0; design < 2; ++design) {
        const Stats& st = stats[design];
        double worst_mse = 0, worst_me = 0, all_squared = 0, all_sum = 0;
        for (size_t i = 0; i < 64; ++i) {
          worst_mse = std::max(worst_mse, st.squared[i] / kBlocks);
          worst_me = std::max(worst_me, std::fabs(st.sum[i] / kBlocks));
          all_squared += st.squared[i];
          all_sum += st.sum[i];
        }
        std::printf("| %s | %s | %s | %d | %.4f | %.4f | %.4f | %.5f |\n", design ? "packed (AP-922)" : "reference",
                    range.name, mirrored ? "yes" : "no", st.peak, worst_mse, all_squared / (64.0 * kBlocks),
                    worst_me, std::fabs(all_sum) / (64.0 * kBlocks));
      }
    }
  }
  std::printf("\nIEEE 1180 limits: peak <= 1, position MSE <= 0.06, overall MSE <= 0.02, "
              "position ME <= 0.015, overall ME <= 0.0015\n");
  return 0;
}
