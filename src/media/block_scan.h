#pragma once
// Block-level views of a source: every block's header and check, and the first block at or after
// a time among blocks whose times grow.
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
uint64_t ScanBlocks(
    BlockSource& source, bool big_endian,
    const std::function<void(uint64_t index, const BlockHeader&, bool good)>& visit);

// Blocks [begin, end) whose times grow from `earliest` to `latest`; a block with a time outside
// that is a stray.
struct TimedBlocks {
  uint64_t begin = 0, end = 0;
  uint32_t earliest = 0, latest = 0;
};

// The first of `blocks` whose time is at or after `time`, by bisection. Each probe takes the median
// of a few good blocks, so a few bad or out-of-order blocks do not mislead it; the answer is
// settled on the blocks within a few of the probes' answer, so that the reads stay few whatever the
// size. `blocks.end` when every block there is earlier.
uint64_t FirstBlockAtOrAfter(BlockSource& source, bool big_endian, const TimedBlocks& blocks,
                             uint32_t time);

}  // namespace dvr::media
