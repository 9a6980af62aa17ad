#pragma once
// A test tone as a recorder's audio frame: start code 00 00 01 FA+channel, two header bytes, then
// A-law samples of a sine (440 Hz times the channel number plus one). Test content for the
// synthetic recordings and the DVR simulator.
#include <cstdint>
#include <vector>

namespace dvr::audio {

inline constexpr int kToneFrameSamples = 400;  // 50 ms at 8000 Hz

// G.711 A-law of a 16-bit sample.
uint8_t CompressALaw(int sample);

// Replaces `frame` with the frame whose first sample is sample number `first_sample` of the tone.
// Nothing inside it looks like a start code.
void MakeToneFrame(std::vector<uint8_t>& frame, int channel, uint64_t first_sample);

}  // namespace dvr::audio
