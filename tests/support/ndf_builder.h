#pragma once
// Hand-built NDF streams for tests: frames laid into blocks with headers, and an independent
// reading of which frames a stream holds.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace dvr::test {

// A video frame: start code (F8, or F9 when flagged), header byte 4 carrying `channel`, then
// `length` - 5 bytes of a pattern that never contains a zero byte.
std::vector<uint8_t> VideoFrame(uint8_t channel, size_t length, uint8_t seed = 1,
                                bool flagged = false);
// An audio frame: start code FA + channel, two skipped bytes, then `samples` bytes.
std::vector<uint8_t> AudioFrame(unsigned channel, size_t samples, uint8_t seed = 1);

// Lays stream bytes into 4096-byte blocks.
class NdfBuilder {
 public:
  explicit NdfBuilder(bool big_endian = false) : big_endian_(big_endian) {}

  NdfBuilder& Append(const std::vector<uint8_t>& bytes);
  // Appends zero-free filler so that the next byte lands at stream offset `offset`.
  NdfBuilder& FillTo(size_t offset);
  size_t StreamSize() const { return stream_.size(); }
  const std::vector<uint8_t>& Stream() const { return stream_; }

  // Block i gets time first_time + i and the given pacing; the last block is padded with zeros.
  std::vector<uint8_t> Build(uint32_t first_time = 1000000000, uint8_t pacing = 1) const;

 private:
  bool big_endian_;
  std::vector<uint8_t> stream_;
};

// Source offset of a stream byte (headers counted).
uint64_t SourceOffset(uint64_t stream_offset);
// Spoils block `index`'s check byte.
void CorruptBlock(std::vector<uint8_t>& image, size_t index);
// Rewrites block `index`'s header with another time (and a matching check byte).
void RestampBlock(std::vector<uint8_t>& image, size_t index, uint32_t time, bool big_endian = false);
// The image as a DVR's disk stores it: the two bytes of every 16-bit word exchanged.
std::vector<uint8_t> DiskImage(std::vector<uint8_t> image);

// A frame as it should be delivered: the source offset of its start code, its kind and payload.
struct ExpectedFrame {
  uint64_t offset = 0;
  bool is_audio = false;
  unsigned channel = 0;
  std::vector<uint8_t> payload;
};
// Every frame of a stream (start code to next start code), read the plain way: byte by byte.
// Audio frames without samples deliver nothing and are left out.
std::vector<ExpectedFrame> ExpectedFrames(const std::vector<uint8_t>& stream);

}  // namespace dvr::test
