// The playback loop: walks the recording, decodes and shows pictures at the recorded pace scaled
// by the speed, plays the audio at normal forward speed, and obeys the window's commands.
#include <cmath>
#include <cstring>

#include "engine/viewer_engine.h"
#include "media/variant.h"

namespace dvr::engine {
namespace {

constexpr int kFastSpeed = 16;        // from here on: no waiting, skipping instead
constexpr int kPicturesPerJump = 9;   // pictures attempted between two fast-play jumps
constexpr uint64_t kJumpUnit = 20480;  // bytes jumped per unit of speed
constexpr int kRetryLimit = 4;        // consecutive failed reads tolerated
constexpr int kStrayFrames = 3;       // frames out of time order passed over before a stop time
constexpr uint32_t kIdleWaitMs = 10;  // a pass with nothing to do waits this long for a command
constexpr uint32_t kAudioRetryMs = 5;
constexpr uint32_t kAudioPiece = 4096;  // the ring takes at most 7168 bytes at once

// The wait per picture the recorder's pacing count stands for.
int FrameIntervalFor(uint32_t height, int variant) {
  const bool slow = variant == 0 || variant == 2;
  if (height == 224) return slow ? 33333 : 16666;
  return slow ? 25000 : 12500;
}

// Copies the left or right half of a two-channel picture.
void CopyHalf(const uint8_t* picture, uint32_t width, uint32_t height, bool right, uint8_t* half) {
  const uint32_t half_width = width / 2;
  const uint8_t* luma = picture;
  for (uint32_t y = 0; y < height; ++y, half += half_width) {
    std::memcpy(half, luma + y * width + (right ? half_width : 0), half_width);
  }
  for (int plane = 0; plane < 2; ++plane) {
    const uint8_t* chroma = picture + width * height + plane * (width / 2) * (height / 2);
    for (uint32_t y = 0; y < height / 2; ++y, half += half_width / 2) {
      std::memcpy(half, chroma + y * (width / 2) + (right ? half_width / 2 : 0), half_width / 2);
    }
  }
}

}  // namespace

void ViewerEngine::PlaybackLoop() {
  audio_output_.Start();
  tick_stamp_ = 0;
  retries_ = 0;
  frames_since_skip_ = 0;
  while (IsRunning()) {
    const int event = platform::WaitAny({&StopEvent(), &command_event_}, 0);
    if (event == 0) break;
    if (event == 1) {
      // Reset before the command is read: one given meanwhile sets the event again.
      command_event_.Reset();
      const uint64_t word = command_word_;
      const auto number = static_cast<uint32_t>(word >> 32);
      if (number == taken_command_) continue;  // taken already, before the event was set again
      const auto command = static_cast<int>(static_cast<uint32_t>(word));
      state_ = StateForCommand(command, state_);
      if (command == kCommandSeek || command == kCommandSeekTime) seek_by_time_ = command == kCommandSeekTime;
      frames_past_stop_ = 0;
      taken_command_ = number;
      continue;
    }
    audio_output_.Service();
    if (!reader_.IsOpen() || state_ == kPaused) {
      // Nothing to do until a command comes: wait for one instead of spinning.
      clock_.SleepUnless(kIdleWaitMs, {&StopEvent(), &command_event_});
      continue;
    }
    if (tick_stamp_ == 0) tick_stamp_ = clock_.Tick();
    Pass pass = Pass::kBookkeeping;
    switch (state_) {
      case kForward: pass = PlayForwardPass(); break;
      case kBackward: pass = PlayBackwardPass(); break;
      case kStepForward: pass = StepPass(true); break;
      case kStepBackward: pass = StepPass(false); break;
      case kSeeking: pass = SeekPass(); break;
      default: break;
    }
    position_ = reader_.Position();
    if (pass == Pass::kBookkeeping) Bookkeeping();
  }
  audio_output_.Silence();
  {
    std::lock_guard lock(time_mutex_);
    current_time_ = {};
  }
  state_ = kStopped;
  // Commands not taken are dropped with the worker; none is left pending.
  command_event_.Reset();
  taken_command_ = static_cast<uint32_t>(command_word_.load() >> 32);
  clock_.Sleep(100);
}

ViewerEngine::Pass ViewerEngine::PlayForwardPass() {
  const double speed = speed_;
  if (speed >= kFastSpeed && frames_since_skip_ >= kPicturesPerJump) {
    reader_.SetPosition(reader_.Position() + static_cast<uint64_t>(std::trunc(speed)) * kJumpUnit);
    frames_since_skip_ = 0;
    std::lock_guard lock(counters_mutex_);
    ++counters_.jumps;
  }
  const uint64_t frame_start = reader_.Position();
  frame_.length = reader_.NextFrame(frame_.payload);
  if (frame_.length == 0) {
    if (++retries_ > kRetryLimit) {
      state_ = kPaused;
      retries_ = 0;
    } else if (repeat_ && stop_time_ == kNoStopTime && reader_.Position() + media::kBlockSize > reader_.Size()) {
      reader_.SetPosition(0);  // (play to a stop time ends at the end instead)
    }
    return Pass::kBookkeeping;
  }
  retries_ = 0;
  reader_.DescribeFrame(frame_);
  if (reader_.BlockTimeField() > stop_time_) {
    // Past the stop time: not shown. A few stray blocks with later times are passed over; more
    // in a row end the play, back where the first of them began, so that play goes on there.
    if (frames_past_stop_++ == 0) resume_at_ = frame_start;
    if (frames_past_stop_ <= kStrayFrames) return Pass::kNext;
    reader_.SetPosition(resume_at_);
    frames_past_stop_ = 0;
    state_ = kPaused;
    return Pass::kBookkeeping;
  }
  frames_past_stop_ = 0;
  if (frame_.is_audio) return Output();
  decoder_.ParseHeader(frame_.payload.data(), frame_.length);
  return ParsedFrameIsShown() ? Output() : Pass::kBookkeeping;
}

ViewerEngine::Pass ViewerEngine::PlayBackwardPass() {
  const double speed = speed_;
  if (speed >= kFastSpeed && frames_since_skip_ >= kPicturesPerJump) {
    const uint64_t jump = static_cast<uint64_t>(std::trunc(speed)) * kJumpUnit;
    if (reader_.Position() > jump) {
      reader_.SetPosition(reader_.Position() - jump);
      std::lock_guard lock(counters_mutex_);
      ++counters_.jumps;
    }
    frames_since_skip_ = 0;
  }
  frame_.length = reader_.PreviousFrame(frame_.payload);
  if (frame_.length == 0) {
    if (++retries_ > kRetryLimit) {
      state_ = kPaused;
      retries_ = 0;
    }
    return Pass::kNext;
  }
  retries_ = 0;
  reader_.DescribeFrame(frame_);
  if (frame_.is_audio) return Pass::kBookkeeping;  // audio is not played backward
  decoder_.ParseHeader(frame_.payload.data(), frame_.length);
  return ParsedFrameIsShown() ? Output() : Pass::kBookkeeping;
}

ViewerEngine::Pass ViewerEngine::StepPass(bool forward) {
  frame_.length = forward ? reader_.NextFrame(frame_.payload) : reader_.PreviousFrame(frame_.payload);
  if (frame_.length == 0) {
    state_ = kPaused;
    return Pass::kBookkeeping;
  }
  reader_.DescribeFrame(frame_);
  if (frame_.is_audio) return Pass::kBookkeeping;  // the step goes on to the next picture
  if (!forward) {
    elapsed_ = clock_.Tick() - tick_stamp_;
    tick_stamp_ = clock_.Tick();
  }
  decoder_.ParseHeader(frame_.payload.data(), frame_.length);
  if (!ParsedFrameIsShown()) return Pass::kBookkeeping;
  state_ = kPaused;
  return Output();
}

std::optional<uint64_t> ViewerEngine::PositionAtTime(uint32_t time) {
  const auto map = GetTimeMap();
  if (!map || !time_source_.IsOpen()) return std::nullopt;
  const bool big_endian = reader_.Variant() == media::kBigEndianVariant;
  const auto block = media::GoToTime(time_source_, big_endian, *map, time);
  if (!block) return std::nullopt;
  return *block * media::kBlockSize;
}

ViewerEngine::Pass ViewerEngine::SeekPass() {
  // A seek by time carries on as the player was; one by position pauses.
  const int next_state = seek_by_time_ ? seek_resume_state_.load() : kPaused;
  if (seek_by_time_) {
    const auto position = PositionAtTime(seek_time_);
    if (!position) {
      state_ = next_state;  // nothing recorded there: carry on where the player was
      return Pass::kBookkeeping;
    }
    seek_target_ = *position;
  }
  reader_.SetSeekTarget(seek_target_);
  frame_.length = reader_.FrameAtTarget(frame_.payload);
  state_ = next_state;
  if (frame_.length == 0) return Pass::kBookkeeping;
  reader_.DescribeFrame(frame_);
  decoder_.ParseHeader(frame_.payload.data(), frame_.length);
  return Output();
}

bool ViewerEngine::ParsedFrameIsShown() { return !(decoder_.dual() && decoder_.a_absent() && decoder_.b_absent()); }

ViewerEngine::Pass ViewerEngine::Output() {
  const media::FrameTime time = reader_.BlockTime();
  {
    std::lock_guard lock(time_mutex_);
    current_time_ = time;
  }
  if (frame_.is_audio && speed_ == 1.0 && state_ == kForward) {
    PlayAudioFrame();
    // Under variant 6 only the first audio channel goes into the export.
    if (export_active_ && (variant_ != 6 || frame_.channel == 0)) avi_writer_.WriteAudio(frame_.payload.data(), frame_.length);
    return Pass::kNext;  // no bookkeeping, no pacing
  }
  ++frames_since_skip_;
  if (!frame_.is_audio) ShowVideoFrame(time);
  return Pass::kBookkeeping;
}

void ViewerEngine::PlayAudioFrame() {
  uint32_t length = 0;
  converter_.Convert(frame_.payload.data(), frame_.length, pcm_.data(), &length);
  // Retried until the device has room, in pieces it can take; a stop or a command ends the wait.
  for (uint32_t done = 0; done < length;) {
    const uint32_t piece = std::min(length - done, kAudioPiece);
    while (!audio_output_.Write(pcm_.data() + done, piece)) {
      if (speed_ != 1.0 || state_ != kForward || StopEvent().IsSet() || command_event_.IsSet()) return;
      clock_.SleepUnless(kAudioRetryMs, {&StopEvent(), &command_event_});
      audio_output_.Service();
    }
    done += piece;
    tick_stamp_ -= 5;  // each accepted piece shortens the wait after the next picture
    std::lock_guard lock(counters_mutex_);
    counters_.audio_bytes += piece;
  }
}

bool ViewerEngine::ShowVideoFrame(const media::FrameTime& time) {
  // ParseHeader has run on this frame; the channel's own picture takes the decode.
  const uint8_t* picture = pictures_.Decode(decoder_, frame_.payload.data(), frame_.length);
  if (picture == nullptr) {
    std::lock_guard lock(counters_mutex_);
    ++counters_.not_shown;
    return false;
  }
  const uint32_t width = decoder_.PictureWidth(), height = decoder_.PictureHeight();
  frame_interval_ = FrameIntervalFor(height, decoder_.variant());
  picture_width_ = static_cast<int>(width);
  picture_height_ = static_cast<int>(height);
  pacing_ = reader_.Pacing();
  const auto count = [this, &time](int slot, bool shown) {
    if (!shown) return;
    // Only a slot on screen is composed into the export.
    const bool exported = export_active_ && display_.SlotOnScreen(slot);
    std::lock_guard lock(counters_mutex_);
    ++counters_.shown[static_cast<size_t>(slot) & 15];
    if (counters_.first_shown.year == 0) counters_.first_shown = time;
    counters_.last_shown = time;
    if (exported) {
      if (counters_.first_exported.year == 0) counters_.first_exported = time;
      counters_.last_exported = time;
      counters_.exported_channels |= static_cast<uint16_t>(1u << (slot & 15));
    }
  };
  if (decoder_.dual()) {
    const auto half_width = static_cast<int>(width / 2);
    if (!decoder_.a_absent()) {
      CopyHalf(picture, width, height, false, half_left_.data());
      count(decoder_.channel_a(), display_.ShowPicture(decoder_.channel_a(), time, half_left_.data(), half_width,
                                                       static_cast<int>(height)));
    }
    if (!decoder_.b_absent()) {
      CopyHalf(picture, width, height, true, half_right_.data());
      count(decoder_.channel_b(), display_.ShowPicture(decoder_.channel_b(), time, half_right_.data(), half_width,
                                                       static_cast<int>(height)));
    }
    return true;
  }
  count(decoder_.Channel(),
        display_.ShowPicture(decoder_.Channel(), time, picture, static_cast<int>(width), static_cast<int>(height)));
  return true;
}

void ViewerEngine::Bookkeeping() {
  elapsed_ = clock_.Tick() - tick_stamp_;
  if (state_ == kForward || state_ == kBackward) Pace();
  tick_stamp_ = 0;
}

void ViewerEngine::Pace() {
  const double speed = speed_;
  if (speed >= kFastSpeed) return;
  const auto wait_ms = static_cast<uint32_t>(
      static_cast<int64_t>((reader_.Pacing() + 1) * static_cast<double>(frame_interval_) / speed) / 1000);
  if (wait_ms > elapsed_) clock_.SleepUnless(wait_ms - elapsed_, {&StopEvent(), &command_event_});
}

}  // namespace dvr::engine
