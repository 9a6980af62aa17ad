#pragma once
// What the simulated DVR streams: video frames in the network layout (frame byte 4 bit 7 the
// full-picture flag, bytes 5..6 a big-endian frame counter) and audio frames (00 00 01 FA, two
// header bytes, A-law samples), in the order they leave.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "codec/frame_encoder.h"
#include "codec/synthetic_scene.h"
#include "media/recording_reader.h"
#include "platform/notices.h"

namespace dvr::sim {

struct LiveUnit {
  std::vector<uint8_t> bytes;  // the whole frame from its start code
  bool is_video = false;
};

class LiveSource {
 public:
  virtual ~LiveSource() = default;
  // The next unit; false when the source has nothing at all to send.
  virtual bool Next(LiveUnit& unit) = 0;
};

// Cameras as a DVR's split screen shows them: n scenes (1, 4, 9 or 16) tiled into one picture,
// a full picture every `full_every` and changes in between, a tone alongside.
class SyntheticLiveSource final : public LiveSource {
 public:
  SyntheticLiveSource(int cameras, double fps, bool pal, int quality, int full_every = 30);
  bool Next(LiveUnit& unit) override;

 private:
  void Compose(double seconds);

  int grid_;  // tiles per row and column
  double fps_;
  int quality_;
  int full_every_;
  uint32_t width_ = 640, height_;
  std::vector<std::unique_ptr<codec::SyntheticScene>> scenes_;
  std::vector<uint8_t> camera_picture_, picture_, reference_;
  codec::FrameEncoder encoder_;
  uint64_t pictures_ = 0;
  uint64_t audio_frames_ = 0;
};

// A recording's frames, converted to the network layout, from the start again at its end. Audio
// of the recording's first audio channel goes along.
class RecordingLiveSource final : public LiveSource {
 public:
  explicit RecordingLiveSource(platform::Notices& notices);
  // False when the file cannot be opened or holds no video frame.
  bool Open(const std::string& path, int variant);
  bool Next(LiveUnit& unit) override;

 private:
  bool NextFromReader(LiveUnit& unit);

  media::RecordingReader reader_;
  std::vector<uint8_t> frame_;
  uint16_t counter_ = 0;
};

// The first `pictures` pictures of another source (with the units between them), over and over,
// their frame counters running on: a stream as fast as the network takes it, with no encoding on
// the way. With `video_only`, the audio is left out.
class LoopedLiveSource final : public LiveSource {
 public:
  LoopedLiveSource(LiveSource& inner, size_t pictures, bool video_only);
  bool Next(LiveUnit& unit) override;

 private:
  std::vector<LiveUnit> units_;
  size_t next_ = 0;
  uint16_t counter_ = 0;
};

// A video frame of any variant's layout as a DVR sends it on the network. False for a frame too
// short to carry its header.
bool ToNetworkFrame(const uint8_t* frame, size_t length, int variant, uint16_t counter, std::vector<uint8_t>& out);

}  // namespace dvr::sim
