#pragma once
// The recorded-time map of a recording or a DVR disk: when it recorded, where in the source, and
// where it cannot be read, from a few thousand block headers whatever its size. And going to a
// time: the first block at or after it, in a few dozen reads.
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "media/block_source.h"

namespace dvr::media {

// Blocks [first_block, end_block) recorded from start_time to end_time (time fields), times
// growing. A disk that has wrapped holds its newest span before its oldest. A span may hold a
// few bad or stray blocks; the bad ones are listed as bad stretches too.
struct RecordedSpan {
  uint32_t start_time = 0;
  uint32_t end_time = 0;
  uint64_t first_block = 0;
  uint64_t end_block = 0;
};

// Recording time between two spans that no block holds.
struct TimeGap {
  uint32_t after = 0;   // the last time before it
  uint32_t before = 0;  // the first time after it
};

// Blocks [first_block, end_block) whose check byte is wrong or that cannot be read; `blank` when
// their headers are all zero, as on a disk area never written.
struct BadStretch {
  uint64_t first_block = 0;
  uint64_t end_block = 0;
  bool blank = false;
};

// What a build that stopped early leaves for RefineTimeMap to go on from: every block header read
// so far and the recording pace the even samples showed. Emptied once the map is complete; only
// the map's own building reads it.
struct TimeMapSamples {
  enum class State : uint8_t { kGood, kBad, kBlank };
  struct Sample {
    State state = State::kBad;
    uint32_t time = 0;
  };
  std::map<uint64_t, Sample> by_block;
  uint64_t even_count = 0;       // blocks spread evenly over the source that are sampled first
  double seconds_per_block = 0;  // found once all of them are read
  bool paced = false;            // seconds_per_block comes from all of them
};

struct TimeMap {
  uint64_t block_count = 0;
  std::vector<RecordedSpan> spans;  // by start time
  std::vector<TimeGap> gaps;        // by time
  std::vector<BadStretch> bad;      // by block
  uint16_t video_channels = 0;      // bit c: a picture of channel c was seen
  uint8_t audio_channels = 0;       // bit c: sound of audio channel c was seen
  uint64_t reads = 0;               // blocks read to build it, refinements included
  // False when the read budget ran out or the build was cancelled before every edge was found:
  // an edge left open is placed at the first block known to lie past it.
  bool complete = true;
  TimeMapSamples samples;  // where an incomplete map's building stopped
};

struct TimeMapLimits {
  uint64_t read_budget = 4000;
  uint32_t gap_seconds = 60;  // a jump forward of more than this splits a span
  const std::atomic<bool>* cancel = nullptr;
  std::function<void(uint64_t done, uint64_t total)> progress;  // blocks read of the budget
  int variant = 4;  // the recorder's frame header layout, which says where a picture's channel is
};

// Samples block headers evenly across the source, then bisects between neighbouring samples
// wherever the time jumps backward or too far forward, or good blocks turn bad.
TimeMap BuildTimeMap(BlockSource& source, bool big_endian, const TimeMapLimits& limits = {});

// Goes on from where a build or an earlier refinement stopped, with a fresh budget in `limits`:
// bisects the edges still open, so the spans' and stretches' edges move to the exact blocks. True
// when the map is now complete. A complete map is left as it is. `limits.gap_seconds` should be
// the build's.
bool RefineTimeMap(BlockSource& source, bool big_endian, TimeMap& map, const TimeMapLimits& limits);

// Refines round after round, each with `limits`' budget, until the map is complete, a round reads
// nothing more (the rest cannot be read) or the work is cancelled; `after_round` sees the map
// after every round that read something.
void RefineTimeMapFully(BlockSource& source, bool big_endian, TimeMap& map, const TimeMapLimits& limits,
                        const std::function<void(const TimeMap&)>& after_round = {});

// The first block of `span` at or after `time`: its first block when `time` comes before it,
// nothing when `time` comes after its end.
std::optional<uint64_t> FindTime(BlockSource& source, bool big_endian, const RecordedSpan& span,
                                 uint32_t time);

// The span that holds `time`, or the next one when `time` falls in a gap or before the first;
// nothing after the last.
const RecordedSpan* SpanAtOrAfter(const TimeMap& map, uint32_t time);

// The first block at or after `time` anywhere in the map's source; nothing after its last time.
std::optional<uint64_t> GoToTime(BlockSource& source, bool big_endian, const TimeMap& map,
                                 uint32_t time);

// The blocks [first, end) whose times lie in [start, stop], bad blocks after the last good one
// left out; nothing when none do, or when they are not in one piece (the write point of a
// wrapped disk lies between them).
std::optional<std::pair<uint64_t, uint64_t>> BlocksInTime(BlockSource& source, bool big_endian,
                                                          const TimeMap& map, uint32_t start,
                                                          uint32_t stop);

}  // namespace dvr::media
