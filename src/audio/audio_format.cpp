#include "audio/audio_format.h"

namespace dvr::audio {
namespace {

constexpr std::array<std::string_view, 6> kNames = {"QM_UPCM8", "QM_SPCM8", "QM_UPCM16",
                                                    "QM_SPCM16", "QM_ALAW",  "QM_MLAW"};

}  // namespace

std::string_view AudioFormatName(int code) {
  return code >= 1 && code <= 6 ? kNames[static_cast<size_t>(code - 1)] : "";
}

std::optional<int> AudioFormatFromName(std::string_view name) {
  for (int code = 1; code <= 6; ++code) {
    if (kNames[static_cast<size_t>(code - 1)] == name) return code;
  }
  return {};
}

std::optional<int> ParseAudioFormat(std::string_view text) {
  if (text.size() == 1 && text[0] >= '1' && text[0] <= '6') return text[0] - '0';
  return AudioFormatFromName(text);
}

std::string_view BuildAudioFormat() { return DVR_AUDIO_FORMAT; }

int PlayedBitsPerSample(int code) { return code >= 3 && code <= 6 ? 16 : 8; }

std::array<uint8_t, 18> WaveFormat::Bytes() const {
  std::array<uint8_t, 18> out{};
  auto put = [&out](size_t at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
  };
  put(0, format_tag, 2);
  put(2, channels, 2);
  put(4, samples_per_second, 4);
  put(8, average_bytes_per_second, 4);
  put(12, block_align, 2);
  put(14, bits_per_sample, 2);
  put(16, extra_size, 2);
  return out;
}

}  // namespace dvr::audio
