// Kernels of the video path, every implementation side by side:
//   decode: pictures per second, one thread, 640x224 and 640x272 at quality 2, 4 and 8;
//   colour: YuvToRgb32 and YuvToDib24 per level, against libswscale's yuv420p -> bgra / bgr24.
#include <benchmark/benchmark.h>

extern "C" {
#include <libswscale/swscale.h>
}

#include <string>
#include <vector>

#include "codec/frame_decoder.h"
#include "codec/frame_encoder.h"
#include "codec/synthetic_scene.h"
#include "codec/yuv_kernels.h"
#include "codec/yuv_to_rgb.h"

namespace {

using dvr::codec::BlockDecoder;

// Eight different pictures of a scene, encoded.
std::vector<std::vector<uint8_t>> Frames(uint32_t height, int quality) {
  const dvr::codec::SyntheticScene scene(1, 640, height, 7);
  std::vector<uint8_t> picture(640 * height * 3 / 2);
  dvr::codec::FrameEncoder encoder;
  dvr::codec::EncodeOptions options;
  options.quality = quality;
  std::vector<std::vector<uint8_t>> frames;
  for (int i = 0; i < 8; ++i) {
    scene.Render(i * 0.7, "12:00:0" + std::to_string(i), picture.data());
    frames.emplace_back();
    encoder.Encode(picture.data(), 640, height, options, nullptr, frames.back());
  }
  return frames;
}

void BM_Decode(benchmark::State& state, BlockDecoder implementation) {
  const auto height = static_cast<uint32_t>(state.range(0));
  const auto frames = Frames(height, static_cast<int>(state.range(1)));
  dvr::codec::FrameDecoder decoder;
  decoder.Init(4);
  decoder.UseBlockDecoder(implementation);
  std::vector<uint8_t> picture(dvr::codec::kMaxPictureBytes);
  size_t bytes = 0, i = 0;
  for (auto _ : state) {
    const auto& frame = frames[i++ % frames.size()];
    decoder.ParseHeader(frame.data(), static_cast<uint32_t>(frame.size()));
    if (!decoder.DecodeFrame(frame.data(), static_cast<uint32_t>(frame.size()), picture.data())) {
      state.SkipWithError("does not decode");
    }
    bytes += frame.size();
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
  state.counters["bytes_per_picture"] = static_cast<double>(bytes) / static_cast<double>(state.iterations());
}

void DecodeArgs(benchmark::internal::Benchmark* b) {
  for (int height : {224, 272}) {
    for (int quality : {2, 4, 8}) b->Args({height, quality});
  }
}

BENCHMARK_CAPTURE(BM_Decode, scalar, dvr::codec::DecodeSlicesScalar)->Apply(DecodeArgs);
BENCHMARK_CAPTURE(BM_Decode, packed, dvr::codec::DecodeSlicesPacked)->Apply(DecodeArgs);
BENCHMARK_CAPTURE(BM_Decode, sse2, dvr::codec::DecodeSlicesSse2)->Apply(DecodeArgs);

constexpr int kWidth = 640, kHeight = 224;

std::vector<uint8_t> Picture() {
  std::vector<uint8_t> picture(kWidth * kHeight * 3 / 2);
  dvr::codec::SyntheticScene(2, kWidth, kHeight, 3).Render(1, "12:00:00", picture.data());
  return picture;
}

// Our converters through one level's kernels (the public converters use the selected level).
void BM_Ours(benchmark::State& state, dvr::platform::CpuLevel level, bool dib24) {
  const auto picture = Picture();
  std::vector<uint8_t> out(kWidth * kHeight * 4);
  const dvr::codec::YuvKernels kernels = dvr::codec::YuvKernelsFor(level);
  const uint8_t* cb = picture.data() + kWidth * kHeight;
  const uint8_t* cr = cb + kWidth * kHeight / 4;
  const int bytes = dib24 ? 3 : 4;
  for (auto _ : state) {
    for (int y = 0; y < kHeight; y += 2) {
      const int row = dib24 ? kHeight - 1 - y : y;  // bottom-up for the bitmap
      const dvr::codec::RowPair rows{picture.data() + y * kWidth, picture.data() + (y + 1) * kWidth,
                                     cb + (y / 2) * (kWidth / 2), cr + (y / 2) * (kWidth / 2),
                                     out.data() + row * kWidth * bytes,
                                     out.data() + (dib24 ? row - 1 : row + 1) * kWidth * bytes, kWidth};
      (dib24 ? kernels.to_bgr24 : kernels.to_rgb32)(rows);
    }
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}

BENCHMARK_CAPTURE(BM_Ours, rgb32_tables, dvr::platform::CpuLevel::kScalar, false);
BENCHMARK_CAPTURE(BM_Ours, rgb32_sse2, dvr::platform::CpuLevel::kSse2, false);
BENCHMARK_CAPTURE(BM_Ours, rgb32_avx2, dvr::platform::CpuLevel::kAvx2, false);
BENCHMARK_CAPTURE(BM_Ours, dib24_tables, dvr::platform::CpuLevel::kScalar, true);
BENCHMARK_CAPTURE(BM_Ours, dib24_sse2, dvr::platform::CpuLevel::kSse2, true);
BENCHMARK_CAPTURE(BM_Ours, dib24_avx2, dvr::platform::CpuLevel::kAvx2, true);

void BM_Swscale(benchmark::State& state, AVPixelFormat format) {
  const auto picture = Picture();
  SwsContext* context = sws_getContext(kWidth, kHeight, AV_PIX_FMT_YUV420P, kWidth, kHeight, format,
                                       SWS_POINT, nullptr, nullptr, nullptr);
  const int bytes = format == AV_PIX_FMT_BGRA ? 4 : 3;
  std::vector<uint8_t> out(kWidth * kHeight * 4);
  const uint8_t* planes[3] = {picture.data(), picture.data() + kWidth * kHeight,
                              picture.data() + kWidth * kHeight * 5 / 4};
  const int strides[3] = {kWidth, kWidth / 2, kWidth / 2};
  uint8_t* out_planes[1] = {out.data()};
  const int out_strides[1] = {kWidth * bytes};
  for (auto _ : state) {
    sws_scale(context, planes, strides, 0, kHeight, out_planes, out_strides);
    benchmark::DoNotOptimize(out.data());
  }
  sws_freeContext(context);
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}

BENCHMARK_CAPTURE(BM_Swscale, bgra, AV_PIX_FMT_BGRA);
BENCHMARK_CAPTURE(BM_Swscale, bgr24, AV_PIX_FMT_BGR24);

}  // namespace

BENCHMARK_MAIN();
