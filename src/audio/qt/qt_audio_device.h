#pragma once
// The sound system's output through Qt Multimedia: a QAudioSink pulling from the ring at the
// device's own position, so that the position the queue reads is what has really been handed to
// the sound system. The sink lives on a thread of its own with an event loop, so that any thread
// may call the device. When the sound server goes away the sink is made again and carries on
// where it was.
#include <memory>

#include "audio/audio_device.h"

namespace dvr::audio {

class QtAudioDevice final : public AudioDevice {
 public:
  QtAudioDevice();
  ~QtAudioDevice() override;

  bool Open(const WaveFormat& format) override;
  bool IsOpen() const override;
  bool PrepareLoop(const uint8_t* ring, size_t size) override;
  bool StartLoop() override;
  bool Position(uint64_t& bytes) override;
  bool Pause() override;
  bool Restart() override;
  bool SetVolume(uint16_t left, uint16_t right) override;
  void Close() override;

 private:
  class Host;
  std::unique_ptr<Host> host_;
};

}  // namespace dvr::audio
