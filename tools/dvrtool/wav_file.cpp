#include "wav_file.h"

#include <array>
#include <cstring>

namespace dvrtool {
namespace {

constexpr size_t kHeaderBytes = 44;
constexpr uint64_t kLargestData = 0xFFFFFFFFull - 36;  // the RIFF size field is 32 bits

std::array<uint8_t, kHeaderBytes> Header(int sample_rate, int bits, uint32_t data_bytes) {
  std::array<uint8_t, kHeaderBytes> h{};
  size_t at = 0;
  const auto text = [&](const char* s) {
    std::memcpy(h.data() + at, s, 4);
    at += 4;
  };
  const auto put = [&](uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) h[at++] = static_cast<uint8_t>(value >> (8 * i));
  };
  const int block_align = bits / 8;
  text("RIFF");
  put(36 + data_bytes, 4);
  text("WAVE");
  text("fmt ");
  put(16, 4);
  put(1, 2);  // PCM
  put(1, 2);  // mono
  put(static_cast<uint32_t>(sample_rate), 4);
  put(static_cast<uint32_t>(sample_rate * block_align), 4);
  put(static_cast<uint32_t>(block_align), 2);
  put(static_cast<uint32_t>(bits), 2);
  text("data");
  put(data_bytes, 4);
  return h;
}

}  // namespace

WavFile::~WavFile() {
  if (!path_.empty()) Discard();
}

bool WavFile::Create(const std::string& path, int sample_rate, int bits_per_sample) {
  bits_per_sample_ = bits_per_sample;
  data_bytes_ = 0;
  ok_ = file_.Create(path);
  if (!ok_) return false;
  path_ = path;
  const auto header = Header(sample_rate, bits_per_sample, 0);
  ok_ = file_.Write(header.data(), header.size());
  sample_rate_ = sample_rate;
  return ok_;
}

bool WavFile::Append(const uint8_t* samples, size_t bytes) {
  if (!ok_ || data_bytes_ + bytes > kLargestData) return ok_ = false;
  ok_ = file_.Write(samples, bytes);
  data_bytes_ += bytes;
  return ok_;
}

bool WavFile::Finish() {
  // 16-bit data must hold whole samples; a stray last byte is dropped.
  uint64_t usable = data_bytes_;
  if (bits_per_sample_ == 16) usable &= ~uint64_t{1};
  if (ok_) {
    const auto header = Header(sample_rate_, bits_per_sample_, static_cast<uint32_t>(usable));
    ok_ = file_.WriteAt(0, header.data(), header.size()) &&
          (usable == data_bytes_ || file_.Truncate(kHeaderBytes + usable));
    file_.Close();
  }
  if (!ok_) {
    Discard();
    return false;
  }
  data_bytes_ = usable;
  path_.clear();
  return true;
}

void WavFile::Discard() {
  file_.Close();
  dvr::platform::RemoveFile(path_);
  path_.clear();
}

}  // namespace dvrtool
