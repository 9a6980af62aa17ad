// Processors without the x86 forms use the table-driven kernels at every level.
#include "codec/yuv_kernels.h"

namespace dvr::codec {

void RowPairToRgb32Sse2(const RowPair& rows) { RowPairToRgb32(rows); }
void RowPairToBgr24Sse2(const RowPair& rows) { RowPairToBgr24(rows); }
void RowPairToRgb32Avx2(const RowPair& rows) { RowPairToRgb32(rows); }
void RowPairToBgr24Avx2(const RowPair& rows) { RowPairToBgr24(rows); }

}  // namespace dvr::codec
