#pragma once
// One frame as a source hands it to the engine: from a recording, a disk or the network.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "media/ndf_time.h"

namespace dvr::media {

struct MediaFrame {
  explicit MediaFrame(size_t capacity) : payload(capacity) {}

  // Capacity fixed by the holder. Video: the whole frame from its start code. Audio: the samples.
  std::vector<uint8_t> payload;
  uint32_t length = 0;
  bool is_audio = false;
  // Video 0..15, audio 0..3. Network frames carry none.
  uint32_t channel = 0;
  // Recordings: the block time. Network frames: the time the receiver sets.
  FrameTime time;
  // Network frames only; carried unchanged, never interpreted.
  std::array<uint8_t, 16> info{};
  // Recordings only: the pacing count of the block in which the frame ended.
  uint8_t pacing = 0;
};

}  // namespace dvr::media
