#include "media/time_map.h"

#include <algorithm>
#include <map>
#include <utility>

#include "codec/frame_decoder.h"
#include "media/block_scan.h"
#include "media/ndf_format.h"

namespace dvr::media {
namespace {

// A run shorter than this between two others is a few stray blocks, not a span or a break in one.
constexpr uint64_t kStrayBlocks = 3;

using BlockState = TimeMapSamples::State;
using BlockSample = TimeMapSamples::Sample;

// Blocks [first, end) of one state (and, when good, of times that run on), as the samples show.
struct Run {
  BlockState state = BlockState::kBad;
  uint64_t first = 0, end = 0;
  uint64_t last_sample = 0;
  uint32_t start_time = 0, end_time = 0;
};

// Channels of the frames that begin inside the block's payload.
void NoteChannels(const uint8_t* block, int variant, TimeMap& map) {
  const uint8_t* payload = block + kHeaderSize;
  for (size_t i = 0; i + 4 < kPayloadSize; ++i) {
    if (payload[i] != 0 || payload[i + 1] != 0 || payload[i + 2] != 1) continue;
    const uint8_t type = payload[i + 3];
    switch (KindOfStartCode(type)) {
      case FrameKind::kVideo:
        map.video_channels |= codec::HeaderChannels(variant, payload[i + 4],
                                                    i + 5 < kPayloadSize ? payload[i + 5] : 0);
        break;
      case FrameKind::kAudio:
        map.audio_channels |= static_cast<uint8_t>(1u << AudioChannelOf(type));
        break;
      case FrameKind::kNone:
        break;
    }
  }
}

// Builds a map, or goes on with one that stopped early: the samples read so far are kept in the
// map, so a later pass reads only what is still missing and ends as one long pass would.
class MapBuilder {
 public:
  MapBuilder(BlockSource& source, bool big_endian, const TimeMapLimits& limits, TimeMap& map)
      : source_(source),
        big_endian_(big_endian),
        limits_(limits),
        map_(map),
        samples_(map.samples.by_block) {}

  void Build() {
    if (map_.block_count == 0) return;
    map_.complete = true;
    const bool spread = SampleEvenly();
    if (samples_.empty()) return;  // cancelled or no budget before the first read
    if (!map_.samples.paced) {
      EstimatePace();
      map_.samples.paced = spread;
    }
    if (spread) RefineEdges();
    Emit(Runs());
    if (map_.complete) map_.samples = {};
  }

 private:
  // Reads block `index` into the samples; false when the budget is spent or the build cancelled.
  bool Sample(uint64_t index) {
    if (samples_.count(index)) return true;
    if (reads_ >= limits_.read_budget ||
        (limits_.cancel && limits_.cancel->load(std::memory_order_relaxed))) {
      map_.complete = false;
      return false;
    }
    ++reads_;
    ++map_.reads;
    const LoadedBlock block = source_.Load(index, false);
    BlockSample sample;
    if (block.data && BlockCheckMatches(block.data)) {
      sample = {BlockState::kGood, ParseBlockHeader(block.data, big_endian_).time};
      NoteChannels(block.data, limits_.variant, map_);
    } else if (block.data && std::all_of(block.data, block.data + kHeaderSize,
                                         [](uint8_t b) { return b == 0; })) {
      sample.state = BlockState::kBlank;
    }
    samples_[index] = sample;
    if (limits_.progress) limits_.progress(reads_, limits_.read_budget);
    return true;
  }

  // Samples the blocks spread evenly over the source, as many as half the first pass's budget;
  // false when the budget or a cancel stopped it first.
  bool SampleEvenly() {
    uint64_t& count = map_.samples.even_count;
    if (count == 0) {
      count = std::min(map_.block_count, std::max<uint64_t>(2, limits_.read_budget / 2));
    }
    if (count < 2) return Sample(0);
    const uint64_t last = map_.block_count - 1;
    for (uint64_t j = 0; j < count; ++j) {
      if (!Sample(j * last / (count - 1))) return false;
    }
    return true;
  }

