#pragma once
// The inverse DCTs. Both work in place on 64 coefficients in raster order (index 8v + u) and leave
// 64 samples there. The two designs approximate the same transform with different constants and
// rounding; all forms of the packed design agree bit for bit.
#include <cstdint>

namespace dvr::codec {

// Fixed-point Chen-Wang IDCT of the MPEG-2 reference decoder, 32-bit arithmetic; the results are
// already clamped to 0..255.
void IdctReference(int16_t* block);

// The AP-922 row/column design in portable C++: results are signed 16-bit, saturated to 0..255
// when stored.
void IdctPacked(int16_t* block);

// Writes eight rows of eight samples: the reference form's low bytes, or the packed form's values
// saturated to 0..255.
void StoreLowBytes(const int16_t* block, uint8_t* destination, int stride);
void StoreSaturated(const int16_t* block, uint8_t* destination, int stride);

// The packed design's constants, shared by its portable and SIMD forms.
namespace ap922 {
// Row scale classes: rows 0 and 4 use class 0, rows 1 and 7 class 1, rows 2 and 6 class 2,
// rows 3 and 5 class 3. K4, then K1, K2, K3, K5, K6, K7.
struct RowConstants {
  int16_t k4, k1, k2, k3, k5, k6, k7;
};
inline constexpr RowConstants kRowClasses[4] = {
    {16384, 22725, 21407, 19266, 12873, 8867, 4520},
    {22725, 31521, 29692, 26722, 17855, 12299, 6270},
    {21407, 29692, 27969, 25172, 16819, 11585, 5906},
    {19266, 26722, 25172, 22654, 15137, 10426, 5315},
};
inline constexpr int kRowClassOf[8] = {0, 1, 2, 3, 0, 3, 2, 1};
inline constexpr int32_t kRowRounder[8] = {65536, 3597, 2260, 1203, 0, 120, 512, 512};
inline constexpr int kRowShift = 11;
inline constexpr int16_t kT1 = 13036;   // tan(pi/16) in 0.16
inline constexpr int16_t kT2 = 27146;   // tan(2 pi/16)
inline constexpr int16_t kT3 = -21746;  // tan(3 pi/16) - 1
inline constexpr int16_t kC4 = 23170;   // cos(pi/4) in 0.15
inline constexpr int kColumnShift = 6;
}  // namespace ap922

}  // namespace dvr::codec
