#include "codec/x86/idct_sse2.h"

#include <emmintrin.h>

#include <array>

#include "codec/idct.h"

namespace dvr::codec {
namespace {

using namespace ap922;

// Per row: the multiply-add operands for the pairs (x0, x4), (x2, x6), (x1, x5), (x3, x7), one
// 32-bit lane per output a0..a3 or b0..b3, and the row's rounder.
struct alignas(16) RowTable {
  int16_t even04[8], even26[8], odd15[8], odd37[8];
  int32_t rounder[4];
};

constexpr RowTable MakeRowTable(int row) {
  const RowConstants& k = kRowClasses[kRowClassOf[row]];
  const auto n = [](int16_t v) { return static_cast<int16_t>(-v); };
  const int32_t r = kRowRounder[row];
  return {{k.k4, k.k4, k.k4, n(k.k4), k.k4, n(k.k4), k.k4, k.k4},
          {k.k2, k.k6, k.k6, n(k.k2), n(k.k6), k.k2, n(k.k2), n(k.k6)},
          {k.k1, k.k5, k.k3, n(k.k1), k.k5, k.k7, k.k7, k.k3},
          {k.k3, k.k7, n(k.k7), n(k.k5), n(k.k1), k.k3, n(k.k5), n(k.k1)},
          {r, r, r, r}};
}

alignas(64) constexpr std::array<RowTable, 8> kRowTables = {
    MakeRowTable(0), MakeRowTable(1), MakeRowTable(2), MakeRowTable(3),
    MakeRowTable(4), MakeRowTable(5), MakeRowTable(6), MakeRowTable(7)};

inline __m128i Load(const void* p) { return _mm_load_si128(static_cast<const __m128i*>(p)); }

inline __m128i RowPass(__m128i x, const RowTable& t) {
  // [x0 x1 x2 x3 x4 x5 x6 x7] -> [x0 x4 x2 x6 x1 x5 x3 x7] as four 32-bit pairs.
  __m128i v = _mm_shufflelo_epi16(x, _MM_SHUFFLE(3, 1, 2, 0));
  v = _mm_shufflehi_epi16(v, _MM_SHUFFLE(3, 1, 2, 0));
  v = _mm_unpacklo_epi16(v, _mm_unpackhi_epi64(v, v));
  const __m128i even = _mm_add_epi32(
      _mm_add_epi32(_mm_madd_epi16(_mm_shuffle_epi32(v, 0x00), Load(t.even04)),
                    _mm_madd_epi16(_mm_shuffle_epi32(v, 0x55), Load(t.even26))),
      Load(t.rounder));
  const __m128i odd = _mm_add_epi32(_mm_madd_epi16(_mm_shuffle_epi32(v, 0xAA), Load(t.odd15)),
                                    _mm_madd_epi16(_mm_shuffle_epi32(v, 0xFF), Load(t.odd37)));
  const __m128i low = _mm_srai_epi32(_mm_add_epi32(even, odd), kRowShift);   // y0 y1 y2 y3
  const __m128i high = _mm_srai_epi32(_mm_sub_epi32(even, odd), kRowShift);  // y7 y6 y5 y4
  return _mm_packs_epi32(low, _mm_shuffle_epi32(high, _MM_SHUFFLE(0, 1, 2, 3)));
}

}  // namespace

void IdctPackedSse2Store(int16_t* block, uint8_t* destination, int stride, unsigned used) {
  const __m128i* rows = reinterpret_cast<const __m128i*>(block);
  // A row of zeros passes as its rounder shifted down: 32 in row 0, 1 in rows 1 and 2, else 0.
  auto row = [&](int r) {
    return (used >> r) & 1 ? RowPass(_mm_load_si128(rows + r), kRowTables[static_cast<size_t>(r)])
                           : _mm_set1_epi16(static_cast<int16_t>(kRowRounder[r] >> kRowShift));
  };
  const __m128i x0 = row(0), x1 = row(1), x2 = row(2), x3 = row(3);
  const __m128i x4 = row(4), x5 = row(5), x6 = row(6), x7 = row(7);

  const __m128i t1 = _mm_set1_epi16(kT1), t2 = _mm_set1_epi16(kT2);
  const __m128i t3 = _mm_set1_epi16(kT3), c4 = _mm_set1_epi16(kC4);
  const __m128i tp17 = _mm_adds_epi16(x1, _mm_mulhi_epi16(x7, t1));
  const __m128i tm17 = _mm_subs_epi16(_mm_mulhi_epi16(x1, t1), x7);
  const __m128i tp35 = _mm_adds_epi16(_mm_adds_epi16(x3, x5), _mm_mulhi_epi16(x5, t3));
  const __m128i tm35 = _mm_subs_epi16(_mm_adds_epi16(x3, _mm_mulhi_epi16(x3, t3)), x5);
  const __m128i b0 = _mm_adds_epi16(tp17, tp35);
  const __m128i b3 = _mm_subs_epi16(tm17, tm35);
  const __m128i u1 = _mm_subs_epi16(tp17, tp35);
  const __m128i u2 = _mm_adds_epi16(tm17, tm35);
  const __m128i half1 = _mm_mulhi_epi16(_mm_adds_epi16(u1, u2), c4);
  const __m128i half2 = _mm_mulhi_epi16(_mm_subs_epi16(u1, u2), c4);
  const __m128i b1 = _mm_adds_epi16(half1, half1);
  const __m128i b2 = _mm_adds_epi16(half2, half2);
  const __m128i tp26 = _mm_adds_epi16(x2, _mm_mulhi_epi16(x6, t2));
  const __m128i tm26 = _mm_subs_epi16(_mm_mulhi_epi16(x2, t2), x6);
  const __m128i tp04 = _mm_adds_epi16(x0, x4);
  const __m128i tm04 = _mm_subs_epi16(x0, x4);
  const __m128i a0 = _mm_adds_epi16(tp04, tp26);
  const __m128i a3 = _mm_subs_epi16(tp04, tp26);
  const __m128i a1 = _mm_adds_epi16(tm04, tm26);
  const __m128i a2 = _mm_subs_epi16(tm04, tm26);

  const __m128i r01 = _mm_packus_epi16(_mm_srai_epi16(_mm_adds_epi16(a0, b0), kColumnShift),
                                       _mm_srai_epi16(_mm_adds_epi16(a1, b1), kColumnShift));
  const __m128i r23 = _mm_packus_epi16(_mm_srai_epi16(_mm_adds_epi16(a2, b2), kColumnShift),
                                       _mm_srai_epi16(_mm_adds_epi16(a3, b3), kColumnShift));
  const __m128i r45 = _mm_packus_epi16(_mm_srai_epi16(_mm_subs_epi16(a3, b3), kColumnShift),
                                       _mm_srai_epi16(_mm_subs_epi16(a2, b2), kColumnShift));
  const __m128i r67 = _mm_packus_epi16(_mm_srai_epi16(_mm_subs_epi16(a1, b1), kColumnShift),
                                       _mm_srai_epi16(_mm_subs_epi16(a0, b0), kColumnShift));
  auto store_pair = [&](__m128i pair, int first_row) {
    uint8_t* at = destination + first_row * stride;
    _mm_storel_epi64(reinterpret_cast<__m128i*>(at), pair);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(at + stride), _mm_unpackhi_epi64(pair, pair));
  };
  store_pair(r01, 0);
  store_pair(r23, 2);
  store_pair(r45, 4);
  store_pair(r67, 6);
}

}  // namespace dvr::codec
