#include "media/ndf_packer.h"

#include <algorithm>

#include "media/ndf_format.h"

namespace dvr::media {
namespace {

constexpr size_t kFlushBytes = 1 << 20;
constexpr uint16_t kFormatWord = 1;

}  // namespace

NdfPacker::NdfPacker(platform::File& out, bool big_endian) : out_(out), big_endian_(big_endian) {
  pending_.reserve(kFlushBytes + kBlockSize);
}

bool NdfPacker::Append(const uint8_t* data, size_t n, uint32_t time, uint8_t pacing) {
  while (n > 0) {
    if (total_ % kBlockSize == 0) {
      uint8_t header[kHeaderSize];
      WriteBlockHeader(header, time, kFormatWord, pacing, big_endian_);
      pending_.insert(pending_.end(), header, header + kHeaderSize);
      total_ += kHeaderSize;
    }
    const size_t room = kBlockSize - total_ % kBlockSize;
    const size_t take = std::min(n, room);
    pending_.insert(pending_.end(), data, data + take);
    total_ += take;
    data += take;
    n -= take;
  }
  return pending_.size() < kFlushBytes || Flush();
}

bool NdfPacker::Finish() {
  if (total_ % kBlockSize != 0) {
    const size_t padding = kBlockSize - total_ % kBlockSize;
    pending_.insert(pending_.end(), padding, 0);
    total_ += padding;
  }
  return Flush();
}

bool NdfPacker::Flush() {
  ok_ = ok_ && out_.Write(pending_.data(), pending_.size());
  pending_.clear();
  return ok_;
}

}  // namespace dvr::media
