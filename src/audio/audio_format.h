#pragma once
// The recorder's audio sample formats (mono, 8000 Hz) and the PCM wave format a sound device is
// opened with.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace dvr::audio {

enum AudioFormatCode : int {
  kUnsigned8 = 1,   // QM_UPCM8: unsigned 8-bit PCM, played as it is
  kSigned8 = 2,     // QM_SPCM8: signed 8-bit PCM, 128 added (modulo 256) to play
  kUnsigned16 = 3,  // QM_UPCM16: 16-bit PCM, played as it is
  kSigned16 = 4,    // QM_SPCM16: signed 16-bit little-endian PCM
  kALaw = 5,        // QM_ALAW: G.711 A-law, played as 16-bit PCM
  kMuLaw = 6,       // QM_MLAW: G.711 mu-law, played as 16-bit PCM
};
inline constexpr int kSampleRate = 8000;

// "QM_UPCM8" .. "QM_MLAW" for 1..6.
std::string_view AudioFormatName(int code);
std::optional<int> AudioFormatFromName(std::string_view name);
// A format name or a number 1..6, as the tools accept it.
std::optional<int> ParseAudioFormat(std::string_view text);
// The build's format name (DVR_AUDIO_FORMAT).
std::string_view BuildAudioFormat();

// Bits per played sample: 16 for codes 3..6, 8 for the others.
int PlayedBitsPerSample(int code);

// The platform's 18-byte PCM wave format description.
struct WaveFormat {
  uint16_t format_tag = 1;  // PCM
  uint16_t channels = 1;
  uint32_t samples_per_second = kSampleRate;
  uint32_t average_bytes_per_second = kSampleRate;
  uint16_t block_align = 1;
  uint16_t bits_per_sample = 8;
  uint16_t extra_size = 0;

  // The 18 bytes, little-endian, as the platform lays them out.
  std::array<uint8_t, 18> Bytes() const;
};

}  // namespace dvr::audio
