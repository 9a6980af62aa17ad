#include "audio/audio_output.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "audio/g711.h"

namespace dvr::audio {

AudioOutput::AudioOutput(platform::Notices& notices, AudioDevice* device, platform::Clock& clock)
    : notices_(notices), sound_device_(device), null_device_(clock),
      m_pWavQ(new (std::nothrow) uint8_t[kRingSize]) {
  if (!m_pWavQ) notices_.Show("m_pWavQ Allocation Failed");
}

AudioOutput::~AudioOutput() {
  if (active_ != nullptr) {
    active_->Pause();
    active_->Close();
  }
}

void AudioOutput::Rewind() {
  write_offset_ = 0;
  written_ = 0;
  queued_ = 0;
  underrun_paused_ = false;
  resync_pending_ = true;
  if (m_pWavQ) std::memset(m_pWavQ.get(), 0, kRingSize);
}

int AudioOutput::Open(const WaveFormat* format) {
  Rewind();
  ring_size_ = kRingSize;
  if (format != nullptr) format_ = *format;
  if (active_ != nullptr) active_->Close();
  active_ = nullptr;
  // Without its ring the queue cannot play anything: it keeps no device.
  if (!m_pWavQ || format == nullptr) return 0;
  int result = 1;
  if (sound_device_ != nullptr && sound_device_->Open(format_)) {
    active_ = sound_device_;
  } else {
    if (sound_device_ != nullptr) {
      notices_.Show("Sound device open error !");
      result = 0;
    }
    null_device_.Open(format_);
    active_ = &null_device_;
  }
  sample_rate_ = static_cast<int>(format_.samples_per_second);
  bits_per_sample_ = format_.bits_per_sample;
  ApplyVolume();
  return result;
}

int AudioOutput::Start() {
  if (active_ == nullptr) return 1;
  // The device plays the ring again from its start, its position from 0: the byte count starts
  // over with it, or a second run would find the ring full for as long as the first one played.
  Rewind();
  if (!active_->PrepareLoop(m_pWavQ.get(), kRingSize)) {
    notices_.Show("Preapre Header Error !");
    return 0;
  }
  uint32_t ignored;
  ReadPosition(ignored);
  if (!active_->StartLoop()) {
    notices_.Show("Sound out fail !");
    return 0;
  }
  return 1;
}

bool AudioOutput::ReadPosition(uint32_t& position) {
  uint64_t bytes = 0;
  if (active_ == nullptr || !active_->Position(bytes)) return false;
  position = static_cast<uint32_t>(bytes);  // a byte time line that wraps like the device's
  if (format_.block_align != 1) position &= ~1u;
  return true;
}

bool AudioOutput::Room(uint32_t length) {
  uint32_t position;
  if (!ReadPosition(position)) return false;
  if (static_cast<int32_t>(written_ - position) >= 0) {
    queued_ = written_ - position;
  } else {
    queued_ = 0;  // the device has passed what was written
  }
  // Even with the device ahead, more than the ring less its margin would overwrite itself.
  return uint64_t{queued_} + length + kSafetyMargin <= static_cast<uint32_t>(ring_size_);
}

void AudioOutput::Advance(uint32_t length) {
  written_ += length;
  write_offset_ = static_cast<int>(written_ % kRingSize);
}

int AudioOutput::Write(const uint8_t* data, uint32_t length) {
  if (!m_pWavQ || !Room(length)) return 0;
  const uint32_t first = std::min<uint32_t>(length, static_cast<uint32_t>(kRingSize - write_offset_));
  std::memcpy(m_pWavQ.get() + write_offset_, data, first);
  if (length > first) std::memcpy(m_pWavQ.get(), data + first, length - first);
  Advance(length);
  return 1;
}

int AudioOutput::WriteALaw(const uint8_t* codes, uint32_t count) {
  if (!m_pWavQ || !Room(2 * count)) return 0;
  for (uint32_t i = 0; i < count; ++i) {
    // Byte by byte: after an odd-length write the sample straddles the ring's end.
    const auto sample = static_cast<uint16_t>(kALawTable[codes[i]]);
    m_pWavQ[static_cast<size_t>(write_offset_)] = static_cast<uint8_t>(sample);
    Advance(1);
    m_pWavQ[static_cast<size_t>(write_offset_)] = static_cast<uint8_t>(sample >> 8);
    Advance(1);
  }
  return 1;
}

void AudioOutput::Service() {
  uint32_t position;
  if (!ReadPosition(position)) return;
  if (static_cast<int32_t>(written_ - position) >= 0) {
    queued_ = written_ - position;
  } else {
    // The writer has fallen behind: what comes next goes where the device plays next.
    queued_ = 0;
    written_ = position;
    write_offset_ = static_cast<int>(written_ % kRingSize);
  }
  if (queued_ < kUnderrunThreshold) {
    if (underrun_paused_) return;
    if (!active_->Pause()) return;
    if (ReadPosition(position) && resync_pending_) {
      written_ = position;
      write_offset_ = static_cast<int>(written_ % kRingSize);
      resync_pending_ = false;
    }
    underrun_paused_ = true;
  } else if (underrun_paused_ && active_->Restart()) {
    underrun_paused_ = false;
  }
}

void AudioOutput::Silence() {
  if (active_ == nullptr || underrun_paused_) return;
  if (active_->Pause()) underrun_paused_ = true;
}

void AudioOutput::SetVolume(uint32_t level) {
  volume_ = (level & 0xFFFF) * 0x10001;
  if (!muted_) ApplyVolume();
}

void AudioOutput::SetMute(int muted) {
  muted_ = muted;
  ApplyVolume();
}

void AudioOutput::ApplyVolume() {
  if (active_ == nullptr) return;
  const uint32_t level = muted_ ? 0 : volume_.load();
  active_->SetVolume(static_cast<uint16_t>(level & 0xFFFF), static_cast<uint16_t>(level >> 16));
}

}  // namespace dvr::audio
