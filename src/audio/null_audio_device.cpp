#include "audio/null_audio_device.h"

namespace dvr::audio {

bool NullAudioDevice::Open(const WaveFormat& format) {
  open_ = true;
  playing_ = false;
  bytes_per_second_ = format.average_bytes_per_second;
  played_before_ = 0;
  return true;
}

uint64_t NullAudioDevice::Played() const {
  if (!playing_) return played_before_;
  const uint32_t elapsed = clock_.Tick() - run_start_;
  return played_before_ + uint64_t{elapsed} * bytes_per_second_ / 1000;
}

bool NullAudioDevice::StartLoop() {
  if (!open_) return false;
  played_before_ = 0;
  run_start_ = clock_.Tick();
  playing_ = true;
  return true;
}

bool NullAudioDevice::Position(uint64_t& bytes) {
  if (!open_) return false;
  bytes = Played();
  return true;
}

bool NullAudioDevice::Pause() {
  if (!open_) return false;
  played_before_ = Played();
  playing_ = false;
  return true;
}

bool NullAudioDevice::Restart() {
  if (!open_) return false;
  if (!playing_) {
    run_start_ = clock_.Tick();
    playing_ = true;
  }
  return true;
}

}  // namespace dvr::audio
