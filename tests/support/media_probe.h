#pragma once
// Reads a video file back with FFmpeg, as any player would: what streams it has, how many frames
// and samples, and the first picture.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace dvr::test {

struct ProbedStream {
  std::string codec;
  bool video = false;
  int width = 0, height = 0;
  double frame_rate = 0;
  int sample_rate = 0;
  int64_t frames = 0;   // video frames decoded
  int64_t samples = 0;  // audio samples decoded
};

struct ProbedFile {
  bool ok = false;
  std::string container;
  std::vector<ProbedStream> streams;
  const ProbedStream* Video() const;
  const ProbedStream* Audio() const;
};

// Decodes every packet of the file.
ProbedFile ProbeFile(const std::string& path);
// Video frame `index` (0: the first) as top-down blue, green, red bytes; empty when there is none.
std::vector<uint8_t> FrameBgr(const std::string& path, int64_t index, int& width, int& height);
inline std::vector<uint8_t> FirstFrameBgr(const std::string& path, int& width, int& height) {
  return FrameBgr(path, 0, width, height);
}
// What the ffprobe command says of one stream ("v:0", "a:0"): every field it prints, by name
// ("r_frame_rate" -> "15/2", "duration" -> "4.000000"); empty when it cannot read the file.
std::map<std::string, std::string> FfprobeStream(const std::string& path,
                                                 const std::string& stream);
// Peak signal-to-noise ratio of two pictures of the same size, in dB (99 when identical).
double Psnr(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b);

}  // namespace dvr::test
