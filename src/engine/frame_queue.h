#pragma once
// The fixed-slot queue through which the network client's worker (the one producer) hands
// whole frames to the engine's live loop (the one consumer). Slots are made once and only move
// between a free and a full list; payloads are copied in and out, so the producer never waits
// and nothing is allocated per frame.
#include <array>
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

  // Makes `count` slots of max(capacity, 16) bytes, all free.
  bool Allocate(size_t capacity, size_t count);
  // Copies the frame into the oldest free slot. False, the frame lost, when no slot is free or
  // the frame does not fit one.
  bool Push(const media::MediaFrame& frame);
  // Copies the oldest queued frame out; `frame`'s payload must hold a slot's capacity.
  bool Take(media::MediaFrame& frame);

  platform::Event& HasFramesEvent() { return has_frames_; }
  platform::Event& HasSpaceEvent() { return has_space_; }
  size_t SlotTotal() const { return slot_total_; }
  size_t Capacity() const;

 private:
  struct Slot {
    std::vector<uint8_t> payload;
    uint32_t length = 0;
    std::array<uint8_t, kFrameInformationBytes> information{};
  };
  // A first-in first-out list of slots of fixed room: moving a slot never allocates.
  class SlotList {
   public:
    void Reserve(size_t room) { items_.resize(room); }
    bool Empty() const { return count_ == 0; }
    size_t Count() const { return count_; }
    Slot* Front() const { return items_[head_]; }
    void PopFront() {
      head_ = (head_ + 1) % items_.size();
      --count_;
    }
    void PushBack(Slot* slot) {
      items_[(head_ + count_) % items_.size()] = slot;
      ++count_;
    }

   private:
    std::vector<Slot*> items_;
    size_t head_ = 0, count_ = 0;
  };

  const std::string name_;
  mutable std::mutex mutex_;
  platform::Event has_frames_;
  platform::Event has_space_;
  std::vector<std::unique_ptr<Slot>> slots_;  // owns every slot
  SlotList full_;                             // oldest first; guarded by mutex_
  SlotList free_;                             // guarded by mutex_
  size_t slot_total_ = 0;
};

}  // namespace dvr::engine
