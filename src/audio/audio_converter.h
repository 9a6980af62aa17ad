#pragma once
// Turns the recorder's audio samples into the PCM the sound device plays.
#include <cstdint>
#include <string_view>

#include "audio/audio_format.h"
#include "platform/notices.h"

namespace dvr::audio {

class AudioConverter {
 public:
  // Stores the code and rate; fills `out` (when given) with the wave format the device needs.
  // Returns 0 when `out` is null, else 1.
  int SetFormat(int format_code, int sample_rate, WaveFormat* out);

  // Converts `length` bytes by the stored code; *out_length becomes length (codes 1..4) or
  // 2 x length (codes 5 and 6, whose `out` must hold that). Returns 1.
  int Convert(const uint8_t* in, uint32_t length, uint8_t* out, uint32_t* out_length) const;

  int format_code() const { return format_code_; }
  int sample_rate() const { return sample_rate_; }

 private:
  int format_code_ = kUnsigned8;
  int sample_rate_ = kSampleRate;
};

// The code of the build's format name; an unknown name shows "Unkown Audio Format" and gives 1.
int SelectAudioFormat(std::string_view name, platform::Notices& notices);

}  // namespace dvr::audio