  // Seconds per block while recording: the median over neighbouring good samples, so that gaps
  // do not count.
  void EstimatePace() {
    std::vector<double> paces;
    for (auto a = samples_.begin(), b = std::next(a); b != samples_.end(); ++a, ++b) {
      if (a->second.state != BlockState::kGood || b->second.state != BlockState::kGood) continue;
      if (b->second.time < a->second.time) continue;
      paces.push_back(double(b->second.time - a->second.time) / double(b->first - a->first));
    }
    if (paces.empty()) return;
    std::nth_element(paces.begin(), paces.begin() + paces.size() / 2, paces.end());
    map_.samples.seconds_per_block = paces[paces.size() / 2];
  }

  // True when blocks a < b may belong to one run: the same state and, when good, a time that
  // runs on no faster than recording between them plus the gap allowed.
  bool Continuous(uint64_t a, uint64_t b) const {
    const BlockSample& x = samples_.at(a);
    const BlockSample& y = samples_.at(b);
    if (x.state != y.state) return false;
    if (x.state != BlockState::kGood) return true;
    if (y.time < x.time) return false;
    const double allowed =
        limits_.gap_seconds + 2.0 * map_.samples.seconds_per_block * double(b - a - 1);
    return double(y.time - x.time) <= allowed;
  }

  // Bisects every pair of neighbouring samples with an edge between them down to two blocks
  // side by side, in block order, while the budget lasts. The pairs still open are always
  // neighbours with an edge between them, so a later pass finds them again from the samples.
  void RefineEdges() {
    std::vector<std::pair<uint64_t, uint64_t>> open;
    for (auto a = samples_.rbegin(), b = std::next(a); b != samples_.rend(); ++a, ++b) {
      if (a->first > b->first + 1 && !Continuous(b->first, a->first)) {
        open.emplace_back(b->first, a->first);
      }
    }
    while (!open.empty()) {
      const auto [a, b] = open.back();
      open.pop_back();
      const uint64_t middle = a + (b - a) / 2;
      if (!Sample(middle)) return;
      const bool right = !Continuous(middle, b), left = !Continuous(a, middle);
      if (right && b > middle + 1) open.emplace_back(middle, b);
      if (left && middle > a + 1) open.emplace_back(a, middle);
    }
  }

  std::vector<Run> Runs() const {
    std::vector<Run> runs;
    uint64_t previous = 0;
    for (const auto& [index, sample] : samples_) {
      if (runs.empty() || !Continuous(previous, index)) {
        if (!runs.empty()) runs.back().end = index;
        runs.push_back({sample.state, index, 0, index, sample.time, sample.time});
      }
      runs.back().last_sample = index;
      runs.back().end_time = sample.time;
      previous = index;
    }
    runs.back().end = map_.block_count;
    runs.front().first = 0;
    return runs;
  }

  // Folds runs of a few blocks between two others (stray times, a bad block or two) into the
  // run before, and joins the runs around them when those run on from each other. Neighbouring
  // runs never do otherwise.
  std::vector<Run> FoldStrays(const std::vector<Run>& runs) const {
    std::vector<Run> kept;
    for (size_t i = 0; i < runs.size(); ++i) {
      const Run& run = runs[i];
      if (run.end - run.first < kStrayBlocks && i > 0 && i + 1 < runs.size()) {
        kept.back().end = run.end;
      } else if (!kept.empty() && kept.back().state == run.state &&
                 Continuous(kept.back().last_sample, run.first)) {
        kept.back().end = run.end;
        kept.back().last_sample = run.last_sample;
        kept.back().end_time = run.end_time;
      } else {
        kept.push_back(run);
      }
    }
    return kept;
  }

