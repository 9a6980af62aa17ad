#include "codec/idct.h"

namespace dvr::codec {
namespace {

using namespace ap922;

// 32-bit sums wrap as the packed multiply-add does; they never do for coefficients an encoder makes.
int32_t Wrap(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(v)); }
int32_t Pair(int16_t a, int16_t k, int16_t b, int16_t m) { return Wrap(int64_t{a} * k + int64_t{b} * m); }
int16_t Saturate(int32_t v) { return static_cast<int16_t>(v < -32768 ? -32768 : v > 32767 ? 32767 : v); }
int16_t Adds(int16_t a, int16_t b) { return Saturate(int32_t{a} + b); }
int16_t Subs(int16_t a, int16_t b) { return Saturate(int32_t{a} - b); }
int16_t Mulhi(int16_t a, int16_t k) { return static_cast<int16_t>((int32_t{a} * k) >> 16); }

void Row(int16_t* x, int row) {
  const RowConstants& k = kRowClasses[kRowClassOf[row]];
  const int32_t r = kRowRounder[row];
  const int16_t x0 = x[0], x1 = x[1], x2 = x[2], x3 = x[3], x4 = x[4], x5 = x[5], x6 = x[6], x7 = x[7];
  const auto neg = [](int16_t v) { return static_cast<int16_t>(-v); };
  const int32_t a0 = Wrap(int64_t{Pair(x0, k.k4, x4, k.k4)} + Pair(x2, k.k2, x6, k.k6) + r);
  const int32_t a1 = Wrap(int64_t{Pair(x0, k.k4, x4, neg(k.k4))} + Pair(x2, k.k6, x6, neg(k.k2)) + r);
  const int32_t a2 = Wrap(int64_t{Pair(x0, k.k4, x4, neg(k.k4))} + Pair(x2, neg(k.k6), x6, k.k2) + r);
  const int32_t a3 = Wrap(int64_t{Pair(x0, k.k4, x4, k.k4)} + Pair(x2, neg(k.k2), x6, neg(k.k6)) + r);
  const int32_t b0 = Wrap(int64_t{Pair(x1, k.k1, x5, k.k5)} + Pair(x3, k.k3, x7, k.k7));
  const int32_t b1 = Wrap(int64_t{Pair(x1, k.k3, x5, neg(k.k1))} + Pair(x3, neg(k.k7), x7, neg(k.k5)));
  const int32_t b2 = Wrap(int64_t{Pair(x1, k.k5, x5, k.k7)} + Pair(x3, neg(k.k1), x7, k.k3));
  const int32_t b3 = Wrap(int64_t{Pair(x1, k.k7, x5, k.k3)} + Pair(x3, neg(k.k5), x7, neg(k.k1)));
  x[0] = Saturate(Wrap(int64_t{a0} + b0) >> kRowShift);
  x[1] = Saturate(Wrap(int64_t{a1} + b1) >> kRowShift);
  x[2] = Saturate(Wrap(int64_t{a2} + b2) >> kRowShift);
  x[3] = Saturate(Wrap(int64_t{a3} + b3) >> kRowShift);
  x[4] = Saturate(Wrap(int64_t{a3} - b3) >> kRowShift);
  x[5] = Saturate(Wrap(int64_t{a2} - b2) >> kRowShift);
  x[6] = Saturate(Wrap(int64_t{a1} - b1) >> kRowShift);
  x[7] = Saturate(Wrap(int64_t{a0} - b0) >> kRowShift);
}

void Column(int16_t* c) {
  const int16_t x0 = c[0], x1 = c[8], x2 = c[16], x3 = c[24], x4 = c[32], x5 = c[40], x6 = c[48], x7 = c[56];
  const int16_t tp17 = Adds(x1, Mulhi(x7, kT1));
  const int16_t tm17 = Subs(Mulhi(x1, kT1), x7);
  const int16_t tp35 = Adds(Adds(x3, x5), Mulhi(x5, kT3));  // left to right
  const int16_t tm35 = Subs(Adds(x3, Mulhi(x3, kT3)), x5);
  const int16_t b0 = Adds(tp17, tp35);
  const int16_t b3 = Subs(tm17, tm35);
  const int16_t t1 = Subs(tp17, tp35);
  const int16_t t2 = Adds(tm17, tm35);
  const int16_t half1 = Mulhi(Adds(t1, t2), kC4);
  const int16_t half2 = Mulhi(Subs(t1, t2), kC4);
  const int16_t b1 = Adds(half1, half1);
  const int16_t b2 = Adds(half2, half2);
  const int16_t tp26 = Adds(x2, Mulhi(x6, kT2));
  const int16_t tm26 = Subs(Mulhi(x2, kT2), x6);
  const int16_t tp04 = Adds(x0, x4);
  const int16_t tm04 = Subs(x0, x4);
  const int16_t a0 = Adds(tp04, tp26);
  const int16_t a3 = Subs(tp04, tp26);
  const int16_t a1 = Adds(tm04, tm26);
  const int16_t a2 = Subs(tm04, tm26);
  c[0] = static_cast<int16_t>(Adds(a0, b0) >> kColumnShift);
  c[8] = static_cast<int16_t>(Adds(a1, b1) >> kColumnShift);
  c[16] = static_cast<int16_t>(Adds(a2, b2) >> kColumnShift);
  c[24] = static_cast<int16_t>(Adds(a3, b3) >> kColumnShift);
  c[32] = static_cast<int16_t>(Subs(a3, b3) >> kColumnShift);
  c[40] = static_cast<int16_t>(Subs(a2, b2) >> kColumnShift);
  c[48] = static_cast<int16_t>(Subs(a1, b1) >> kColumnShift);
  c[56] = static_cast<int16_t>(Subs(a0, b0) >> kColumnShift);
}

}  // namespace

void IdctPacked(int16_t* block) {
  for (int row = 0; row < 8; ++row) Row(block + 8 * row, row);
  for (int column = 0; column < 8; ++column) Column(block + column);
}

void StoreSaturated(const int16_t* block, uint8_t* destination, int stride) {
  for (int row = 0; row < 8; ++row, destination += stride) {
    for (int i = 0; i < 8; ++i) {
      const int16_t v = block[8 * row + i];
      destination[i] = static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
    }
  }
}

}  // namespace dvr::codec
