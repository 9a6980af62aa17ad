#include "media/block_source.h"

#include "media/ndf_format.h"

namespace dvr::media {
namespace {

constexpr uint64_t kChunkBlocks = 16;  // 64 KiB a read: stays in cache for the scan
static_assert(kChunkBlocks <= 16, "one bit of BlockSource::unreadable_ per cached block");

}  // namespace

BlockSource::BlockSource() : chunk_(kChunkBlocks * kBlockSize) {}

bool BlockSource::Open(const std::string& path, bool is_disk) {
  Close();
  is_disk_ = is_disk;
  return file_.OpenRead(path);
}

void BlockSource::Close() {
  file_.Close();
  first_ = 0;
  count_ = 0;
  unreadable_ = 0;
}

platform::ReadResult BlockSource::ReadAt(uint64_t offset, uint8_t* buffer, size_t n) const {
  return file_.ReadAt(offset, buffer, n);
}

void BlockSource::Fill(uint64_t start) {
  first_ = start;
  unreadable_ = 0;
  const platform::ReadResult got = ReadAt(start * kBlockSize, chunk_.data(), chunk_.size());
  count_ = got.bytes / kBlockSize;  // a partial block at the end is never cached
  if (got.failed) {
    // The read stopped at a block the medium could not deliver. Read the rest of the chunk block
    // by block, so that only the blocks that fail are lost.
    unreadable_ |= 1u << count_++;
    for (; count_ < kChunkBlocks; ++count_) {
      const platform::ReadResult one =
          ReadAt((start + count_) * kBlockSize, chunk_.data() + count_ * kBlockSize, kBlockSize);
      if (one.bytes == kBlockSize) continue;
      if (!one.failed) break;  // the medium ends here
      unreadable_ |= 1u << count_;
    }
  }
  if (is_disk_) ExchangeBytePairs(chunk_.data(), count_ * kBlockSize);
}

LoadedBlock BlockSource::Load(uint64_t index, bool backward) {
  if (index < first_ || index >= first_ + count_) {
    Fill(backward && index >= kChunkBlocks - 1 ? index - (kChunkBlocks - 1) : backward ? 0 : index);
    if (index >= first_ + count_) return {};
  }
  if (unreadable_ >> (index - first_) & 1u) return {nullptr, true};
  return {chunk_.data() + (index - first_) * kBlockSize};
}

}  // namespace dvr::media
