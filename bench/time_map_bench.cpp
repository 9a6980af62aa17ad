// The time map and going to a time, on a recording or a DVR disk: time taken and reads of the
// medium.
//   bench_time_map make-recording FILE MIB   a recording of MIB MiB, 50 blocks a second
//   bench_time_map make-disk FILE GIB        a sparse disk image of GIB GiB that has wrapped: three
//                                            recorded stretches of 256 MiB, the rest never written
//   bench_time_map FILE [--disk] [--repeat K]
//     maps the source (best of K), then goes to 200 times spread over its spans, then refines a
//     map that has only its even samples in small steps until it is complete.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "media/block_source.h"
#include "media/ndf_format.h"
#include "media/time_map.h"

namespace {

using dvr::media::kBlockSize;
constexpr uint32_t kBlocksPerSecond = 50;
constexpr uint64_t kMiB = 1 << 20;

class CountingSource : public dvr::media::BlockSource {
 public:
  dvr::platform::ReadResult ReadAt(uint64_t offset, uint8_t* buffer, size_t n) const override {
    ++reads;
    return BlockSource::ReadAt(offset, buffer, n);
  }
  mutable uint64_t reads = 0;
};

// Writes `bytes` of blocks at `offset`, block i timed `first_time` + i / kBlocksPerSecond, each
// with a picture start code of a channel that moves on block by block.
void WriteRecorded(std::fstream& out, uint64_t offset, uint64_t bytes, uint32_t first_time,
                   bool disk) {
  std::vector<uint8_t> chunk(kMiB);
  out.seekp(static_cast<std::streamoff>(offset));
  for (uint64_t done = 0; done < bytes; done += chunk.size()) {
    for (size_t at = 0; at < chunk.size(); at += kBlockSize) {
      const uint64_t block = (done + at) / kBlockSize;
      uint8_t* b = chunk.data() + at;
      std::fill(b + 8, b + kBlockSize, uint8_t{0x55});
      dvr::media::WriteBlockHeader(b, first_time + uint32_t(block / kBlocksPerSecond), 1, 1, false);
      const uint8_t code[] = {0, 0, 1, dvr::media::kVideoStart, uint8_t(0x40 | block % 16)};
      std::copy(std::begin(code), std::end(code), b + 100);
    }
    if (disk) dvr::media::ExchangeBytePairs(chunk.data(), chunk.size());
    out.write(reinterpret_cast<const char*>(chunk.data()), std::streamsize(chunk.size()));
  }
}

int Make(const char* what, const char* path, uint64_t size) {
  const bool disk = std::strcmp(what, "make-disk") == 0;
  std::ofstream(path, std::ios::binary | std::ios::trunc).close();
  std::filesystem::resize_file(path, disk ? size << 30 : size * kMiB);
  std::fstream out(path, std::ios::binary | std::ios::in | std::ios::out);
  const uint32_t t0 = 1767225600;  // 2026-01-01
  if (!disk) {
    WriteRecorded(out, 0, size * kMiB, t0, false);
  } else {
    // Newest at the start, up to the write point; the oldest a quarter in; one more later on.
    WriteRecorded(out, 0, 256 * kMiB, t0 + 86400 * 20, true);
    WriteRecorded(out, (size << 30) / 4, 256 * kMiB, t0, true);
    WriteRecorded(out, (size << 30) / 4 * 3, 256 * kMiB, t0 + 86400 * 10, true);
  }
  return out.good() ? 0 : 1;
}

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

// A map cancelled once its even samples are read (its edges all open), then refined a few reads
// at a time until it is complete, as a window refines the map it shows while the user looks.
void BenchRefine(CountingSource& source, int repeat) {
  constexpr uint64_t kStepBudget = 16;
  double best = 1e30;
  uint64_t coarse_reads = 0, refine_reads = 0;
  int steps = 0;
  bool complete = false;
  for (int round = 0; round < repeat; ++round) {
    std::atomic<bool> cancel{false};
    dvr::media::TimeMapLimits limits;
    limits.cancel = &cancel;
    limits.progress = [&](uint64_t done, uint64_t budget) {
      if (done == budget / 2) cancel = true;
    };
    source.reads = 0;
    dvr::media::TimeMap map = dvr::media::BuildTimeMap(source, false, limits);
    coarse_reads = source.reads;
    cancel = false;
    limits = {};
    limits.read_budget = kStepBudget;
    steps = 0;
    const auto start = std::chrono::steady_clock::now();
    for (complete = map.complete; !complete && steps < 1000; ++steps) {
      complete = dvr::media::RefineTimeMap(source, false, map, limits);
    }
    best = std::min(best, MillisecondsSince(start));
    refine_reads = source.reads - coarse_reads;
  }
  std::printf(
      "refine: even samples only (%llu reads), then %d steps of at most %llu reads to complete: "
      "%.2f ms, %llu reads of the medium, %s\n",
      static_cast<unsigned long long>(coarse_reads), steps,
      static_cast<unsigned long long>(kStepBudget), best,
      static_cast<unsigned long long>(refine_reads), complete ? "complete" : "incomplete");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strncmp(argv[1], "make-", 5) == 0) {
    return Make(argv[1], argv[2], std::strtoull(argv[3], nullptr, 10));
  }
  if (argc < 2) {
    std::fprintf(stderr,
                 "usage: bench_time_map FILE [--disk] [--repeat K] | make-recording FILE "
                 "MIB | make-disk FILE GIB\n");
    return 2;
  }
  bool disk = false;
  int repeat = 3;
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "--disk") == 0) disk = true;
    if (std::strcmp(argv[i], "--repeat") == 0 && i + 1 < argc) repeat = std::atoi(argv[++i]);
  }
  CountingSource source;
  if (!source.Open(argv[1], disk)) {
    std::fprintf(stderr, "cannot open %s\n", argv[1]);
    return 1;
  }
  dvr::media::TimeMap map;
  double best_map = 1e30;
  for (int round = 0; round < repeat; ++round) {
    source.reads = 0;
    const auto start = std::chrono::steady_clock::now();
    map = dvr::media::BuildTimeMap(source, false);
    best_map = std::min(best_map, MillisecondsSince(start));
  }
  std::printf(
      "map: %.1f ms, %llu reads of the medium, %zu spans, %zu gaps, %zu bad or blank "
      "stretches, %s (%llu blocks)\n",
      best_map, static_cast<unsigned long long>(source.reads), map.spans.size(), map.gaps.size(),
      map.bad.size(), map.complete ? "complete" : "incomplete",
      static_cast<unsigned long long>(map.block_count));

  constexpr int kTargets = 200;
  uint64_t most_reads = 0;
  double total = 0, slowest = 0;
  int found = 0;
  for (int k = 0; k < kTargets && !map.spans.empty(); ++k) {
    const auto& span = map.spans[size_t(k) % map.spans.size()];
    const uint32_t time = span.start_time + uint32_t(uint64_t(span.end_time - span.start_time) *
                                                     (k + 1) / (kTargets + 1));
    const uint64_t before = source.reads;
    const auto start = std::chrono::steady_clock::now();
    found += dvr::media::GoToTime(source, false, map, time).has_value();
    const double ms = MillisecondsSince(start);
    total += ms;
    slowest = std::max(slowest, ms);
    most_reads = std::max(most_reads, source.reads - before);
  }
  std::printf("go to time: %d of %d found, mean %.3f ms, slowest %.3f ms, at most %llu reads\n",
              found, kTargets, total / kTargets, slowest,
              static_cast<unsigned long long>(most_reads));
  BenchRefine(source, repeat);
  return 0;
}
