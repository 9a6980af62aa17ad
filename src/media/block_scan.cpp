#include "media/block_scan.h"

#include <algorithm>
#include <vector>

namespace dvr::media {
namespace {

constexpr int kProbeSamples = 5;            // good blocks whose median time a probe takes
constexpr uint64_t kProbeReach = 4096;      // blocks a probe looks through for them
constexpr uint64_t kShortProbeReach = 32;   // the same inside a span known to be recorded
constexpr uint64_t kRefineReach = 16;       // blocks the edges are refined over

// Median time of the first few good blocks of [index, index + reach) before `end`; nothing when
// none is in reach.
std::optional<uint32_t> ProbeTime(BlockSource& source, bool big_endian, uint64_t index,
                                  uint64_t end, uint64_t reach) {
  std::vector<uint32_t> times;
  const uint64_t last = std::min(end, index + reach);
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

// First block index of [low, high) whose probed time makes `before` false (a lower bound by
// time); a probe looks through `reach` blocks for its good ones.
template <typename Before>
uint64_t SearchBlocks(BlockSource& source, bool big_endian, uint64_t low, uint64_t high,
                      uint64_t reach, Before before) {
  const uint64_t end = high;
  while (low < high) {
    const uint64_t middle = low + (high - low) / 2;
    const auto time = ProbeTime(source, big_endian, middle, end, reach);
    if (time && before(*time)) {
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

std::optional<std::pair<uint64_t, uint64_t>> FindBlocksInTime(BlockSource& source, bool big_endian,
                                                              uint64_t block_count, uint32_t start,
                                                              uint32_t stop) {
  if (start > stop) return {};
  uint64_t first = SearchBlocks(source, big_endian, 0, block_count, kProbeReach,
                                [start](uint32_t t) { return t < start; });
  uint64_t end = SearchBlocks(source, big_endian, 0, block_count, kProbeReach,
                              [stop](uint32_t t) { return t <= stop; });
  // The medians place each edge within a few blocks; settle it on the blocks themselves.
  for (uint64_t step = 0; step < kRefineReach && first > 0; ++step) {
    const auto time = GoodTime(source, big_endian, first - 1);
    if (time && *time < start) break;
    --first;
  }
  while (first < end) {
    const auto time = GoodTime(source, big_endian, first);
    if (time && *time >= start) break;
    ++first;
  }
  for (uint64_t step = 0; step < kRefineReach && end < block_count; ++step) {
    const auto time = GoodTime(source, big_endian, end);
    if (time && *time > stop) break;
    ++end;
  }
  while (end > first) {
    const auto time = GoodTime(source, big_endian, end - 1);
    if (time && *time <= stop) break;
    --end;
  }
  if (first >= end) return {};
  return std::make_pair(first, end);
}

uint64_t FirstBlockAtOrAfter(BlockSource& source, bool big_endian, const TimedBlocks& blocks,
                             uint32_t time) {
  // A short reach keeps the probes within a chunk or two, so the reads stay few at any size.
  uint64_t first = SearchBlocks(source, big_endian, blocks.begin, blocks.end, kShortProbeReach,
                                [time](uint32_t t) { return t < time; });
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
