#pragma once
// Plays converted samples through one 8192-byte ring that the device loops over for ever. Writes
// go just ahead of the device's play position; when fewer than 1024 bytes are queued the device
// is paused, so that stale ring content is not played, and restarted once enough is queued.
//
// The engine's worker opens, starts, writes and services it; the window thread only sets volume
// and mute. Without a sound device it plays on a null device that keeps time, so that playback's
// pace never depends on a sound card.
#include <atomic>
#include <cstdint>
#include <memory>

#include "audio/audio_device.h"
#include "audio/audio_format.h"
#include "audio/null_audio_device.h"
#include "platform/clock.h"
#include "platform/notices.h"

namespace dvr::audio {

inline constexpr int kRingSize = 8192;
inline constexpr uint32_t kSafetyMargin = 1024;
inline constexpr uint32_t kUnderrunThreshold = 1024;

class AudioOutput {
 public:
  // `device` is the sound system's output, or nullptr to play silently on the null device (the
  // tools do).
  AudioOutput(platform::Notices& notices, AudioDevice* device, platform::Clock& clock);
  ~AudioOutput();
  AudioOutput(const AudioOutput&) = delete;
  AudioOutput& operator=(const AudioOutput&) = delete;

  // Empties the ring and (re)opens the device with `format`. When the sound device cannot be
  // opened: "Sound device open error !", 0, and the queue plays on the null device.
  int Open(const WaveFormat* format);
  // Hands the silent ring to the device, looping from its start, and counts bytes from 0 again.
  // 1 also when no device is open.
  int Start();
  // Queues bytes in the device's format: 1 when queued, 0 when there is no room (or no position).
  int Write(const uint8_t* data, uint32_t length);
  // Queues A-law codes expanded to 16-bit samples (2 x count bytes).
  int WriteALaw(const uint8_t* codes, uint32_t count);
  // Pauses the device on an underrun and restarts it once enough is queued again.
  void Service();
  // Pauses the device when nobody will write or service it any more (a loop ends), so that it
  // does not repeat the ring. The next Start plays again.
  void Silence();

  void SetVolume(uint32_t level);
  uint32_t Volume() const { return volume_ & 0xFFFF; }
  void SetMute(int muted);
  int Muted() const { return muted_; }

  // The device in use (the sound system's, the null one, or none before Open).
  const AudioDevice* ActiveDevice() const { return active_; }
  uint32_t written() const { return written_; }
  int write_offset() const { return write_offset_; }
  bool underrun_paused() const { return underrun_paused_; }

 private:
  // The empty ring and its counts, as the device's position starts from 0.
  void Rewind();
  bool ReadPosition(uint32_t& position);
  bool Room(uint32_t length);
  void Advance(uint32_t length);
  void ApplyVolume();

  platform::Notices& notices_;
  AudioDevice* sound_device_;
  NullAudioDevice null_device_;
  AudioDevice* active_ = nullptr;  // worker thread; the window thread reads it for the volume

  int sample_rate_ = 0;
  int bits_per_sample_ = 0;
  WaveFormat format_;
  std::unique_ptr<uint8_t[]> m_pWavQ;  // the ring
  int write_offset_ = 0;
  uint32_t written_ = 0;  // bytes since Open, on the device's byte time line
  std::atomic<uint32_t> volume_{0};
  std::atomic<int> muted_{0};
  bool underrun_paused_ = false;
  uint32_t queued_ = 0;
  int ring_size_ = kRingSize;
  bool resync_pending_ = true;
};

}  // namespace dvr::audio
