#include "media/recording_writer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

#include "media/ndf_format.h"
#include "media/variant.h"
#include "platform/local_time.h"

namespace dvr::media {
namespace {

constexpr size_t kVideoStagingBytes = 131072;
constexpr size_t kAudioStagingBytes = 32768;
constexpr uint8_t kNetworkFlag = 0x80;
constexpr uint8_t kAudioStartCode[4] = {0x00, 0x00, 0x01, kAudioStartFirst};
constexpr size_t kFrameHeaderBytes = 7;  // start code, flag byte, frame counter
// A frame ends where the next start code begins: this one closes the last frame of a recording.
constexpr uint8_t kEndCode[4] = {0x00, 0x00, 0x01, kVideoStart};

// Variants whose block headers carry the time and format word 1; under 1..3 both stay zero.
bool StampsBlockTime(int variant) { return variant >= 4; }
// Variants that store the network flag as an F9 start code, the flag byte shifted left.
bool MovesNetworkFlag(int variant) { return variant != 0 && variant != 2; }

}  // namespace

std::string RecordingFileName(std::time_t now) {
  platform::CalendarTime t;
  if (!platform::LocalTime(now, t)) t = {1970, 1, 1, 0, 0, 0, 4};
  char name[32];
  std::snprintf(name, sizeof name, "%04d%02d%02d-%02d%02d%02d.NDF", t.year, t.month, t.day, t.hour, t.minute,
                t.second);
  return name;
}

RecordingWriter::RecordingWriter() : now_([] { return std::time(nullptr); }) {
  video_staging_.bytes.resize(kVideoStagingBytes);
  audio_staging_.bytes.resize(kAudioStagingBytes);
  MakePacker();
}

void RecordingWriter::Init(int variant, int split_count) {
  std::lock_guard lock(mutex_);
  variant_ = variant;
  split_count_ = split_count;
  MakePacker();
}

void RecordingWriter::MakePacker() {
  // Straight through to the file: the live thread writes as frames come, and a crash loses
  // nothing already received.
  packer_.emplace(file_, variant_ == kBigEndianVariant, StampsBlockTime(variant_) ? 1 : 0, 0);
}

void RecordingWriter::SetTimeSource(TimeSource now) {
  std::lock_guard lock(mutex_);
  now_ = std::move(now);
}

bool RecordingWriter::Open(const std::string& path) {
  std::lock_guard lock(mutex_);
  if (file_.IsOpen()) return false;
  packer_->Reset();
  legacy_total_ = 0;
  started_ = false;
  video_staging_.fill = 0;
  audio_staging_.fill = 0;
  next_path_.clear();
  if (!file_.Create(path)) return false;
  path_ = path;
  return true;
}

void RecordingWriter::Close() {
  std::lock_guard lock(mutex_);
  if (!file_.IsOpen()) return;
  FinishFile();
  path_.clear();
  next_path_.clear();
}

void RecordingWriter::FinishFile() {
  if (variant_ != 0) {
    if (started_) packer_->Append(kEndCode, sizeof kEndCode, BlockTime(), pacing_);
    packer_->Finish();
  }
  file_.Close();
}

std::string RecordingWriter::Path() const {
  std::lock_guard lock(mutex_);
  return path_;
}

bool RecordingWriter::ContinueIn(const std::string& path) {
  std::lock_guard lock(mutex_);
  if (!file_.IsOpen() || variant_ == 0) return false;
  next_path_ = path;
  return true;
}

void RecordingWriter::SwitchToNextFile() {
  platform::File next;
  const std::string path = std::exchange(next_path_, {});
  if (!next.CreateNew(path)) return;  // the name is taken or the folder refuses: this file goes on
  FinishFile();
  file_ = std::move(next);
  packer_->Reset();
  path_ = path;
}

bool RecordingWriter::IsOpen() const {
  std::lock_guard lock(mutex_);
  return file_.IsOpen();
}

uint64_t RecordingWriter::Total() const {
  std::lock_guard lock(mutex_);
  return variant_ == 0 ? legacy_total_ : packer_->Total();
}

uint8_t RecordingWriter::Pacing() const {
  std::lock_guard lock(mutex_);
  return pacing_;
}

void RecordingWriter::UpdatePacing(uint16_t counter) {
  previous_counter_ = counter_;
  counter_ = counter;
  const uint16_t step = static_cast<uint16_t>(counter_ - previous_counter_);
  pacing_ = static_cast<uint8_t>(step >= 2 ? step : 1);  // the header keeps the low seven bits
}

uint32_t RecordingWriter::BlockTime() const {
  return StampsBlockTime(variant_) ? static_cast<uint32_t>(now_()) : 0;
}

bool RecordingWriter::WriteVideo(uint8_t* frame, size_t length) {
  std::lock_guard lock(mutex_);
  if (!file_.IsOpen() || length < kFrameHeaderBytes) return false;
  const bool flagged = (frame[4] & kNetworkFlag) != 0;
  if (flagged && !next_path_.empty()) SwitchToNextFile();
  if (flagged) started_ = true;
  UpdatePacing(static_cast<uint16_t>(frame[5] << 8 | frame[6]));
  if (MovesNetworkFlag(variant_)) {
    if (flagged) frame[3] = kVideoStartFlagged;
    frame[4] = static_cast<uint8_t>(frame[4] << 1);
  }
  if (split_count_ == 16) {
    frame[4] &= 0xF0;
    frame[5] &= 0x07;
  }
  if (!started_) return false;
  if (variant_ == 0) return Stage(video_staging_, frame, length, false);
  packer_->Append(frame, length, BlockTime(), pacing_);
  return true;
}

bool RecordingWriter::WriteAudio(const uint8_t* samples, size_t length) {
  std::lock_guard lock(mutex_);
  if (!file_.IsOpen() || !started_) return false;
  if (variant_ == 0) return Stage(audio_staging_, samples, length, true);
  // The reader drops the two bytes after an audio start code, so the first two samples stand in
  // for the header a DVR writes there.
  const uint32_t time = BlockTime();
  packer_->Append(kAudioStartCode, sizeof kAudioStartCode, time, pacing_);
  packer_->Append(samples, length, time, pacing_);
  return true;
}

bool RecordingWriter::Stage(Staging& staging, const uint8_t* data, size_t length, bool audio) {
  if (length > staging.bytes.size() - staging.fill) return false;  // would overflow: the unit is lost
  std::memcpy(staging.bytes.data() + staging.fill, data, length);
  staging.fill += length;
  size_t used = 0;
  while (staging.fill - used >= kPayloadSize) {
    WriteLegacyRecord(staging.bytes.data() + used, audio);
    used += kPayloadSize;
  }
  if (used == 0) return true;
  std::memmove(staging.bytes.data(), staging.bytes.data() + used, staging.fill - used);
  staging.fill -= used;
  return true;
}

void RecordingWriter::WriteLegacyRecord(const uint8_t* payload, bool audio) {
  platform::CalendarTime local;
  if (platform::LocalTime(now_(), local)) {
    record_[0] = static_cast<uint8_t>(local.year + 48);  // years since 2000 for 2000..2255
    record_[1] = static_cast<uint8_t>(local.month);
    record_[2] = static_cast<uint8_t>(local.day);
    record_[3] = static_cast<uint8_t>(local.hour);
    record_[4] = static_cast<uint8_t>(local.minute);
    record_[5] = static_cast<uint8_t>(local.second);
  } else {
    record_[0] = 48;
    record_[1] = record_[2] = 0;
    record_[3] = record_[4] = record_[5] = 0xFF;
  }
  if (audio) record_[1] |= 0x80;
  record_[6] = pacing_ & 0x7F;
  record_[7] = 1;
  std::memcpy(record_.data() + kHeaderSize, payload, kPayloadSize);
  file_.Write(record_.data(), record_.size());
  legacy_total_ += record_.size();
}

}  // namespace dvr::media
