#pragma once
// Whole 4096-byte blocks of a recording file or a DVR disk, read ahead in large chunks in the
// direction of the walk. A disk's byte pairs are exchanged once, as each chunk arrives.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/file.h"

namespace dvr::media {

class BlockSource {
 public:
  BlockSource();

  bool Open(const std::string& path, bool is_disk);
  void Close();
  bool IsOpen() const { return file_.IsOpen(); }
  bool IsDisk() const { return is_disk_; }
  const platform::File& File() const { return file_; }

  // Block `index`, or nullptr when fewer than 4096 bytes of it can be read. The pointer stays
  // valid until the next Load or Close. `backward` reads ahead toward the start instead.
  const uint8_t* Load(uint64_t index, bool backward);

 private:
  platform::File file_;
  bool is_disk_ = false;
  std::vector<uint8_t> chunk_;  // cached whole blocks
  uint64_t first_ = 0;          // index of the first cached block
  uint64_t count_ = 0;          // cached blocks
};

}  // namespace dvr::media
