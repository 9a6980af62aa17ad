#pragma once
// The queue through which the network client's worker (the one producer) hands whole frames to
// the engine's live loop (the one consumer), oldest first. Payloads are copied into one block of
// storage made once and used as a ring, so that the producer never waits, nothing is allocated
// per frame, and a queue sized in bytes holds many small frames as readily as a few large ones:
// the live loop may stall for a second or more while both cores are busy, and what arrives
// meanwhile must still reach the screen and the local recording.
//
// Every frame the queue loses (no room when pushed, or a taker's buffer too small for it) is
// counted.
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "media/media_frame.h"
#include "platform/event.h"

namespace dvr::engine {

// The frame's time and 16 further bytes, carried unchanged.
inline constexpr size_t kFrameInformationBytes = 32;

class FrameQueue {
 public:
  explicit FrameQueue(std::string name) : name_(std::move(name)) {}
  FrameQueue(const FrameQueue&) = delete;
  FrameQueue& operator=(const FrameQueue&) = delete;

  // Room for `count` frames of at most max(capacity, 16) bytes each, their payloads held in
  // `bytes` of storage (0: count frames of the largest size; never less than one such frame).
  // Made once.
  bool Allocate(size_t capacity, size_t count, size_t bytes = 0);
  // Copies the frame in behind the others. False, the frame lost, when the queue holds `count`
  // frames, its storage has no room for this one, or it is larger than the capacity.
  bool Push(const media::MediaFrame& frame);
  // Copies the oldest queued frame out. A frame longer than `frame`'s payload buffer cannot be
  // handed over: it is taken off and lost (false), so that the frames behind it still come.
  bool Take(media::MediaFrame& frame);

  platform::Event& HasFramesEvent() { return has_frames_; }
  platform::Event& HasSpaceEvent() { return has_space_; }
  size_t SlotTotal() const { return slot_total_; }
  size_t Capacity() const { return capacity_; }
  size_t StorageBytes() const { return storage_bytes_; }
  // Frames queued now; frames lost since Allocate.
  size_t Count() const;
  uint64_t Lost() const { return lost_.load(std::memory_order_relaxed); }

 private:
  struct Entry {
    size_t offset = 0;  // of the payload in the storage
    uint32_t length = 0;
    std::array<uint8_t, kFrameInformationBytes> information{};
  };
  // Where a payload of `length` bytes can go, or false when the storage has no room for it now.
  bool PlaceFor(size_t length, size_t& offset) const;

  const std::string name_;
  mutable std::mutex mutex_;
  platform::Event has_frames_;
  platform::Event has_space_;
  size_t capacity_ = 0;
  size_t slot_total_ = 0;
  size_t storage_bytes_ = 0;
  std::unique_ptr<uint8_t[]> storage_;  // pages are touched only as far as frames reach
  // Guarded by mutex_: a ring of entries, oldest at head_; payloads lie in the storage in the
  // same order from the head entry's offset to next_offset_, wrapping at most once.
  std::vector<Entry> entries_;
  size_t head_ = 0, count_ = 0;
  size_t next_offset_ = 0;
  std::atomic<uint64_t> lost_{0};
};

}  // namespace dvr::engine
