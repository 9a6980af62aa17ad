#include "engine/frame_queue.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace dvr::engine {
namespace {

constexpr size_t kMinimumCapacity = 16;

// A frame's time and further information as 32 bytes: eight 16-bit time fields, then 16 bytes.
std::array<uint8_t, kFrameInformationBytes> InformationOf(const media::MediaFrame& frame) {
  std::array<uint8_t, kFrameInformationBytes> bytes{};
  static_assert(sizeof frame.time == 16);
  std::memcpy(bytes.data(), &frame.time, 16);
  std::memcpy(bytes.data() + 16, frame.info.data(), 16);
  return bytes;
}

}  // namespace

bool FrameQueue::Allocate(size_t capacity, size_t count, size_t bytes) {
  std::lock_guard lock(mutex_);
  if (storage_ || count == 0) return false;  // made once
  capacity_ = std::max(capacity, kMinimumCapacity);
  storage_bytes_ = bytes == 0 ? capacity_ * count : std::max(bytes, capacity_);
  // Not value-initialised: the system hands out pages as the ring first reaches them.
  storage_.reset(new (std::nothrow) uint8_t[storage_bytes_]);
  if (!storage_) return false;
  entries_.resize(count);
  slot_total_ = count;
  has_space_.Set();
  return true;
}

size_t FrameQueue::Count() const {
  std::lock_guard lock(mutex_);
  return count_;
}

bool FrameQueue::PlaceFor(size_t length, size_t& offset) const {
  if (count_ == 0) {
    offset = 0;  // an empty queue starts again at the front: a queue that keeps up stays small
    return true;
  }
  const size_t oldest = entries_[head_].offset;
  // A wrapped run always ends below the oldest payload (strictly, so that the two cases cannot
  // look alike).
  if (next_offset_ >= oldest) {
    // In one piece from the oldest payload on: the new one goes after it, or else at the front.
    if (length <= storage_bytes_ - next_offset_) {
      offset = next_offset_;
      return true;
    }
    offset = 0;
    return length < oldest;
  }
  offset = next_offset_;  // wrapped: between the newest and the oldest payload
  return next_offset_ + length < oldest;
}

bool FrameQueue::Push(const media::MediaFrame& frame) {
  std::lock_guard lock(mutex_);
  size_t offset = 0;
  if (count_ == slot_total_ || frame.length > capacity_ || frame.length > frame.payload.size() ||
      !PlaceFor(frame.length, offset)) {
    lost_.fetch_add(1, std::memory_order_relaxed);
    return false;
  }
  Entry& entry = entries_[(head_ + count_) % slot_total_];
  entry.offset = offset;
  entry.length = frame.length;
  entry.information = InformationOf(frame);
  std::memcpy(storage_.get() + offset, frame.payload.data(), frame.length);
  next_offset_ = offset + frame.length;
  ++count_;
  has_frames_.Set();
  if (count_ == slot_total_) has_space_.Reset();
  return true;
}

bool FrameQueue::Take(media::MediaFrame& frame) {
  std::lock_guard lock(mutex_);
  if (count_ == 0) return false;
  const Entry& entry = entries_[head_];
  const bool fits = entry.length <= frame.payload.size();
  if (fits) {
    std::memcpy(frame.payload.data(), storage_.get() + entry.offset, entry.length);
    frame.length = entry.length;
    std::memcpy(&frame.time, entry.information.data(), 16);
    std::memcpy(frame.info.data(), entry.information.data() + 16, 16);
  } else {
    lost_.fetch_add(1, std::memory_order_relaxed);
  }
  head_ = (head_ + 1) % slot_total_;
  if (--count_ == 0) has_frames_.Reset();
  has_space_.Set();
  return fits;
}

}  // namespace dvr::engine
