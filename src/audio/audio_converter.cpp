#include "audio/audio_converter.h"

#include <cstring>

#include "audio/g711.h"

namespace dvr::audio {
namespace {

void Expand(const std::array<int16_t, 256>& table, const uint8_t* in, uint32_t length, uint8_t* out) {
  for (uint32_t i = 0; i < length; ++i) {
    const auto sample = static_cast<uint16_t>(table[in[i]]);
    out[2 * i] = static_cast<uint8_t>(sample);
    out[2 * i + 1] = static_cast<uint8_t>(sample >> 8);
  }
}

}  // namespace

int AudioConverter::SetFormat(int format_code, int sample_rate, WaveFormat* out) {
  format_code_ = format_code;
  sample_rate_ = sample_rate;
  if (out == nullptr) return 0;
  const int bits = PlayedBitsPerSample(format_code);
  *out = WaveFormat{};
  out->samples_per_second = static_cast<uint32_t>(sample_rate);
  out->average_bytes_per_second = static_cast<uint32_t>(sample_rate * bits / 8);
  out->block_align = static_cast<uint16_t>(bits / 8);
  out->bits_per_sample = static_cast<uint16_t>(bits);
  return 1;
}

int AudioConverter::Convert(const uint8_t* in, uint32_t length, uint8_t* out, uint32_t* out_length) const {
  switch (format_code_) {
    case kSigned8:
      for (uint32_t i = 0; i < length; ++i) out[i] = static_cast<uint8_t>(in[i] - 128);
      *out_length = length;
      break;
    case kALaw:
      Expand(kALawTable, in, length, out);
      *out_length = 2 * length;
      break;
    case kMuLaw:
      Expand(kMuLawTable, in, length, out);
      *out_length = 2 * length;
      break;
    default:
      if (length > 0) std::memcpy(out, in, length);
      *out_length = length;
      break;
  }
  return 1;
}

int SelectAudioFormat(std::string_view name, platform::Notices& notices) {
  if (const auto code = AudioFormatFromName(name)) return *code;
  notices.Show("Unkown Audio Format");
  return kUnsigned8;
}

}  // namespace dvr::audio
