#pragma once
// The decoder's inverse: a planar YUV 4:2:0 picture to one video frame in any header layout, full
// or partial, quality 1..14. It makes test content, demos and benchmark input; the recorder's own
// encoder is not known, so this one aims at correct, decodable, plausible frames, not at the
// recorder's exact bytes.
//
// Inside a frame it never writes 00 00 01 except at slice starts: DC values stay at 1 or more and
// no zero level is coded, which keeps every run of zero bits below the 23 a start code needs.
#include <cstdint>
#include <vector>

namespace dvr::codec {

struct EncodeOptions {
  int variant = 4;         // header layout by variant code
  int channel = 0;         // 0..15 (0..3 in layout 1; layout 3 carries none)
  int quality = 4;         // 1..14
  bool full_frame = true;  // false: only what differs from the reference picture is coded
  uint16_t counter = 0;    // layout 3's frame counter
  // Layout 4's second channel.
  bool dual = false;
  int channel_b = 0;
  bool a_absent = false, b_absent = false;
};

class FrameEncoder {
 public:
  FrameEncoder();

  // Encodes `picture` (640 x 224 or 640 x 272) and appends the frame to `out`. A partial frame
  // compares with `reference`, the picture encoded last for this channel: macroblocks where both
  // are the same are skipped, and so are unchanged luminance blocks. Without a reference every
  // block is coded.
  void Encode(const uint8_t* picture, uint32_t width, uint32_t height, const EncodeOptions& options,
              const uint8_t* reference, std::vector<uint8_t>& out);

  // Encoding choices, for tests that need the rare forms. Levels at or above `escape_from` are
  // sent with the escape even when the table has a code for them.
  void ForceEscapeFrom(int level) { escape_from_ = level; }

 private:
  int escape_from_ = 1 << 30;
};

}  // namespace dvr::codec
