#pragma once
// Lays a frame stream into NDF blocks the way the recorder does: wherever a block begins, a header
// stamped with the time and pacing of the bytes that open it; zero padding after the last frame.
#include <cstdint>
#include <vector>

#include "platform/file.h"

namespace dvr::media {

class NdfPacker {
 public:
  // Bytes are gathered until flush_bytes are pending (0: every Append goes straight out).
  NdfPacker(platform::File& out, bool big_endian, uint16_t format_word = 1,
            size_t flush_bytes = size_t{1} << 20);

  // Appends stream bytes. Every block begun inside this call gets a header with these values.
  bool Append(const uint8_t* data, size_t n, uint32_t time, uint8_t pacing);
  // Pads the last block with zero bytes and writes everything out.
  bool Finish();
  // Starts a new file: nothing pending, nothing laid out.
  void Reset();
  // Bytes laid out so far, headers included.
  uint64_t Total() const { return total_; }

 private:
  bool Flush();

  platform::File& out_;
  bool big_endian_;
  uint16_t format_word_;
  size_t flush_bytes_;
  uint64_t total_ = 0;
  std::vector<uint8_t> pending_;  // not yet written to the file
  bool ok_ = true;
};

}  // namespace dvr::media
