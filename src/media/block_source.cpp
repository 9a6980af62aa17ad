#include "media/block_source.h"

#include "media/ndf_format.h"

namespace dvr::media {
namespace {

constexpr uint64_t kChunkBlocks = 16;  // 64 KiB a read: stays in cache for the scan

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
}

const uint8_t* BlockSource::Load(uint64_t index, bool backward) {
  if (index < first_ || index >= first_ + count_) {
    const uint64_t start = backward && index >= kChunkBlocks - 1 ? index - (kChunkBlocks - 1)
                           : backward                         ? 0
                                                              : index;
    const size_t got = file_.ReadAt(start * kBlockSize, chunk_.data(), chunk_.size());
    first_ = start;
    count_ = got / kBlockSize;  // a partial block at the end is never cached
    if (is_disk_) ExchangeBytePairs(chunk_.data(), count_ * kBlockSize);
    if (index >= first_ + count_) return nullptr;
  }
  return chunk_.data() + (index - first_) * kBlockSize;
}

}  // namespace dvr::media