  // Spans from the runs with strays folded in; bad stretches from all runs, the short included.
  void Emit(const std::vector<Run>& runs) {
    map_.spans.clear();
    map_.gaps.clear();
    map_.bad.clear();
    for (const Run& run : runs) {
      if (run.state != BlockState::kGood) {
        map_.bad.push_back({run.first, run.end, run.state == BlockState::kBlank});
      }
    }
    for (const Run& run : FoldStrays(runs)) {
      if (run.state == BlockState::kGood) {
        map_.spans.push_back({run.start_time, run.end_time, run.first, run.end});
      }
    }
    std::stable_sort(
        map_.spans.begin(), map_.spans.end(),
        [](const RecordedSpan& a, const RecordedSpan& b) { return a.start_time < b.start_time; });
    uint32_t latest = 0;
    for (size_t i = 0; i < map_.spans.size(); ++i) {
      const RecordedSpan& span = map_.spans[i];
      if (i > 0 && span.start_time > latest + 1) map_.gaps.push_back({latest, span.start_time});
      latest = std::max(latest, span.end_time);
    }
  }

  BlockSource& source_;
  const bool big_endian_;
  const TimeMapLimits& limits_;
  TimeMap& map_;
  std::map<uint64_t, BlockSample>& samples_;
  uint64_t reads_ = 0;  // of this pass's budget
};

// Bad blocks an end of a range is trimmed over at most.
constexpr uint64_t kTrimReach = 16;

bool IsGood(BlockSource& source, uint64_t index) {
  const uint8_t* block = source.Load(index, false).data;
  return block != nullptr && BlockCheckMatches(block);
}

}  // namespace

TimeMap BuildTimeMap(BlockSource& source, bool big_endian, const TimeMapLimits& limits) {
  TimeMap map;
  map.block_count = source.File().Size().value_or(0) / kBlockSize;
  MapBuilder(source, big_endian, limits, map).Build();
  return map;
}

bool RefineTimeMap(BlockSource& source, bool big_endian, TimeMap& map,
                   const TimeMapLimits& limits) {
  if (!map.complete) MapBuilder(source, big_endian, limits, map).Build();
  return map.complete;
}

void RefineTimeMapFully(BlockSource& source, bool big_endian, TimeMap& map, const TimeMapLimits& limits,
                        const std::function<void(const TimeMap&)>& after_round) {
  while (!map.complete && !(limits.cancel && limits.cancel->load(std::memory_order_relaxed))) {
    const uint64_t reads = map.reads;
    RefineTimeMap(source, big_endian, map, limits);
    if (map.reads == reads) break;
    if (after_round) after_round(map);
  }
}

std::optional<uint64_t> FindTime(BlockSource& source, bool big_endian, const RecordedSpan& span,
                                 uint32_t time) {
  if (time <= span.start_time) return span.first_block;
  if (time > span.end_time) return {};
  const uint64_t block = FirstBlockAtOrAfter(
      source, big_endian, {span.first_block, span.end_block, span.start_time, span.end_time}, time);
  if (block >= span.end_block) return {};
  return block;
}

const RecordedSpan* SpanAtOrAfter(const TimeMap& map, uint32_t time) {
  for (const RecordedSpan& span : map.spans) {
    if (span.end_time >= time) return &span;
  }
  return nullptr;
}

std::optional<uint64_t> GoToTime(BlockSource& source, bool big_endian, const TimeMap& map,
                                 uint32_t time) {
  const RecordedSpan* span = SpanAtOrAfter(map, time);
  if (span == nullptr) return {};
  return FindTime(source, big_endian, *span, time);
}

std::optional<std::pair<uint64_t, uint64_t>> BlocksInTime(BlockSource& source, bool big_endian,
                                                          const TimeMap& map, uint32_t start,
                                                          uint32_t stop) {
  const RecordedSpan* first_span = SpanAtOrAfter(map, start);
  if (start > stop || first_span == nullptr || first_span->start_time > stop) return {};
  const RecordedSpan* last_span = first_span;
  for (const RecordedSpan& span : map.spans) {
    if (span.start_time <= stop) last_span = &span;
  }
  const uint64_t first =
      FindTime(source, big_endian, *first_span, start).value_or(first_span->end_block);
  uint64_t end =
      stop == UINT32_MAX
          ? last_span->end_block
          : FindTime(source, big_endian, *last_span, stop + 1).value_or(last_span->end_block);
  for (uint64_t step = 0; step < kTrimReach && end > first && !IsGood(source, end - 1); ++step) {
    --end;
  }
  if (end <= first) return {};
  return std::make_pair(first, end);
}

}  // namespace dvr::media
