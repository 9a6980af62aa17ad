#pragma once
// The packed IDCT in SSE2, fused with the saturating store of its eight rows.
#include <cstdint>

namespace dvr::codec {

// Bit r of `rows` clear says row r is all zeros: its row pass result is then a constant.
void IdctPackedSse2Store(int16_t* block, uint8_t* destination, int stride, unsigned rows = 0xFF);

}  // namespace dvr::codec
