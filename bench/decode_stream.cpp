// The decoder on a stream of pictures, for the side-by-side with FFmpeg's MPEG-2 decoder.
//   bench_decode_stream --pictures N --height H --quality Q [--emit-yuv]
// Renders N pictures of a synthetic camera scene. With --emit-yuv it writes them to standard
// output as raw yuv420p (FFmpeg encodes the same pictures from there). Otherwise it encodes them
// with our encoder and decodes the whole stream a few times with each block decoder, printing the
// bytes per picture and pictures per second of processor time.
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "codec/frame_decoder.h"
#include "codec/frame_encoder.h"
#include "codec/synthetic_scene.h"

namespace {

double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

std::string Clock(int picture) {
  char text[16];
  std::snprintf(text, sizeof text, "10:%02d:%02d", picture / 25 / 60 % 60, picture / 25 % 60);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  int pictures = 500, height = 224, quality = 4;
  bool emit = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--emit-yuv") emit = true;
    if (i + 1 < argc && arg == "--pictures") pictures = std::atoi(argv[++i]);
    else if (i + 1 < argc && arg == "--height") height = std::atoi(argv[++i]);
    else if (i + 1 < argc && arg == "--quality") quality = std::atoi(argv[++i]);
  }
  const auto h = static_cast<uint32_t>(height);
  const dvr::codec::SyntheticScene scene(4, 640, h, 11);
  std::vector<uint8_t> picture(640 * h * 3 / 2);
  if (emit) {
    for (int p = 0; p < pictures; ++p) {
      scene.Render(p / 25.0, Clock(p), picture.data());
      if (std::fwrite(picture.data(), 1, picture.size(), stdout) != picture.size()) return 1;
    }
    return 0;
  }
  dvr::codec::FrameEncoder encoder;
  dvr::codec::EncodeOptions options;
  options.quality = quality;
  std::vector<std::vector<uint8_t>> frames(static_cast<size_t>(pictures));
  size_t bytes = 0;
  for (int p = 0; p < pictures; ++p) {
    scene.Render(p / 25.0, Clock(p), picture.data());
    encoder.Encode(picture.data(), 640, h, options, nullptr, frames[static_cast<size_t>(p)]);
    bytes += frames[static_cast<size_t>(p)].size();
  }
  std::printf("pictures %d height %d quality %d bytes_per_picture %.0f\n", pictures, height, quality,
              static_cast<double>(bytes) / pictures);
  const struct {
    const char* name;
    dvr::codec::BlockDecoder decoder;
  } implementations[] = {{"scalar", dvr::codec::DecodeSlicesScalar},
                         {"packed", dvr::codec::DecodeSlicesPacked},
                         {"sse2", dvr::codec::DecodeSlicesSse2}};
  for (const auto& implementation : implementations) {
    dvr::codec::FrameDecoder decoder;
    decoder.Init(4);
    decoder.UseBlockDecoder(implementation.decoder);
    double best = 1e9;
    for (int round = 0; round < 3; ++round) {
      const double start = CpuSeconds();
      for (const auto& frame : frames) {
        const auto length = static_cast<uint32_t>(frame.size());
        if (!decoder.ParseHeader(frame.data(), length) || !decoder.DecodeFrame(frame.data(), length, picture.data())) {
          std::fprintf(stderr, "a frame does not decode\n");
          return 1;
        }
      }
      best = std::min(best, CpuSeconds() - start);
    }
    std::printf("%s %.0f pictures/s\n", implementation.name, pictures / best);
  }
  return 0;
}
