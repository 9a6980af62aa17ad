#pragma once
// A synthetic recording as a recorder writes one: the channels' pictures in turn at the frame
// rate, each channel a camera-like scene, pacing counts that match the rate, true block times and,
// if asked, A-law audio (a tone per audio channel).
#include <cstdint>
#include <string>

namespace dvrtool {

struct SynthSettings {
  int variant = 4;
  int channels = 4;
  double seconds = 10;
  double fps = 30;  // pictures per second, all channels together
  bool pal = false;
  int quality = 4;
  bool partial = false;  // code only what changed, with a full picture now and then
  bool audio = false;
  int audio_channels = 1;  // 1..4; a recorder usually has one microphone
  uint64_t seed = 1;
  uint32_t start = 0;  // time field of the first block
};

struct SynthSummary {
  uint64_t video_frames = 0;
  uint64_t audio_frames = 0;
  uint64_t bytes = 0;
  int pacing = 0;
};

// Writes the recording; false when the file cannot be written (nothing is left behind then).
bool WriteSyntheticRecording(const std::string& path, const SynthSettings& settings,
                             SynthSummary& summary);

}  // namespace dvrtool
