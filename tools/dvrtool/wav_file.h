#pragma once
// A standard RIFF WAVE file of PCM samples, written as the samples come. The sizes in its header
// are filled in by Finish; a file that is not finished is removed, never left with a broken header.
#include <cstdint>
#include <string>

#include "platform/file.h"

namespace dvrtool {

class WavFile {
 public:
  WavFile() = default;
  ~WavFile();

  bool Create(const std::string& path, int sample_rate, int bits_per_sample);
  bool Append(const uint8_t* samples, size_t bytes);
  // Writes the sizes; false (and no file) on failure.
  bool Finish();
  uint64_t DataBytes() const { return data_bytes_; }

 private:
  void Discard();

  dvr::platform::File file_;
  std::string path_;
  int sample_rate_ = 8000;
  int bits_per_sample_ = 16;
  uint64_t data_bytes_ = 0;
  bool ok_ = false;
};

}  // namespace dvrtool
