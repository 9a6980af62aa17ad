#include "codec/frame_encoder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "codec/bit_writer.h"
#include "codec/coefficient_vlc.h"
#include "codec/frame_decoder.h"
#include "codec/scan_tables.h"
#include "media/ndf_format.h"

namespace dvr::codec {
namespace {

constexpr int kMaxIncrement = 63;
constexpr double kDeadZone = 0.4;  // rounds |c| up from .6: fewer small levels, little loss

// Which code the table has for (run, level): an index into RunLevelCodes() + 1, or 0.
struct CodeIndex {
  std::array<std::array<uint8_t, 41>, 32> index{};
  CodeIndex() {
    const auto codes = RunLevelCodes();
    for (size_t i = 0; i < codes.size(); ++i) index[codes[i].run][codes[i].level] = static_cast<uint8_t>(i + 1);
  }
};

const CodeIndex& Codes() {
  static const CodeIndex codes;
  return codes;
}

// The separable forward DCT with the decoder's scaling: a flat block of d gives F[0][0] = 8d.
struct Dct {
  std::array<std::array<double, 8>, 8> basis{};  // basis[u][x] = n(u)/2 cos((2x+1) u pi / 16)
  Dct() {
    for (int u = 0; u < 8; ++u) {
      for (int x = 0; x < 8; ++x) {
        basis[static_cast<size_t>(u)][static_cast<size_t>(x)] =
            (u == 0 ? std::sqrt(0.5) : 1.0) / 2.0 * std::cos((2 * x + 1) * u * M_PI / 16.0);
      }
    }
  }
  void Forward(const uint8_t* samples, int stride, double* out) const {
    double rows[64];
    for (int y = 0; y < 8; ++y) {
      for (int u = 0; u < 8; ++u) {
        double sum = 0;
        for (int x = 0; x < 8; ++x) sum += basis[static_cast<size_t>(u)][static_cast<size_t>(x)] * samples[y * stride + x];
        rows[8 * y + u] = sum;
      }
    }
    for (int v = 0; v < 8; ++v) {
      for (int u = 0; u < 8; ++u) {
        double sum = 0;
        for (int y = 0; y < 8; ++y) sum += basis[static_cast<size_t>(v)][static_cast<size_t>(y)] * rows[8 * y + u];
        out[8 * v + u] = sum;
      }
    }
  }
};

const Dct& TheDct() {
  static const Dct dct;
  return dct;
}

class BlockWriter {
 public:
  BlockWriter(BitWriter& bits, int quality, int escape_from)
      : bits_(bits), quality_(quality), escape_from_(escape_from) {}

  void Write(const uint8_t* samples, int stride) {
    double f[64];
    TheDct().Forward(samples, stride, f);
    bits_.Put(static_cast<uint32_t>(std::clamp(static_cast<int>(std::lround(f[0] / 8)), 1, 255)), 8);
    int run = 0;
    for (int k = 1; k < 64; ++k) {
      const int i = kZigZag[static_cast<size_t>(k)];
      const double step = kIntraQuantiser[static_cast<size_t>(i)] * quality_ / 4.0;
      const double scaled = f[i] / step;
      // The decoder clamps at 2047 / -2048; a larger level only wastes bits.
      const int limit = std::min(255, static_cast<int>(std::ceil(2048 / step)));
      const int magnitude = std::min(limit, static_cast<int>(std::fabs(scaled) + 1.0 - kDeadZone));
      if (magnitude == 0) {
        ++run;
        continue;
      }
      WriteLevel(run, magnitude, scaled < 0);
      run = 0;
    }
    bits_.Put(kEndOfBlockBits, kEndOfBlockLength);
  }

 private:
  void WriteLevel(int run, int magnitude, bool negative) {
    const bool in_table = run < 32 && magnitude <= 40 && magnitude < escape_from_;
    const uint8_t code = in_table ? Codes().index[static_cast<size_t>(run)][static_cast<size_t>(magnitude)] : 0;
    if (code != 0) {
      const RunLevelCode& c = RunLevelCodes()[code - 1u];
      bits_.Put(c.bits, c.length);
      bits_.Put(negative ? 1 : 0, 1);
      return;
    }
    bits_.Put(kEscapeBits, kEscapeLength);
    bits_.Put(static_cast<uint32_t>(run), 6);
    if (!negative) {
      if (magnitude < 128) {
        bits_.Put(static_cast<uint32_t>(magnitude), 8);
      } else {
        bits_.Put(0, 8);
        bits_.Put(static_cast<uint32_t>(magnitude), 8);
      }
    } else if (magnitude < 128) {
      bits_.Put(static_cast<uint32_t>(256 - magnitude), 8);
    } else {
      bits_.Put(128, 8);
      bits_.Put(static_cast<uint32_t>(256 - magnitude), 8);
    }
  }

