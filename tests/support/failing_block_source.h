#pragma once
// A recording file on a medium that cannot read some of its blocks, as a failing disk behaves: a
// read delivers the bytes before the first such block it reaches, then reports an error.
#include <algorithm>
#include <cstdint>
#include <set>
#include <utility>

#include "media/block_source.h"
#include "media/ndf_format.h"

namespace dvr::test {

class FailingBlockSource : public media::BlockSource {
 public:
  explicit FailingBlockSource(std::set<uint64_t> unreadable) : unreadable_(std::move(unreadable)) {}

  platform::ReadResult ReadAt(uint64_t offset, uint8_t* buffer, size_t n) const override {
    const auto bad = unreadable_.lower_bound(offset / media::kBlockSize);
    if (bad == unreadable_.end() || *bad * media::kBlockSize >= offset + n) {
      return BlockSource::ReadAt(offset, buffer, n);
    }
    const size_t before = static_cast<size_t>(std::max(*bad * media::kBlockSize, offset) - offset);
    platform::ReadResult result = BlockSource::ReadAt(offset, buffer, before);
    result.failed = result.bytes == before;  // else the file ended first
    return result;
  }

 private:
  std::set<uint64_t> unreadable_;
};

}  // namespace dvr::test
