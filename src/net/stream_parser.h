#pragma once
// Cuts the byte stream a DVR sends after login into video frames, audio frames and control
// packets. Frames go to two queues (a full queue loses the frame); control packets go to a
// handler at once. Byte by byte with a 32-bit shift register, so that units split across reads
// or interrupted by control packets (whole ones, or ones the next unit's start code cuts short)
// come out whole; picture data between start codes is copied in bulk.
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/frame_queue.h"
#include "media/media_frame.h"
#include "media/prefix_search.h"

namespace dvr::net {

inline constexpr size_t kVideoBufferBytes = 131072;
inline constexpr size_t kAudioBufferBytes = 4096;
inline constexpr size_t kControlBufferBytes = 1024;

// What the DVR tells the client in the stream.
class ControlHandler {
 public:
  virtual ~ControlHandler() = default;
  // A status report (code 8: all five values) or a single status value (code 7: the fifth).
  virtual void OnStatus(const std::array<uint16_t, 5>& values) = 0;
  virtual void OnDisconnectNotice() = 0;
};

// The fixed time network frames carry.
media::FrameTime NetworkFrameTime();

// What the parser has handed over and lost to full queues; readable from any thread.
struct StreamTraffic {
  std::atomic<uint64_t> video_frames{0};
  std::atomic<uint64_t> audio_frames{0};
  std::atomic<uint64_t> video_lost{0};
  std::atomic<uint64_t> audio_lost{0};
};

class StreamParser {
 public:
  StreamParser(engine::FrameQueue& video, engine::FrameQueue& audio, ControlHandler& handler);

  void Parse(const uint8_t* bytes, size_t count);

  const std::array<uint16_t, 5>& StatusValues() const { return status_; }
  const StreamTraffic& Traffic() const { return traffic_; }

 private:
  enum State { kHunting = 0, kVideo = 1, kAudio = 2, kControl = 3 };
  // One byte through the shift register and the state.
  void Step(uint8_t b);
  void StartCode(uint8_t type);
  // Takes the last `bytes` received out of the unit being gathered: they were a start code's.
  void TakeOut(uint32_t bytes);
  // Back to the unit a control packet interrupted, without the packet's start code.
  void ResumeUnit();
  void EndAudioFrame(uint32_t start_code_bytes);
  void Hand(engine::FrameQueue& queue, const media::MediaFrame& frame, std::atomic<uint64_t>& handed,
            std::atomic<uint64_t>& lost);
  void HandleControl();

  engine::FrameQueue& video_queue_;
  engine::FrameQueue& audio_queue_;
  ControlHandler& handler_;
  media::PrefixSearch find_prefix_;

  uint32_t register_ = 0xFFFFFFFF;
  State state_ = kHunting;
  State previous_ = kHunting;  // the unit a control packet interrupted
  media::MediaFrame video_;   // payload: the frame being gathered, from its start code
  media::MediaFrame audio_;   // payload: the samples being gathered
  uint32_t audio_received_ = 0;  // bytes since the audio start code, skipped ones included
  // Of the last bytes received, how many (up to 4) went into the unit being gathered: a start
  // code may begin inside a control packet that its first bytes complete.
  uint32_t unit_tail_ = 0;
  uint32_t packet_start_in_unit_ = 0;  // bytes of the control packet's start code in that unit
  std::array<uint8_t, kControlBufferBytes> control_{};
  uint32_t control_length_ = 4;   // bytes of the packet so far (stored up to the buffer's size)
  uint16_t declared_length_ = 0;
  std::array<uint16_t, 5> status_{};
  StreamTraffic traffic_;
};

}  // namespace dvr::net
