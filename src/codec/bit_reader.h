#pragma once
// Most-significant-first bit reader over one frame. Reads never leave [start, end): past the end
// the reader feeds zero bits and counts them, and the caller checks Overrun() once per block.
#include <cstdint>
#include <cstring>

namespace dvr::codec {

class BitReader {
 public:
  BitReader(const uint8_t* start, const uint8_t* end) : next_(start), end_(end) { Refill(); }

  // At least 32 bits are available after Refill.
  void Refill() {
    if (bits_ >= 32) return;
    if (end_ - next_ >= 8) {
      uint64_t word;
      std::memcpy(&word, next_, 8);
      word = __builtin_bswap64(word);
      cache_ |= word >> bits_;
      const int bytes = (63 - bits_) >> 3;
      next_ += bytes;
      bits_ += 8 * bytes;
      return;
    }
    while (bits_ <= 56) {
      uint64_t byte = 0;
      if (next_ < end_) {
        byte = *next_++;
      } else {
        ++padding_bytes_;
      }
      cache_ |= byte << (56 - bits_);
      bits_ += 8;
    }
  }

  // The next n bits (n <= 32), not consumed. Needs Refill to have left at least n bits.
  uint32_t Peek(int n) const { return static_cast<uint32_t>(cache_ >> (64 - n)); }
  void Skip(int n) {
    cache_ <<= n;
    bits_ -= n;
  }
  uint32_t Read(int n) {
    const uint32_t value = Peek(n);
    Skip(n);
    return value;
  }
  int Available() const { return bits_; }

  // True once bits beyond the end of the data have been consumed.
  bool Overrun() const { return bits_ < 8 * padding_bytes_; }

 private:
  const uint8_t* next_;
  const uint8_t* end_;
  uint64_t cache_ = 0;  // unread bits, top-aligned
  int bits_ = 0;
  int padding_bytes_ = 0;  // zero bytes fed past the end, still counted in bits_ or consumed
};

}  // namespace dvr::codec
