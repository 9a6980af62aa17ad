#pragma once
// Whole 4096-byte blocks of a recording file or a DVR disk, read ahead in large chunks in the
// direction of the walk. A disk's byte pairs are exchanged once, as each chunk arrives. A block
// the medium fails to read is unreadable on its own: the blocks around it still load.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/file.h"

namespace dvr::media {

// A block as Load finds it.
struct LoadedBlock {
  const uint8_t* data = nullptr;  // its 4096 bytes; valid until the next Load or Close
  bool unreadable = false;        // none because the medium failed to read them, not at the end
};

class BlockSource {
 public:
  BlockSource();
  virtual ~BlockSource() = default;
  BlockSource(const BlockSource&) = delete;
  BlockSource& operator=(const BlockSource&) = delete;

  bool Open(const std::string& path, bool is_disk);
  void Close();
  bool IsOpen() const { return file_.IsOpen(); }
  bool IsDisk() const { return is_disk_; }
  const platform::File& File() const { return file_; }

  // Block `index`, or no data when fewer than 4096 bytes of it can be read. `backward` reads
  // ahead toward the start instead.
  LoadedBlock Load(uint64_t index, bool backward);

  // The medium's bytes as stored (a disk's pairs not exchanged). Every read of the source goes
  // through here, so a stand-in medium can fail chosen reads.
  virtual platform::ReadResult ReadAt(uint64_t offset, uint8_t* buffer, size_t n) const;

 private:
  // Reads the chunk of blocks from `start` on.
  void Fill(uint64_t start);

  platform::File file_;
  bool is_disk_ = false;
  std::vector<uint8_t> chunk_;  // cached whole blocks
  uint64_t first_ = 0;          // index of the first cached block
  uint64_t count_ = 0;          // cached blocks, the unreadable ones included
  uint16_t unreadable_ = 0;     // bit i: cached block first_ + i could not be read
};

}  // namespace dvr::media
