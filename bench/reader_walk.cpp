// Forward walk of a recording with the reader: frames delivered and megabytes per second.
//   bench_reader_walk FILE [--variant N] [--repeat K]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "media/recording_reader.h"
#include "platform/notices.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_reader_walk FILE [--variant N] [--repeat K]\n");
    return 2;
  }
  int variant = 4, repeat = 3;
  for (int i = 2; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--variant") == 0) variant = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--repeat") == 0) repeat = std::atoi(argv[i + 1]);
  }
  dvr::platform::StderrNotices notices;
  dvr::media::RecordingReader reader(notices);
  reader.SetVariant(variant);
  std::vector<uint8_t> buffer(dvr::media::kFrameCapacity);
  double best = 1e30;
  uint64_t frames = 0;
  for (int round = 0; round < repeat; ++round) {
    if (!reader.Open(argv[1], false)) {
      std::fprintf(stderr, "cannot open %s\n", argv[1]);
      return 1;
    }
    const auto start = std::chrono::steady_clock::now();
    frames = 0;
    for (;;) {
      if (reader.NextFrame(buffer) > 0) {
        ++frames;
      } else if (!reader.LastBlockBad()) {
        break;
      }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (seconds < best) best = seconds;
  }
  const double megabytes = static_cast<double>(reader.Size()) / 1e6;
  std::printf("walk %.1f MB in %.3f s: %.0f MB/s, %llu frames\n", megabytes, best, megabytes / best,
              static_cast<unsigned long long>(frames));
  return 0;
}
