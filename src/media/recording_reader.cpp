#include "media/recording_reader.h"

#include <algorithm>
#include <cstring>

#include "media/start_code_scan.h"
#include "media/variant.h"
#include "platform/local_time.h"
#include "platform/raw_drive.h"

namespace dvr::media {
namespace {

constexpr uint64_t kExportLimit = 0x40000000;  // 1 GiB
constexpr uint32_t kForwardOverhead = 4;       // the following start code, gathered too
constexpr uint32_t kAudioHead = 4 + kAudioSkipBytes;
constexpr uint32_t kNoBytes = 0xFFFFFFFF;  // a register that holds no part of a start code

uint64_t BlockStart(uint64_t position) { return position - position % kBlockSize; }

}  // namespace

RecordingReader::RecordingReader(platform::Notices& notices)
    : RecordingReader(notices, std::make_unique<BlockSource>()) {}

RecordingReader::RecordingReader(platform::Notices& notices, std::unique_ptr<BlockSource> source)
    : notices_(notices), source_(std::move(source)), backward_area_(kFrameCapacity) {}

bool RecordingReader::Open(const std::string& path, bool is_disk) {
  Close();
  if (!source_->Open(path, is_disk)) return false;
  std::optional<uint64_t> size;
  if (is_disk) {
    platform::DriveGeometry geometry;
    if (platform::QueryGeometry(source_->File(), geometry)) size = geometry.Capacity();
  } else {
    size = source_->File().Size();
  }
  if (!size) {
    notices_.Show("Open Error");
    source_->Close();
    return false;
  }
  size_ = *size;
  path_ = path;
  bias_seconds_ = platform::StandardBiasSeconds();
  return true;
}

void RecordingReader::Close() {
  source_->Close();
  block_ = nullptr;
  size_ = 0;
  position_ = 0;
  seek_target_ = 0;
  path_.clear();
}

void RecordingReader::SetVariant(int code) {
  variant_ = code;
  big_endian_ = code == kBigEndianVariant;
}

bool RecordingReader::SetPosition(uint64_t offset) {
  if (offset < size_) position_ = offset;
  return true;
}

void RecordingReader::SetPositionToEnd() { position_ = size_ - size_ % kBlockSize; }

RecordingReader::Load RecordingReader::LoadBlock(uint64_t position, bool backward) {
  const LoadedBlock loaded = source_->Load(position / kBlockSize, backward);
  block_ = loaded.data;
  if (loaded.unreadable) {
    // A read error costs this block alone, like a bad check byte.
    last_block_bad_ = true;
    return Load::kBad;
  }
  if (block_ == nullptr) return Load::kShort;
  const BlockHeader header = ParseBlockHeader(block_, big_endian_);
  pacing_ = header.pacing;
  format_word_ = backward && big_endian_ ? 0 : header.format_word;
  if (!BlockCheckMatches(block_)) {
    last_block_bad_ = true;
    return Load::kBad;
  }
  block_time_ = ConvertTime(header.time, bias_seconds_);
  block_time_field_ = header.time;
  return Load::kOk;
}

uint32_t RecordingReader::Fail() {
  is_audio_ = false;
  return 0;
}

void RecordingReader::ClearCollecting() {
  collecting_ = false;
  count_ = 0;
}

uint32_t RecordingReader::SkipBlock(uint64_t resume_at) {
  position_ = resume_at;
  ClearCollecting();
  // Bytes on either side of the gap are not neighbours: none may complete a start code.
  register_ = kNoBytes;
  return Fail();
}

uint64_t RecordingReader::StreamBack(uint64_t at, unsigned back) {
  const uint64_t in_block = at % kBlockSize - kHeaderSize;  // payload bytes before `at`
  if (in_block >= back) return at - back;
  if (at >= kBlockSize) return at - back - kHeaderSize;
  return at - in_block;  // nothing before the first payload byte of the source
}

uint64_t RecordingReader::StreamAhead(uint64_t at, unsigned ahead) {
  const uint64_t left = kBlockSize - 1 - at % kBlockSize;  // payload bytes after `at`
  return left >= ahead ? at + ahead : at + ahead + kHeaderSize;
}

void RecordingReader::CollectForward(const uint8_t* data, size_t n, uint8_t* frame) {
  const size_t take = std::min<size_t>(n, kFrameCapacity - count_);
  std::memcpy(frame + count_, data, take);
  count_ += static_cast<uint32_t>(take);
}

void RecordingReader::CollectBackward(const uint8_t* data, size_t n) {
  // Bytes arrive from the end of `data` toward its start and fill the area downward, so memory
  // order is kept. When the area is full, the bytes read last (the lowest) are dropped.
  const size_t take = std::min<size_t>(n, kFrameCapacity - count_);
  std::memcpy(backward_area_.data() + kFrameCapacity - count_ - take, data + n - take, take);
  count_ += static_cast<uint32_t>(take);
}

void RecordingReader::StartForwardFrame(uint64_t at, uint8_t type, uint8_t* frame) {
  collecting_ = true;
  count_ = 4;
  frame[0] = 0x00;
  frame[1] = 0x00;
  frame[2] = 0x01;
  frame[3] = type;
  collect_start_ = StreamBack(at, 3);
}

uint32_t RecordingReader::CompleteForwardFrame(uint64_t at, uint8_t type, uint8_t* frame) {
  collecting_ = false;
  const uint8_t frame_type = frame[3];
  uint32_t length = count_ - kForwardOverhead;
  if (KindOfStartCode(frame_type) == FrameKind::kAudio) {
    if (count_ <= kAudioHead + kForwardOverhead) {
      // No samples: nothing to deliver. The start code just seen begins the next frame.
      StartForwardFrame(at, type, frame);
      return 0;
    }
    is_audio_ = true;
    channel_ = AudioChannelOf(frame_type);
    length = count_ - kAudioHead - kForwardOverhead;
    std::memmove(frame, frame + kAudioHead, length);
  } else {
    is_audio_ = false;
    channel_ = frame[4] & 0x0F;
  }
  length_ = length;
  frame_offset_ = collect_start_;
  // Leave the position on the first byte of the start code just seen, so that the next call
  // finds it first and begins the next frame with it.
  position_ = StreamBack(at, 3);
  return length;
}

uint32_t RecordingReader::NextFrame(std::span<uint8_t> out) {
  last_block_bad_ = false;
  if (!IsOpen() || out.size() < kFrameCapacity) return Fail();
  if (backward_) {
    backward_ = false;
    register_ = kNoBytes;  // its bytes were read in the other order
  }
  ClearCollecting();  // nothing carries over: a forward frame is gathered within one call
  uint64_t position = Position();
  switch (LoadBlock(position, false)) {
    case Load::kShort:
      ClearCollecting();
      return Fail();
    case Load::kBad:
      return SkipBlock(BlockStart(position) + kBlockSize);
    case Load::kOk: break;
  }
  position = std::max(position, BlockStart(position) + kHeaderSize);
  for (;;) {
    const size_t offset = position % kBlockSize;
    const uint8_t* data = block_ + offset;
    const size_t n = kBlockSize - offset;
    const size_t found = FindStartCodeForward(data, n, register_);
    if (found == kNoStartCode) {
      if (collecting_) CollectForward(data, n, out.data());
      position += n;
    } else {
      if (collecting_) CollectForward(data, found + 1, out.data());
      const uint64_t at = position + found;
      const auto type = static_cast<uint8_t>(register_);
      if (!collecting_) {
        StartForwardFrame(at, type, out.data());
      } else if (const uint32_t length = CompleteForwardFrame(at, type, out.data())) {
        return length;
      }
      position = at + 1;
      if (position % kBlockSize != 0) continue;
    }
    // Into the next block.
    switch (LoadBlock(position, false)) {
      case Load::kShort:
        position_ = position;
        ClearCollecting();
        return Fail();
      case Load::kBad:
        return SkipBlock(position + kBlockSize);
      case Load::kOk: break;
    }
    position += kHeaderSize;
  }
}

uint32_t RecordingReader::CompleteBackwardFrame(uint64_t at, uint8_t type,
                                                std::span<uint8_t> out) {
  const bool audio = KindOfStartCode(type) == FrameKind::kAudio;
  if (audio && count_ <= kAudioHead) {
    // No samples: skip it; its start code ends the frame before it.
    count_ = 0;
    return 0;
  }
  collecting_ = false;
  if (audio) count_ -= kAudioHead;
  const uint8_t* payload = backward_area_.data() + kFrameCapacity - count_;
  std::memcpy(out.data(), payload, count_);
  is_audio_ = audio;
  if (!audio) channel_ = count_ > 4 ? payload[4] & 0x0F : 0;
  length_ = count_;
  frame_offset_ = at;
  // Just past the start code, so that a forward walk from here delivers the frame after this one.
  position_ = StreamAhead(at, 4);
  return count_;
}

uint32_t RecordingReader::PreviousFrame(std::span<uint8_t> out) {
  last_block_bad_ = false;
  if (!IsOpen() || out.size() < kFrameCapacity) return Fail();
  if (!backward_) {
    backward_ = true;
    ClearCollecting();
    register_ = kNoBytes;  // its bytes were read in the other order
  }
  uint64_t position = Position();
  if (position == 0) return Fail();
  --position;
  switch (LoadBlock(position, true)) {
    case Load::kShort:  // a partial block at the end: go on before it next time
    case Load::kBad:
      return SkipBlock(BlockStart(position));
    case Load::kOk: break;
  }
  for (;;) {
    const uint64_t base = BlockStart(position);
    const size_t offset = position % kBlockSize;
    if (offset >= kHeaderSize) {
      const uint8_t* data = block_ + kHeaderSize;
      const size_t n = offset - kHeaderSize + 1;
      const size_t found = FindStartCodeBackward(data, n, register_);
      if (found == kNoStartCode) {
        if (collecting_) CollectBackward(data, n);
      } else {
        if (collecting_) CollectBackward(data + found, n - found);
        const uint64_t at = base + kHeaderSize + found;
        const auto type = static_cast<uint8_t>(register_ >> 24);
        if (!collecting_) {
          collecting_ = true;
          count_ = 0;  // this start code ends the frame to be returned
        } else if (const uint32_t length = CompleteBackwardFrame(at, type, out)) {
          return length;
        }
        if (found > 0) {
          position = at - 1;
          continue;
        }
      }
    }
    // Into the block before.
    if (base == 0) {
      position_ = 0;
      return Fail();
    }
    position = base - 1;
    switch (LoadBlock(position, true)) {
      case Load::kShort:
      case Load::kBad:
        return SkipBlock(BlockStart(position));
      case Load::kOk: break;
    }
  }
}

bool RecordingReader::SetSeekTarget(uint64_t offset) {
  if (size_ == 0 || offset >= size_) return false;
  seek_target_ = offset;
  return true;
}

uint32_t RecordingReader::FrameAtTarget(std::span<uint8_t> out) {
  backward_ = false;
  ClearCollecting();
  register_ = kNoBytes;
  if (size_ == 0 || seek_target_ >= size_ - 1) return Fail();
  position_ = BlockStart(seek_target_);
  for (;;) {
    const uint32_t length = NextFrame(out);
    if (length == 0 || !is_audio_) return length;
  }
}

bool RecordingReader::CurrentTime(FrameTime& out) const {
  if (!IsOpen() || !IsValidFrameTime(block_time_)) return false;
  out = block_time_;
  return true;
}

void RecordingReader::DescribeFrame(MediaFrame& frame) const {
  frame.is_audio = is_audio_;
  frame.channel = channel_;
  frame.time = block_time_;
  frame.pacing = pacing_;
}

std::optional<ByteSpan> ExportSpan(uint64_t from, uint64_t to, uint64_t size) {
  if (from >= to || from >= size || to >= size) return {};
  const ByteSpan span{BlockStart(from), BlockStart(to + kBlockSize - 1)};
  if (span.end - span.first > kExportLimit) return {};
  return span;
}

bool RecordingReader::ExportRange(uint64_t from, uint64_t to, const std::string& path,
                                  const std::atomic<bool>* cancel) {
  const auto span = ExportSpan(from, to, size_);
  if (!IsOpen() || !span) return false;
  // Truncating the source itself would destroy what is being copied.
  if (source_->File().SameFileAs(path)) return false;

  platform::File output;
  if (!output.Create(path)) return false;
  // A partial block at the end of the source is copied as far as it goes; any other short read
  // fails the copy, and no partial copy is left behind.
  const uint64_t end = std::min(span->end, size_);
  std::vector<uint8_t> chunk(64 * kBlockSize);
  for (uint64_t offset = span->first; offset < end;) {
    const size_t want = static_cast<size_t>(std::min<uint64_t>(chunk.size(), end - offset));
    const size_t got = source_->ReadAt(offset, chunk.data(), want).bytes;
    if (source_->IsDisk()) ExchangeBytePairs(chunk.data(), got);
    const bool cancelled = cancel && cancel->load(std::memory_order_relaxed);
    if (cancelled || got < want || !output.Write(chunk.data(), got)) {
      output.Close();
      platform::RemoveFile(path);
      return false;
    }
    offset += got;
  }
  return true;
}

}  // namespace dvr::media
