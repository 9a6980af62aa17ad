#include "support/ndf_builder.h"

#include <algorithm>

#include "media/ndf_format.h"

namespace dvr::test {

using media::kBlockSize;
using media::kHeaderSize;
using media::kPayloadSize;

std::vector<uint8_t> VideoFrame(uint8_t channel, size_t length, uint8_t seed, bool flagged) {
  std::vector<uint8_t> frame = {0x00, 0x00, 0x01, flagged ? uint8_t{0xF9} : uint8_t{0xF8},
                                static_cast<uint8_t>(0x40 | channel)};
  for (size_t i = frame.size(); i < length; ++i) {
    frame.push_back(static_cast<uint8_t>((seed + i * 7) % 251 + 1));
  }
  frame.resize(length);
  return frame;
}

std::vector<uint8_t> AudioFrame(unsigned channel, size_t samples, uint8_t seed) {
  std::vector<uint8_t> frame = {0x00, 0x00, 0x01, static_cast<uint8_t>(0xFA + channel), 0x55, 0x66};
  for (size_t i = 0; i < samples; ++i) frame.push_back(static_cast<uint8_t>((seed + i * 3) % 250 + 2));
  return frame;
}

NdfBuilder& NdfBuilder::Append(const std::vector<uint8_t>& bytes) {
  stream_.insert(stream_.end(), bytes.begin(), bytes.end());
  return *this;
}

NdfBuilder& NdfBuilder::FillTo(size_t offset) {
  while (stream_.size() < offset) stream_.push_back(static_cast<uint8_t>(0x20 + stream_.size() % 64));
  return *this;
}

std::vector<uint8_t> NdfBuilder::Build(uint32_t first_time, uint8_t pacing) const {
  const size_t blocks = std::max<size_t>(1, (stream_.size() + kPayloadSize - 1) / kPayloadSize);
  std::vector<uint8_t> image(blocks * kBlockSize, 0);
  for (size_t b = 0; b < blocks; ++b) {
    uint8_t* block = image.data() + b * kBlockSize;
    media::WriteBlockHeader(block, first_time + static_cast<uint32_t>(b), 1, pacing, big_endian_);
    const size_t begin = b * kPayloadSize;
    const size_t end = std::min(stream_.size(), begin + kPayloadSize);
    if (begin < end) std::copy(stream_.begin() + begin, stream_.begin() + end, block + kHeaderSize);
  }
  return image;
}

uint64_t SourceOffset(uint64_t stream_offset) {
  return stream_offset / kPayloadSize * kBlockSize + kHeaderSize + stream_offset % kPayloadSize;
}

void CorruptBlock(std::vector<uint8_t>& image, size_t index) { image[index * kBlockSize + 7] ^= 0x5A; }

void RestampBlock(std::vector<uint8_t>& image, size_t index, uint32_t time, bool big_endian) {
  uint8_t* block = image.data() + index * kBlockSize;
  media::WriteBlockHeader(block, time, 1, block[6], big_endian);
}

std::vector<uint8_t> DiskImage(std::vector<uint8_t> image) {
  for (size_t i = 0; i + 1 < image.size(); i += 2) std::swap(image[i], image[i + 1]);
  return image;
}

std::vector<ExpectedFrame> ExpectedFrames(const std::vector<uint8_t>& stream) {
  std::vector<size_t> starts;
  uint32_t reg = 0xFFFFFFFF;
  for (size_t i = 0; i < stream.size(); ++i) {
    reg = reg << 8 | stream[i];
    if (reg >= 0x1F8 && reg <= 0x1FD) starts.push_back(i - 3);
  }
  std::vector<ExpectedFrame> frames;
  for (size_t k = 0; k + 1 < starts.size(); ++k) {
    const size_t begin = starts[k], end = starts[k + 1];
    ExpectedFrame frame;
    frame.offset = SourceOffset(begin);
    const uint8_t type = stream[begin + 3];
    frame.is_audio = type >= 0xFA;
    if (frame.is_audio) {
      if (end - begin <= 6) continue;  // no samples
      frame.channel = type - 0xFA;
      frame.payload.assign(stream.begin() + static_cast<long>(begin + 6),
                           stream.begin() + static_cast<long>(end));
    } else {
      frame.channel = stream[begin + 4] & 0x0F;
      frame.payload.assign(stream.begin() + static_cast<long>(begin),
                           stream.begin() + static_cast<long>(std::min(end, begin + media::kFrameCapacity - 4)));
    }
    frames.push_back(std::move(frame));
  }
  return frames;
}

}  // namespace dvr::test
