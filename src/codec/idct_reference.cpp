#include <array>
#include <cstddef>

#include "codec/idct.h"

namespace dvr::codec {
namespace {

constexpr int32_t W1 = 2841;  // 2048 sqrt(2) cos(k pi / 16)
constexpr int32_t W2 = 2676;
constexpr int32_t W3 = 2408;
constexpr int32_t W5 = 1609;
constexpr int32_t W6 = 1108;
constexpr int32_t W7 = 565;

// The clamp table for -512 .. 511; anything beyond clamps the same way.
constexpr std::array<int16_t, 1024> kClamp = [] {
  std::array<int16_t, 1024> table{};
  for (int i = -512; i < 512; ++i) table[static_cast<size_t>(i + 512)] = static_cast<int16_t>(i < 0 ? 0 : i > 255 ? 255 : i);
  return table;
}();

int16_t Clamp(int32_t v) { return kClamp[static_cast<size_t>((v < -512 ? -512 : v > 511 ? 511 : v) + 512)]; }

// The reference decoder computes in 32-bit ints; overflow (only reachable with coefficients no
// encoder produces) wraps, as it does there. Unsigned arithmetic gives the wrap without undefined
// behaviour; Sar is the arithmetic shift of the wrapped value.
using U = uint32_t;
int32_t Sar(U v, int n) { return static_cast<int32_t>(v) >> n; }
U Of(int32_t v) { return static_cast<U>(v); }

int16_t Saturate16(int32_t v) {
  return static_cast<int16_t>(v < -32768 ? -32768 : v > 32767 ? 32767 : v);
}

void Row(int16_t* b) {
  if (!(b[1] | b[2] | b[3] | b[4] | b[5] | b[6] | b[7])) {
    const auto dc = static_cast<int16_t>(b[0] * 8);
    for (int i = 0; i < 8; ++i) b[i] = dc;
    return;
  }
  U x0 = (Of(b[0]) << 11) + 128, x1 = Of(b[4]) << 11, x2 = Of(b[6]), x3 = Of(b[2]);
  U x4 = Of(b[1]), x5 = Of(b[7]), x6 = Of(b[5]), x7 = Of(b[3]), x8;

  x8 = W7 * (x4 + x5);
  x4 = x8 + (W1 - W7) * x4;
  x5 = x8 - (W1 + W7) * x5;
  x8 = W3 * (x6 + x7);
  x6 = x8 - (W3 - W5) * x6;
  x7 = x8 - (W3 + W5) * x7;

  x8 = x0 + x1;
  x0 -= x1;
  x1 = W6 * (x3 + x2);
  x2 = x1 - (W2 + W6) * x2;
  x3 = x1 + (W2 - W6) * x3;
  x1 = x4 + x6;
  x4 -= x6;
  x6 = x5 + x7;
  x5 -= x7;

  x7 = x8 + x3;
  x8 -= x3;
  x3 = x0 + x2;
  x0 -= x2;
  x2 = Of(Sar(181 * (x4 + x5) + 128, 8));
  x4 = Of(Sar(181 * (x4 - x5) + 128, 8));

  // Stored as 16-bit values: saturated, as legal input can exceed the range.
  b[0] = Saturate16(Sar(x7 + x1, 8));
  b[1] = Saturate16(Sar(x3 + x2, 8));
  b[2] = Saturate16(Sar(x0 + x4, 8));
  b[3] = Saturate16(Sar(x8 + x6, 8));
  b[4] = Saturate16(Sar(x8 - x6, 8));
  b[5] = Saturate16(Sar(x0 - x4, 8));
  b[6] = Saturate16(Sar(x3 - x2, 8));
  b[7] = Saturate16(Sar(x7 - x1, 8));
}

void Column(int16_t* c) {
  if (!(c[8] | c[16] | c[24] | c[32] | c[40] | c[48] | c[56])) {
    const int16_t v = Clamp((c[0] + 32) >> 6);
    for (int i = 0; i < 8; ++i) c[8 * i] = v;
    return;
  }
  U x0 = (Of(c[0]) << 8) + 8192, x1 = Of(c[32]) << 8, x2 = Of(c[48]), x3 = Of(c[16]);
  U x4 = Of(c[8]), x5 = Of(c[56]), x6 = Of(c[40]), x7 = Of(c[24]), x8;

  x8 = W7 * (x4 + x5) + 4;
  x4 = Of(Sar(x8 + (W1 - W7) * x4, 3));
  x5 = Of(Sar(x8 - (W1 + W7) * x5, 3));
  x8 = W3 * (x6 + x7) + 4;
  x6 = Of(Sar(x8 - (W3 - W5) * x6, 3));
  x7 = Of(Sar(x8 - (W3 + W5) * x7, 3));

  x8 = x0 + x1;
  x0 -= x1;
  x1 = W6 * (x3 + x2) + 4;
  x2 = Of(Sar(x1 - (W2 + W6) * x2, 3));
  x3 = Of(Sar(x1 + (W2 - W6) * x3, 3));
  x1 = x4 + x6;
  x4 -= x6;
  x6 = x5 + x7;
  x5 -= x7;

  x7 = x8 + x3;
  x8 -= x3;
  x3 = x0 + x2;
  x0 -= x2;
  x2 = Of(Sar(181 * (x4 + x5) + 128, 8));
  x4 = Of(Sar(181 * (x4 - x5) + 128, 8));

  c[0] = Clamp(Sar(x7 + x1, 14));
  c[8] = Clamp(Sar(x3 + x2, 14));
  c[16] = Clamp(Sar(x0 + x4, 14));
  c[24] = Clamp(Sar(x8 + x6, 14));
  c[32] = Clamp(Sar(x8 - x6, 14));
  c[40] = Clamp(Sar(x0 - x4, 14));
  c[48] = Clamp(Sar(x3 - x2, 14));
  c[56] = Clamp(Sar(x7 - x1, 14));
}

}  // namespace

void IdctReference(int16_t* block) {
  for (int row = 0; row < 8; ++row) Row(block + 8 * row);
  for (int column = 0; column < 8; ++column) Column(block + column);
}

void StoreLowBytes(const int16_t* block, uint8_t* destination, int stride) {
  for (int row = 0; row < 8; ++row, destination += stride) {
    for (int i = 0; i < 8; ++i) destination[i] = static_cast<uint8_t>(block[8 * row + i]);
  }
}

}  // namespace dvr::codec
