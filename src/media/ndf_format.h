#pragma once
// The NDF recording layout: 4096-byte blocks, each an 8-byte header (time, format word, pacing
// count, check byte) and 4088 bytes of one continuous frame stream. Frames begin with the start
// codes 00 00 01 F8..FD and carry no length; they are found by scanning.
#include <cstddef>
#include <cstdint>

namespace dvr::media {

inline constexpr size_t kBlockSize = 4096;
inline constexpr size_t kHeaderSize = 8;
inline constexpr size_t kPayloadSize = kBlockSize - kHeaderSize;
// Largest frame a source hands on, start code included.
inline constexpr size_t kFrameCapacity = 131072;
// Audio frames carry two bytes after the start code that nobody reads.
inline constexpr size_t kAudioSkipBytes = 2;

inline constexpr uint8_t kVideoStart = 0xF8;
inline constexpr uint8_t kVideoStartFlagged = 0xF9;
inline constexpr uint8_t kAudioStartFirst = 0xFA;
inline constexpr uint8_t kAudioStartLast = 0xFD;

enum class FrameKind { kNone, kVideo, kAudio };

// Kind of a start code from its last byte T.
constexpr FrameKind KindOfStartCode(uint8_t t) {
  if (t == kVideoStart || t == kVideoStartFlagged) return FrameKind::kVideo;
  if (t >= kAudioStartFirst && t <= kAudioStartLast) return FrameKind::kAudio;
  return FrameKind::kNone;
}
// Audio channel 0..3 of an audio start code.
constexpr uint32_t AudioChannelOf(uint8_t t) { return static_cast<uint32_t>(t - kAudioStartFirst); }
// True when the last four stream bytes (as a big-endian word) are a frame start code.
constexpr bool IsStartCode(uint32_t last_four) { return last_four - 0x1F8u <= 5u; }

struct BlockHeader {
  uint32_t time = 0;         // seconds since 1970-01-01 UTC
  uint16_t format_word = 0;  // written as 1
  uint8_t pacing = 0;        // 0..127
  uint8_t check = 0;
};

// Reads bytes 0..7 of a block; the time and format word are big-endian under variant 6.
BlockHeader ParseBlockHeader(const uint8_t* block, bool big_endian);
// Writes bytes 0..7 of a block, check byte included. Bit 7 of the pacing byte is written as 0.
void WriteBlockHeader(uint8_t* block, uint32_t time, uint16_t format_word, uint8_t pacing,
                      bool big_endian);
// True when byte 7 matches the check over bytes 0..6.
bool BlockCheckMatches(const uint8_t* block);

// A DVR's own disk stores every 16-bit word with its two bytes exchanged; this exchanges them
// back (or there). n is rounded down to whole words.
void ExchangeBytePairs(uint8_t* data, size_t n);

}  // namespace dvr::media
