#pragma once
// Block-level views of a source: every block's header and check, and the block range that a
// span of recording time covers.
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

#include "media/block_source.h"
#include "media/ndf_format.h"

namespace dvr::media {

// Visits every whole block in order with its header and whether its check byte matches; a block
// the medium cannot read is visited as bad, with an empty header. Returns the number of whole
// blocks.
uint64_t ScanBlocks(BlockSource& source, bool big_endian,
                    const std::function<void(uint64_t index, const BlockHeader&, bool good)>& visit);

// The blocks [first, end) whose times lie in [start, stop] (time fields, seconds since 1970),
// for a source whose block times grow. Each probe takes the median of a few good blocks, so a few
// bad or out-of-order blocks do not mislead it. Nothing when no block lies in the span.
std::optional<std::pair<uint64_t, uint64_t>> FindBlocksInTime(BlockSource& source, bool big_endian,
                                                              uint64_t block_count, uint32_t start,
                                                              uint32_t stop);

}  // namespace dvr::media
