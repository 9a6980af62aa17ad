#include "media/ndf_packer.h"

#include <algorithm>

#include "media/ndf_format.h"

namespace dvr::media {
namespace {

// One call's bytes are at most a frame, with a header for every block it begins.
constexpr size_t kLargestAppend = kFrameCapacity + (kFrameCapacity / kPayloadSize + 2) * kHeaderSize;

}  // namespace

NdfPacker::NdfPacker(platform::File& out, bool big_endian, uint16_t format_word, size_t flush_bytes)
    : out_(out), big_endian_(big_endian), format_word_(format_word), flush_bytes_(flush_bytes) {
  pending_.reserve(flush_bytes_ + kLargestAppend + kBlockSize);
}

void NdfPacker::Reset() {
  total_ = 0;
  pending_.clear();
  ok_ = true;
}

bool NdfPacker::Append(const uint8_t* data, size_t n, uint32_t time, uint8_t pacing) {
  while (n > 0) {
    if (total_ % kBlockSize == 0) {
      uint8_t header[kHeaderSize];
      WriteBlockHeader(header, time, format_word_, pacing, big_endian_);
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
  return pending_.size() < flush_bytes_ || Flush();
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
