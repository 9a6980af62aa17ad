#pragma once
// What the output queue needs of the platform's waveform output: one looping ring buffer handed
// over once, then a play position counted in bytes. Devices: the sound system (Qt) and a null
// device that keeps time without a sound card.
#include <cstddef>
#include <cstdint>

#include "audio/audio_format.h"

namespace dvr::audio {

class AudioDevice {
 public:
  virtual ~AudioDevice() = default;

  virtual bool Open(const WaveFormat& format) = 0;
  virtual bool IsOpen() const = 0;
  // Makes `ring` (size bytes, owned by the caller and kept alive) the device's looping buffer.
  virtual bool PrepareLoop(const uint8_t* ring, size_t size) = 0;
  // Starts playing the ring from its start, for ever.
  virtual bool StartLoop() = 0;
  // Bytes played (handed to the sound system) since StartLoop; the ring offset being played is
  // this modulo the ring size.
  virtual bool Position(uint64_t& bytes) = 0;
  virtual bool Pause() = 0;
  virtual bool Restart() = 0;
  // 0 .. 0xFFFF per side.
  virtual bool SetVolume(uint16_t left, uint16_t right) = 0;
  virtual void Close() = 0;
};

}  // namespace dvr::audio
