// The network stream parser on arbitrary bytes, fed in pieces whose sizes the input chooses:
// nothing may crash, overrun a buffer or make a frame bigger than its slot. The same bytes fed
// whole must give the same frames and notices.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "engine/frame_queue.h"
#include "net/stream_parser.h"

namespace {

struct Tally : dvr::net::ControlHandler {
  uint64_t statuses = 0, disconnects = 0;
  void OnStatus(const std::array<uint16_t, 5>&) override { ++statuses; }
  void OnDisconnectNotice() override { ++disconnects; }
};

// Queues are made once (they are big) and left empty after every input.
struct Queues {
  dvr::engine::FrameQueue video{"video"}, audio{"audio"};
  Queues() {
    video.Allocate(dvr::net::kVideoBufferBytes, 16);
    audio.Allocate(dvr::net::kAudioBufferBytes, 16);
  }
};

struct Run {
  explicit Run(Queues& q) : video(q.video), audio(q.audio) {}
  dvr::engine::FrameQueue& video;
  dvr::engine::FrameQueue& audio;
  Tally tally;
  dvr::net::StreamParser parser{video, audio, tally};
  std::vector<uint32_t> lengths;
  // Takes what is queued, so that queues never fill and lose frames.
  void Drain(dvr::media::MediaFrame& frame) {
    while (video.Take(frame)) lengths.push_back(frame.length);
    while (audio.Take(frame)) lengths.push_back(0x80000000u | frame.length);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  static dvr::media::MediaFrame frame(dvr::net::kVideoBufferBytes);
  const size_t piece = data[0] % 17 + 1;
  data += 1;
  size -= 1;
  static Queues queues;
  Run pieces(queues), whole(queues);
  for (size_t at = 0; at < size; at += piece) {
    pieces.parser.Parse(data + at, std::min(piece, size - at));
    pieces.Drain(frame);
  }
  whole.parser.Parse(data, size);
  whole.Drain(frame);
  // A queue holds 16 frames: the whole feed may have lost some the piecewise one kept.
  if (whole.parser.Traffic().video_lost == 0 && whole.parser.Traffic().audio_lost == 0 &&
      (pieces.lengths.size() != whole.lengths.size() || pieces.tally.statuses != whole.tally.statuses ||
       pieces.tally.disconnects != whole.tally.disconnects)) {
    std::abort();
  }
  for (uint32_t length : pieces.lengths) {
    const bool audio = length & 0x80000000u;
    if ((length & 0x7FFFFFFFu) > (audio ? dvr::net::kAudioBufferBytes : dvr::net::kVideoBufferBytes)) std::abort();
  }
  return 0;
}
