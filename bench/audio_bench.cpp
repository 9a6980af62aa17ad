// Throughput of the audio sample conversion, per format, on frames of 400 samples (50 ms).
#include <benchmark/benchmark.h>

#include <vector>

#include "audio/audio_converter.h"

namespace {

void BM_Convert(benchmark::State& state) {
  dvr::audio::AudioConverter converter;
  converter.SetFormat(static_cast<int>(state.range(0)), dvr::audio::kSampleRate, nullptr);
  std::vector<uint8_t> in(400), out(800);
  for (size_t i = 0; i < in.size(); ++i) in[i] = static_cast<uint8_t>(i * 37);
  uint32_t length = 0;
  for (auto _ : state) {
    converter.Convert(in.data(), static_cast<uint32_t>(in.size()), out.data(), &length);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.size()));
  state.SetLabel(std::string(dvr::audio::AudioFormatName(static_cast<int>(state.range(0)))));
}

BENCHMARK(BM_Convert)->DenseRange(1, 6);

}  // namespace

BENCHMARK_MAIN();
