#pragma once
// The packed IDCT in SSE2, fused with the saturating store of its eight rows.
#include <cstdint>

namespace dvr::codec {

void IdctPackedSse2Store(int16_t* block, uint8_t* destination, int stride);

}  // namespace dvr::codec
