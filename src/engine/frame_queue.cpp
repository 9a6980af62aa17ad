#include "engine/frame_queue.h"

#include <algorithm>
#include <cstring>

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

bool FrameQueue::Allocate(size_t capacity, size_t count) {
  std::lock_guard lock(mutex_);
  if (!slots_.empty() || count == 0) return false;  // slots are made once
  free_.Reserve(count);
  full_.Reserve(count);
  for (size_t i = 0; i < count; ++i) {
    auto slot = std::make_unique<Slot>();
    slot->payload.resize(std::max(capacity, kMinimumCapacity));
    free_.PushBack(slot.get());
    slots_.push_back(std::move(slot));
  }
  slot_total_ = count;
  has_space_.Set();
  return true;
}

size_t FrameQueue::Capacity() const {
  std::lock_guard lock(mutex_);
  return slots_.empty() ? 0 : slots_.front()->payload.size();
}

bool FrameQueue::Push(const media::MediaFrame& frame) {
  std::lock_guard lock(mutex_);
  if (free_.Empty()) return false;
  Slot* slot = free_.Front();
  if (frame.length > slot->payload.size() || frame.length > frame.payload.size()) return false;
  free_.PopFront();
  std::memcpy(slot->payload.data(), frame.payload.data(), frame.length);
  slot->length = frame.length;
  slot->information = InformationOf(frame);
  full_.PushBack(slot);
  has_frames_.Set();
  if (full_.Count() == slot_total_) has_space_.Reset();
  return true;
}

bool FrameQueue::Take(media::MediaFrame& frame) {
  std::lock_guard lock(mutex_);
  if (full_.Empty()) return false;
  Slot* slot = full_.Front();
  if (frame.payload.size() < slot->length) return false;  // the caller's buffer is too small
  full_.PopFront();
  if (full_.Empty()) has_frames_.Reset();
  std::memcpy(frame.payload.data(), slot->payload.data(), slot->length);
  frame.length = slot->length;
  std::memcpy(&frame.time, slot->information.data(), 16);
  std::memcpy(frame.info.data(), slot->information.data() + 16, 16);
  free_.PushBack(slot);
  has_space_.Set();
  return true;
}

}  // namespace dvr::engine
