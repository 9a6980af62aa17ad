#pragma once
// Most-significant-first bit writer, the encoder's counterpart of BitReader.
#include <cstdint>
#include <vector>

namespace dvr::codec {

class BitWriter {
 public:
  explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}

  // Appends the low `count` bits of `value` (count <= 32).
  void Put(uint32_t value, int count) {
    for (int i = count - 1; i >= 0; --i) {
      pending_ = static_cast<uint8_t>(pending_ << 1 | ((value >> i) & 1));
      if (++pending_bits_ == 8) {
        out_.push_back(pending_);
        pending_ = 0;
        pending_bits_ = 0;
      }
    }
  }
  // Fills the last byte with zero bits.
  void AlignWithZeros() {
    if (pending_bits_ > 0) Put(0, 8 - pending_bits_);
  }

 private:
  std::vector<uint8_t>& out_;
  uint8_t pending_ = 0;
  int pending_bits_ = 0;
};

}  // namespace dvr::codec