  BitWriter& bits_;
  int quality_;
  int escape_from_;
};

// Planes of a picture.
struct Planes {
  const uint8_t* y;
  const uint8_t* cb;
  const uint8_t* cr;
  Planes(const uint8_t* picture, uint32_t width, uint32_t height)
      : y(picture), cb(picture + width * height), cr(cb + width * height / 4) {}
};

// Sum of absolute differences of two 8 x 8 blocks.
int Difference(const uint8_t* a, const uint8_t* b, int stride) {
  int sum = 0;
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) sum += std::abs(a[y * stride + x] - b[y * stride + x]);
  }
  return sum;
}


void WriteHeader(const EncodeOptions& o, std::vector<uint8_t>& out) {
  const auto q = static_cast<uint8_t>(o.quality & 15);
  const auto ch = static_cast<uint8_t>(o.channel & 15);
  const uint8_t full = o.full_frame ? 1 : 0;
  switch (HeaderLayout(o.variant)) {
    case 1:
      out.insert(out.end(), {0, 0, 1, media::kVideoStart, static_cast<uint8_t>(full << 7 | q << 3 | (ch & 3))});
      break;
    case 3:
      out.insert(out.end(), {0, 0, 1, media::kVideoStart, static_cast<uint8_t>(full << 7 | q << 3),
                             static_cast<uint8_t>(o.counter >> 8), static_cast<uint8_t>(o.counter)});
      break;
    case 4:
      out.insert(out.end(), {0, 0, 1, full ? media::kVideoStartFlagged : media::kVideoStart,
                             static_cast<uint8_t>(q << 4 | ch),
                             static_cast<uint8_t>((o.dual ? 0x80 : 0) | (o.channel_b & 15) << 3 |
                                                  (o.a_absent ? 4 : 0) | (o.b_absent ? 2 : 0))});
      break;
    default:
      out.insert(out.end(), {0, 0, 1, full ? media::kVideoStartFlagged : media::kVideoStart,
                             static_cast<uint8_t>(q << 4 | ch)});
      break;
  }
}

}  // namespace

FrameEncoder::FrameEncoder() {
  Codes();
  TheDct();
}

void FrameEncoder::Encode(const uint8_t* picture, uint32_t width, uint32_t height,
                          const EncodeOptions& options, const uint8_t* reference,
                          std::vector<uint8_t>& out) {
  WriteHeader(options, out);
  const Planes now(picture, width, height);
  const bool partial = !options.full_frame && reference != nullptr;
  const Planes before(partial ? reference : picture, width, height);
  const int w = static_cast<int>(width);
  const int columns = w / 16, rows = static_cast<int>(height) / 16;
  for (int row = 0; row < rows; ++row) {
    BitWriter bits(out);
    bits.Put(0x000001, 24);
    bits.Put(static_cast<uint32_t>(row), 5);
    BlockWriter blocks(bits, options.quality, escape_from_);
    int next = 0;  // the column the decoder stands on
    for (int m = 0; m < columns; ++m) {
      const int luma_offset[4] = {16 * row * w + 16 * m, 16 * row * w + 16 * m + 8,
                                  (16 * row + 8) * w + 16 * m, (16 * row + 8) * w + 16 * m + 8};
      const int chroma_offset = 8 * row * (w / 2) + 8 * m;
      unsigned pattern = 0xF;
      if (!options.full_frame) {
        pattern = 0;
        bool chroma_changed = false;
        if (partial) {
          for (int j = 0; j < 4; ++j) {
            if (Difference(now.y + luma_offset[j], before.y + luma_offset[j], w) > 0) pattern |= 1u << j;
          }
          chroma_changed = Difference(now.cb + chroma_offset, before.cb + chroma_offset, w / 2) > 0 ||
                           Difference(now.cr + chroma_offset, before.cr + chroma_offset, w / 2) > 0;
        } else {
          pattern = 0xF;  // nothing to compare with: code everything
        }
        // The increment reaches at most 63 columns; a longer gap codes a macroblock on the way.
        const bool forced = m - next + 1 >= kMaxIncrement;
        if (pattern == 0 && !chroma_changed && !forced) continue;
        bits.Put(static_cast<uint32_t>(m - next + 1), 6);
        bits.Put(pattern, 4);
        next = m + 1;
      }
      for (int j = 0; j < 4; ++j) {
        if (pattern & (1u << j)) blocks.Write(now.y + luma_offset[j], w);
      }
      blocks.Write(now.cb + chroma_offset, w / 2);
      blocks.Write(now.cr + chroma_offset, w / 2);
    }
    if (!options.full_frame && next < columns) bits.Put(0, 6);  // the slice ends here
    bits.AlignWithZeros();
  }
}

}  // namespace dvr::codec
