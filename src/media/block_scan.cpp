#include "media/block_scan.h"

#include <algorithm>
#include <vector>

namespace dvr::media {
namespace {

constexpr int kProbeSamples = 5;       // good blocks whose median time a probe takes
constexpr uint64_t kRefineReach = 16;  // blocks the answer is settled over
// Blocks a probe looks through for its good ones: a chunk or two, so the reads stay few.
constexpr uint64_t kProbeReach = 32;

// Median time of the first few good blocks at or after `index` and before `end`; nothing when
// none is in reach.
std::optional<uint32_t> ProbeTime(BlockSource& source, bool big_endian, uint64_t index,
                                  uint64_t end) {
  std::vector<uint32_t> times;
  const uint64_t last = std::min(end, index + kProbeReach);
  for (uint64_t i = index; i < last && times.size() < kProbeSamples; ++i) {
    const LoadedBlock block = source.Load(i, false);
    if (block.data == nullptr && !block.unreadable) break;
    if (block.data && BlockCheckMatches(block.data)) {
      times.push_back(ParseBlockHeader(block.data, big_endian).time);
    }
  }
  if (times.empty()) return {};
  std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
  return times[times.size() / 2];
}

// First block index of [low, high) whose probed time is not before `time` (a lower bound).
uint64_t SearchBlocks(BlockSource& source, bool big_endian, uint64_t low, uint64_t high,
                      uint32_t time) {
  const uint64_t end = high;
  while (low < high) {
    const uint64_t middle = low + (high - low) / 2;
    const auto probed = ProbeTime(source, big_endian, middle, end);
    if (probed && *probed < time) {
      low = middle + 1;
    } else {
      high = middle;  // an unreadable stretch counts as later
    }
  }
  return low;
}

std::optional<uint32_t> GoodTime(BlockSource& source, bool big_endian, uint64_t index) {
  const uint8_t* block = source.Load(index, false).data;
  if (block == nullptr || !BlockCheckMatches(block)) return {};
  return ParseBlockHeader(block, big_endian).time;
}

}  // namespace

uint64_t ScanBlocks(BlockSource& source, bool big_endian,
                    const std::function<void(uint64_t, const BlockHeader&, bool)>& visit) {
  // The medium's size bounds the scan: a drive that fails every read never reports an end.
  const uint64_t whole_blocks = source.File().Size().value_or(0) / kBlockSize;
  uint64_t index = 0;
  for (; index < whole_blocks; ++index) {
    const LoadedBlock block = source.Load(index, false);
    if (block.unreadable) {
      visit(index, BlockHeader{}, false);
    } else if (block.data) {
      visit(index, ParseBlockHeader(block.data, big_endian), BlockCheckMatches(block.data));
    } else {
      break;  // the source ended early
    }
  }
  return index;
}

uint64_t FirstBlockAtOrAfter(BlockSource& source, bool big_endian, const TimedBlocks& blocks,
                             uint32_t time) {
  uint64_t first = SearchBlocks(source, big_endian, blocks.begin, blocks.end, time);
  const auto timed = [&](uint64_t index) -> std::optional<uint32_t> {
    const auto found = GoodTime(source, big_endian, index);
    if (found && (*found < blocks.earliest || *found > blocks.latest)) return {};
    return found;
  };
  for (uint64_t step = 0; step < kRefineReach && first > blocks.begin; ++step) {
    const auto found = timed(first - 1);
    if (found && *found < time) break;
    --first;
  }
  for (uint64_t step = 0; step < kRefineReach && first < blocks.end; ++step) {
    const auto found = timed(first);
    if (found && *found >= time) break;
    ++first;
  }
  return first;
}

}  // namespace dvr::media
