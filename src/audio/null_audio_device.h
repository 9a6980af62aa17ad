#pragma once
// A sound device without sound: its position advances with the clock at the format's byte rate
// while it plays. Playback keeps its pace on machines without a sound card.
#include "audio/audio_device.h"
#include "platform/clock.h"

namespace dvr::audio {

class NullAudioDevice final : public AudioDevice {
 public:
  explicit NullAudioDevice(platform::Clock& clock) : clock_(clock) {}

  bool Open(const WaveFormat& format) override;
  bool IsOpen() const override { return open_; }
  bool PrepareLoop(const uint8_t*, size_t) override { return open_; }
  bool StartLoop() override;
  bool Position(uint64_t& bytes) override;
  bool Pause() override;
  bool Restart() override;
  bool SetVolume(uint16_t, uint16_t) override { return open_; }
  void Close() override { open_ = playing_ = false; }

 private:
  uint64_t Played() const;

  platform::Clock& clock_;
  bool open_ = false;
  bool playing_ = false;
  uint32_t bytes_per_second_ = 0;
  uint64_t played_before_ = 0;  // bytes played before the current run
  uint32_t run_start_ = 0;      // tick when the current run began
};

}  // namespace dvr::audio
