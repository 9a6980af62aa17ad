#pragma once
// Walks an NDF stream one frame at a time, forward or backward, from a recording file or a DVR
// disk; jumps to byte positions; copies raw block ranges out.
//
// Positions count bytes of the source, headers included. The reader has no thread and no lock:
// while playback runs, the playback thread is its only caller, and other threads only read
// Size and Position.
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "media/block_source.h"
#include "media/media_frame.h"
#include "media/ndf_format.h"
#include "media/ndf_time.h"
#include "platform/notices.h"

namespace dvr::media {

// The block-aligned span [first, end) of source bytes that ExportRange copies for [from, to];
// nothing when the range is empty, reaches past the source or covers more than 1 GiB.
struct ByteSpan {
  uint64_t first = 0;
  uint64_t end = 0;
};
std::optional<ByteSpan> ExportSpan(uint64_t from, uint64_t to, uint64_t size);

class RecordingReader {
 public:
  explicit RecordingReader(platform::Notices& notices);
  // Reads through `source`, which Open opens (a stand-in medium in tests).
  RecordingReader(platform::Notices& notices, std::unique_ptr<BlockSource> source);

  // Opens a recording (is_disk false) or a DVR disk or disk image (is_disk true). Closes any open
  // source first. A path that cannot be opened fails silently; a size that cannot be found shows
  // "Open Error".
  bool Open(const std::string& path, bool is_disk);
  void Close();
  bool IsOpen() const { return source_->IsOpen(); }
  bool IsDisk() const { return source_->IsDisk(); }
  const std::string& Path() const { return path_; }

  void SetVariant(int code);
  int Variant() const { return variant_; }

  uint64_t Size() const { return size_; }
  uint64_t Position() const { return position_.load(std::memory_order_relaxed); }
  // Moves only when offset < Size(). Always reports success.
  bool SetPosition(uint64_t offset);
  // Places the position at the end of the last whole block, where a backward walk over the whole
  // source begins.
  void SetPositionToEnd();

  // Payload length (> 0), or 0 when no frame could be delivered (a bad or short block, the end).
  // `out` must hold kFrameCapacity bytes.
  uint32_t NextFrame(std::span<uint8_t> out);
  uint32_t PreviousFrame(std::span<uint8_t> out);

  bool SetSeekTarget(uint64_t offset);
  // The first video frame whose start code lies after the start of the target's block, or 0.
  uint32_t FrameAtTarget(std::span<uint8_t> out);

  // The last loaded block's time, if the source is open and the time is a valid date.
  bool CurrentTime(FrameTime& out) const;

  // Copies the whole blocks covering [from, to] into a new file; a disk's byte pairs are exchanged
  // back, so the copy is an ordinary recording. At most 1 GiB. A range that cannot be read to its
  // end (or to the end of the source) fails and leaves no file.
  // `cancel` set meanwhile ends the copy as a failure.
  bool ExportRange(uint64_t from, uint64_t to, const std::string& path,
                   const std::atomic<bool>* cancel = nullptr);

  // The last delivered frame.
  bool IsAudio() const { return is_audio_; }
  uint32_t Channel() const { return channel_; }
  uint32_t Length() const { return length_; }
  // Source offset of the last delivered frame's start code.
  uint64_t FrameOffset() const { return frame_offset_; }
  // Fills everything but the payload and length of `frame` from the last delivered frame.
  void DescribeFrame(MediaFrame& frame) const;

  // The last loaded block.
  const FrameTime& BlockTime() const { return block_time_; }
  uint32_t BlockTimeField() const { return block_time_field_; }
  uint8_t Pacing() const { return pacing_; }
  uint16_t FormatWord() const { return format_word_; }
  // The last call failed on a block that could not be used, for a check byte that did not match
  // or a read error, rather than at an end. The next call goes on behind it.
  bool LastBlockBad() const { return last_block_bad_; }

 private:
  enum class Load { kOk, kShort, kBad };
  Load LoadBlock(uint64_t position, bool backward);
  uint32_t Fail();
  void ClearCollecting();
  // Gives up the call on a block that cannot be used; the walk resumes at `resume_at`.
  uint32_t SkipBlock(uint64_t resume_at);
  // Position of the stream byte `back` payload bytes before / `ahead` after `at`, skipping headers.
  static uint64_t StreamBack(uint64_t at, unsigned back);
  static uint64_t StreamAhead(uint64_t at, unsigned ahead);

  // A forward walk gathers the frame straight into the caller's buffer: a frame always begins and
  // ends within one call.
  void CollectForward(const uint8_t* data, size_t n, uint8_t* frame);
  void StartForwardFrame(uint64_t at, uint8_t type, uint8_t* frame);
  uint32_t CompleteForwardFrame(uint64_t at, uint8_t type, uint8_t* frame);
  void CollectBackward(const uint8_t* data, size_t n);
  uint32_t CompleteBackwardFrame(uint64_t at, uint8_t type, std::span<uint8_t> out);

  platform::Notices& notices_;
  std::unique_ptr<BlockSource> source_;
  std::string path_;
  int variant_ = 0;
  bool big_endian_ = false;
  int32_t bias_seconds_ = 0;  // zone's standard-time bias, read at Open
  uint64_t size_ = 0;
  std::atomic<uint64_t> position_{0};  // written by the walking thread, read by the window
  uint64_t seek_target_ = 0;

  const uint8_t* block_ = nullptr;  // the block loaded last
  FrameTime block_time_;
  uint32_t block_time_field_ = 0;
  uint8_t pacing_ = 0;
  uint16_t format_word_ = 0;
  bool last_block_bad_ = false;

  // The last four stream bytes seen, in walking order. Emptied when the direction turns, a seek
  // starts afresh or a block is skipped, so that only neighbouring bytes form a start code.
  uint32_t register_ = 0xFFFFFFFF;
  // Backward frames are gathered downward from its end.
  std::vector<uint8_t> backward_area_;
  bool collecting_ = false;
  uint32_t count_ = 0;
  uint64_t collect_start_ = 0;  // start code of the frame being gathered forward
  bool backward_ = false;

  bool is_audio_ = false;
  uint32_t channel_ = 0;
  uint32_t length_ = 0;
  uint64_t frame_offset_ = 0;
};

}  // namespace dvr::media
