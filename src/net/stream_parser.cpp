#include "net/stream_parser.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "net/protocol.h"

namespace dvr::net {
namespace {

constexpr uint32_t kStartCodeBytes = 4;
constexpr uint32_t kAudioSkip = 2;

bool IsStartCodeWindow(uint32_t reg) { return (reg & 0xFFFFFFF0) == 0x000001F0; }
// Pictures, audio and control packets; the other codes start nothing.
bool StartsUnit(uint8_t type) { return type == 0xF8 || type == 0xF9 || type == 0xFA || type == 0xFE; }

}  // namespace

media::FrameTime NetworkFrameTime() {
  media::FrameTime time;
  time.year = 2008;
  time.month = 1;
  time.day = 1;
  time.hour = 10;
  return time;
}

StreamParser::StreamParser(engine::FrameQueue& video, engine::FrameQueue& audio, ControlHandler& handler)
    : video_queue_(video),
      audio_queue_(audio),
      handler_(handler),
      find_prefix_(media::SelectedPrefixSearch()),
      video_(kVideoBufferBytes),
      audio_(kAudioBufferBytes) {
  video_.payload[0] = 0x00;
  video_.payload[1] = 0x00;
  video_.payload[2] = 0x01;
  video_.payload[3] = 0xF8;
  video_.length = kStartCodeBytes;
  video_.time = NetworkFrameTime();
  audio_.time = NetworkFrameTime();
  control_[0] = 0x00;
  control_[1] = 0x00;
  control_[2] = 0x01;
  control_[3] = 0xFE;
}

void StreamParser::Parse(const uint8_t* bytes, size_t count) {
  size_t i = 0;
  while (i < count) {
    if (state_ != kVideo && state_ != kHunting) {
      Step(bytes[i++]);
      continue;
    }
    // Picture data goes in bulk up to the next 00 00 01. The first three bytes go one by one:
    // a start code ending there may have begun in the bytes before.
    const size_t prefix = i + find_prefix_(bytes + i, count - i);
    for (const size_t end = std::min(i + 3, count); i < end;) Step(bytes[i++]);
    if (state_ != kVideo && state_ != kHunting) continue;
    // No start code ends before the prefix's third byte has been passed.
    const size_t bulk_end = std::min(prefix + 3, count);
    if (bulk_end <= i) continue;
    if (state_ == kVideo) {
      const size_t room = kVideoBufferBytes - video_.length;
      const size_t take = std::min(room, bulk_end - i);
      std::memcpy(video_.payload.data() + video_.length, bytes + i, take);
      video_.length += static_cast<uint32_t>(take);
      unit_tail_ = static_cast<uint32_t>(std::min<size_t>(unit_tail_ + (bulk_end - i), kStartCodeBytes));
    }
    i = bulk_end;
    register_ = uint32_t{bytes[i - 4]} << 24 | uint32_t{bytes[i - 3]} << 16 | uint32_t{bytes[i - 2]} << 8 | bytes[i - 1];
  }
}

void StreamParser::Step(uint8_t b) {
  register_ = register_ << 8 | b;
  switch (state_) {
    case kHunting: break;
    case kVideo:
      if (video_.length < kVideoBufferBytes) video_.payload[video_.length++] = b;
      unit_tail_ = std::min(unit_tail_ + 1, kStartCodeBytes);
      break;
    case kAudio:
      // The first two bytes after the start code are a header nobody reads.
      if (audio_received_++ >= kAudioSkip && audio_.length < kAudioBufferBytes) audio_.payload[audio_.length++] = b;
      unit_tail_ = std::min(unit_tail_ + 1, kStartCodeBytes);
      break;
    case kControl: {
      if (control_length_ < kControlBufferBytes) control_[control_length_] = b;
      ++control_length_;
      if (control_length_ == 8) declared_length_ = ParseHex(control_.data() + 4);
      // The next unit's start code ends a packet, even on the byte the packet's length would.
      const bool next_unit = IsStartCodeWindow(register_) && StartsUnit(static_cast<uint8_t>(register_));
      if (control_length_ >= 8 && control_length_ >= declared_length_ && !next_unit) {
        ResumeUnit();
        HandleControl();
        control_length_ = kStartCodeBytes;
        return;  // this byte ends the packet; it is not looked at as part of a start code
      }
      break;
    }
  }
  if (IsStartCodeWindow(register_)) StartCode(static_cast<uint8_t>(register_));
}

void StreamParser::TakeOut(uint32_t bytes) {
  if (state_ == kVideo) video_.length -= std::min(bytes, video_.length - kStartCodeBytes);
  if (state_ == kAudio) {
    const uint32_t stored = std::min(bytes, audio_received_ > kAudioSkip ? audio_received_ - kAudioSkip : 0);
    audio_.length -= std::min(stored, audio_.length);
    audio_received_ -= bytes;  // a header cut by a control packet goes on after it
  }
}

void StreamParser::ResumeUnit() {
  state_ = previous_;
  TakeOut(packet_start_in_unit_);
}

void StreamParser::EndAudioFrame(uint32_t start_code_bytes) {
  TakeOut(start_code_bytes);
  if (audio_.length != 0) Hand(audio_queue_, audio_, traffic_.audio_frames, traffic_.audio_lost);
  audio_.length = 0;
  audio_received_ = 0;  // every audio frame drops its own two header bytes
}

void StreamParser::Hand(engine::FrameQueue& queue, const media::MediaFrame& frame, std::atomic<uint64_t>& handed,
                        std::atomic<uint64_t>& lost) {
  auto& counter = queue.Push(frame) ? handed : lost;
  counter.fetch_add(1, std::memory_order_relaxed);
}

void StreamParser::StartCode(uint8_t type) {
  // The bytes of a start code that ends or interrupts a unit never stay in that unit.
  const uint32_t in_unit = std::exchange(unit_tail_, 0);
  if (type == 0xFE) {
    // A control packet: the unit it interrupts goes on after it. Its start code stays there until
    // the packet ends, whole or cut short by the next unit's start code.
    if (state_ != kControl) {
      previous_ = state_;
      packet_start_in_unit_ = in_unit;
      state_ = kControl;
    }
    control_length_ = kStartCodeBytes;  // an unfinished packet is abandoned
    return;
  }
  if (state_ == kControl) {
    if (!StartsUnit(type)) return;  // the packet's own bytes
    ResumeUnit();  // cut short; this start code went into the packet, not the unit
  }
  if (state_ == kAudio) EndAudioFrame(in_unit);  // at any start code
  if (type == 0xF8 || type == 0xF9) {
    if (state_ == kVideo) TakeOut(in_unit);
    if (video_.length > kStartCodeBytes) {
      Hand(video_queue_, video_, traffic_.video_frames, traffic_.video_lost);
      video_.length = kStartCodeBytes;
    }
    state_ = kVideo;
    video_.payload[3] = type;
  } else if (type == 0xFA) {
    if (state_ == kVideo) TakeOut(in_unit);  // the picture goes on after the audio frame
    state_ = kAudio;
  }
  // Any other start code stays in a picture being gathered; audio starts a new frame after it.
}

void StreamParser::HandleControl() {
  // Only what the packet really holds counts: a short packet, or one too long for the buffer,
  // carries nothing to act on.
  const uint32_t length = control_length_;
  if (length < kControlHeader || length > kControlBufferBytes) return;
  switch (ParseHex(control_.data() + 8)) {
    case kStatusReport:
      if (length < kControlHeader + 20) return;
      for (size_t k = 0; k < 5; ++k) status_[k] = ParseHex(control_.data() + 12 + 4 * k);
      handler_.OnStatus(status_);
      break;
    case kSingleStatus:
      if (length < kControlHeader + 4) return;
      status_[4] = ParseHex(control_.data() + 12);
      handler_.OnStatus(status_);
      break;
    case kDisconnectNotice: handler_.OnDisconnectNotice(); break;
    default: break;
  }
}

}  // namespace dvr::net
