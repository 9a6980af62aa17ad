#pragma once
// The inner loops of the YUV conversions that are worth SIMD: two picture rows (which share one
// chroma row) to 32-bit or 24-bit pixels. One table per processor level, chosen once; every form
// gives the same bytes as the table-driven one.
#include <cstdint>

#include "platform/cpu_features.h"

namespace dvr::codec {

struct RowPair {
  const uint8_t* luma0;  // row 2r
  const uint8_t* luma1;  // row 2r + 1
  const uint8_t* cb;
  const uint8_t* cr;
  uint8_t* out0;
  uint8_t* out1;
  int width;  // even
};

using RowPairKernel = void (*)(const RowPair& rows);

struct YuvKernels {
  RowPairKernel to_rgb32;
  RowPairKernel to_bgr24;
};

// The table-driven forms.
void RowPairToRgb32(const RowPair& rows);
void RowPairToBgr24(const RowPair& rows);
// SIMD forms (x86 builds).
void RowPairToRgb32Sse2(const RowPair& rows);
void RowPairToBgr24Sse2(const RowPair& rows);
void RowPairToRgb32Avx2(const RowPair& rows);
void RowPairToBgr24Avx2(const RowPair& rows);

YuvKernels YuvKernelsFor(platform::CpuLevel level);
const YuvKernels& SelectedYuvKernels();

}  // namespace dvr::codec
