#pragma once
// Records a DVR's live stream on this computer as an NDF file the recording reader plays. Frames
// arrive in the network layout (byte 4 bit 7 a flag, bytes 5..6 a big-endian frame counter) and
// are stored in the layout of the configured variant: blocks of 4096 bytes with an 8-byte header,
// or under variant 0 the legacy layout of separate video and audio records.
//
// Every operation takes one lock, so that the window thread opening or closing a file never meets
// a write of the live thread halfway.
#include <array>
#include <cstdint>
#include <ctime>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "media/ndf_packer.h"
#include "platform/file.h"

namespace dvr::media {

// The name a new local recording gets: the local time as "%Y%m%d-%H%M%S" and ".NDF".
std::string RecordingFileName(std::time_t now);

class RecordingWriter {
 public:
  using TimeSource = std::function<std::time_t()>;

  RecordingWriter();

  // The layout to write (variant code 0..6) and the split count (16 masks the channel fields).
  void Init(int variant, int split_count);
  // Where the block and record headers take their time from (the system clock by default).
  void SetTimeSource(TimeSource now);

  // Creates (or truncates) the file. False when a file is already open or it cannot be created.
  bool Open(const std::string& path);
  // Pads the last block with zeros (not under variant 0, which drops unfinished records) and
  // closes the file.
  void Close();
  bool IsOpen() const;
  // The file being written ("" when none).
  std::string Path() const;
  // Goes on with the open recording in a new file at `path`, which must not exist yet. The move
  // happens inside the next write of a full picture (a flagged frame), so that every frame lands
  // in exactly one file and each file opens with a picture that decodes by itself; until then
  // frames go to the current file. If `path` cannot be created then, the current file goes on.
  // False when no recording is open or the layout is the legacy one (variant 0), whose records
  // do not end with frames.
  bool ContinueIn(const std::string& path);

  // Records a video frame from its start code; the frame is modified in place. False when it was
  // dropped: no file, not started yet (nothing is kept before the first flagged frame) or too
  // short to carry a frame header.
  bool WriteVideo(uint8_t* frame, size_t length);
  // Records audio samples. False when dropped.
  bool WriteAudio(const uint8_t* samples, size_t length);

  // Bytes written since Open (staged legacy bytes not included).
  uint64_t Total() const;
  uint8_t Pacing() const;

 private:
  // Legacy layout: bytes are staged per kind and leave in records of 4088.
  struct Staging {
    std::vector<uint8_t> bytes;
    size_t fill = 0;
  };
  // False when the unit would overflow the staging buffer and is lost.
  // Ends the file being written: the end code after the last frame, the last block padded.
  void FinishFile();
  // Moves to next_path_ when it can be created.
  void SwitchToNextFile();
  bool Stage(Staging& staging, const uint8_t* data, size_t length, bool audio);
  void WriteLegacyRecord(const uint8_t* payload, bool audio);
  uint32_t BlockTime() const;
  // The block layout for the variant.
  void MakePacker();
  void UpdatePacing(uint16_t counter);

  mutable std::mutex mutex_;
  int variant_ = 2;
  int split_count_ = 16;
  TimeSource now_;
  platform::File file_;
  std::string path_;       // of file_
  std::string next_path_;  // where the recording goes on at the next full picture
  std::optional<NdfPacker> packer_;  // the block layout (variants 1..6); remade by Init
  bool started_ = false;
  uint64_t legacy_total_ = 0;
  uint16_t previous_counter_ = 0;
  uint16_t counter_ = 0;
  uint8_t pacing_ = 1;
  Staging video_staging_;
  Staging audio_staging_;
  std::array<uint8_t, 4096> record_{};
};

}  // namespace dvr::media
