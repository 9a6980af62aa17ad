#include "media/ndf_format.h"

#include <cstring>

#include "media/block_check.h"

namespace dvr::media {

BlockHeader ParseBlockHeader(const uint8_t* block, bool big_endian) {
  BlockHeader header;
  if (big_endian) {
    header.time = uint32_t{block[0]} << 24 | uint32_t{block[1]} << 16 | uint32_t{block[2]} << 8 |
                  block[3];
    header.format_word = static_cast<uint16_t>(block[4] << 8 | block[5]);
  } else {
    header.time = uint32_t{block[3]} << 24 | uint32_t{block[2]} << 16 | uint32_t{block[1]} << 8 |
                  block[0];
    header.format_word = static_cast<uint16_t>(block[5] << 8 | block[4]);
  }
  header.pacing = block[6] & 0x7F;
  header.check = block[7];
  return header;
}

void WriteBlockHeader(uint8_t* block, uint32_t time, uint16_t format_word, uint8_t pacing,
                      bool big_endian) {
  for (int i = 0; i < 4; ++i) {
    const int shift = big_endian ? 24 - 8 * i : 8 * i;
    block[i] = static_cast<uint8_t>(time >> shift);
  }
  block[big_endian ? 4 : 5] = static_cast<uint8_t>(format_word >> 8);
  block[big_endian ? 5 : 4] = static_cast<uint8_t>(format_word);
  block[6] = pacing & 0x7F;
  block[7] = BlockCheck(block);
}

bool BlockCheckMatches(const uint8_t* block) { return BlockCheck(block) == block[7]; }

void ExchangeBytePairs(uint8_t* data, size_t n) {
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {  // four words at a time
    uint64_t words;
    std::memcpy(&words, data + i, 8);
    words = ((words & 0x00FF00FF00FF00FFull) << 8) | ((words >> 8) & 0x00FF00FF00FF00FFull);
    std::memcpy(data + i, &words, 8);
  }
  for (; i + 1 < n; i += 2) {
    const uint8_t first = data[i];
    data[i] = data[i + 1];
    data[i + 1] = first;
  }
}

}  // namespace dvr::media
