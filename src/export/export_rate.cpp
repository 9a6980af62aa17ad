#include "export/export_rate.h"

#include <algorithm>

namespace dvr::exporting {
namespace {

constexpr int kPalHeight = 272;

}  // namespace

int PlayerExportRate(int channels, int picture_height, int variant, int pacing) {
  const bool pal = picture_height == kPalHeight;
  const double base = pal ? 25 : 30;
  if (channels <= 0) return static_cast<int>(base);
  double source = pal ? 50 : 60;
  if (variant == 0 || variant == 2) source = pal ? 25 : 30;
  if (variant == 5) source = pal ? 100 : 120;
  return static_cast<int>(std::min(base, source / (pacing + 1) / channels));
}

int NetworkExportRate(int picture_height, bool low_speed) {
  return picture_height == kPalHeight || low_speed ? 25 : 30;
}

}  // namespace dvr::exporting
