#include "export/export_rate.h"

#include <numeric>

namespace dvr::exporting {
namespace {

constexpr int kPalHeight = 272;

}  // namespace

FrameRate PlayerExportRate(int channels, int picture_height, int variant, int pacing) {
  const bool pal = picture_height == kPalHeight;
  const int base = pal ? 25 : 30;
  if (channels <= 0) return base;
  int source = pal ? 50 : 60;
  if (variant == 0 || variant == 2) source = pal ? 25 : 30;
  if (variant == 5) source = pal ? 100 : 120;
  // source / (pacing + 1) / channels, kept as a fraction.
  const int den = (pacing + 1) * channels;
  if (source >= base * den) return base;
  const int common = std::gcd(source, den);
  return {source / common, den / common};
}

int NetworkExportRate(int picture_height, bool low_speed) {
  return picture_height == kPalHeight || low_speed ? 25 : 30;
}

}  // namespace dvr::exporting
