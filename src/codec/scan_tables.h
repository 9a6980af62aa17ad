#pragma once
// The fixed tables of the coefficient layer: zig-zag scan order and the default intra quantiser
// matrix of MPEG-1 and MPEG-2, both in raster order (index = 8 x row + column).
#include <array>
#include <cstdint>

namespace dvr::codec {

// Raster index of scan position k: 0, 1, 8, 16, 9, 2, 3, 10, 17, 24 ... 62, 63.
inline constexpr std::array<uint8_t, 64> kZigZag = [] {
  std::array<uint8_t, 64> order{};
  int row = 0, column = 0;
  for (int k = 0; k < 64; ++k) {
    order[static_cast<size_t>(k)] = static_cast<uint8_t>(8 * row + column);
    const bool up_right = (row + column) % 2 == 0;
    if (up_right) {
      if (column == 7) ++row;
      else if (row == 0) ++column;
      else --row, ++column;
    } else {
      if (row == 7) ++column;
      else if (column == 0) ++row;
      else ++row, --column;
    }
  }
  return order;
}();

inline constexpr std::array<uint8_t, 64> kIntraQuantiser = {
    8,  16, 19, 22, 26, 27, 29, 34,  //
    16, 16, 22, 24, 27, 29, 34, 37,  //
    19, 22, 26, 27, 29, 34, 34, 38,  //
    22, 22, 26, 27, 29, 34, 37, 40,  //
    22, 26, 27, 29, 32, 35, 40, 48,  //
    26, 27, 29, 32, 35, 40, 48, 58,  //
    26, 27, 29, 34, 38, 46, 56, 69,  //
    27, 29, 35, 38, 46, 56, 69, 83};

static_assert(kZigZag[2] == 8 && kZigZag[3] == 16 && kZigZag[9] == 24 && kZigZag[63] == 63);

}  // namespace dvr::codec
