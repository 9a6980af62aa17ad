#include "app/timeline_view.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "media/ndf_time.h"
#include "platform/local_time.h"

namespace dvr::app {
namespace {

// Wider than any screen; keeps every product below in 64 bits.
constexpr int kMaxWidth = 1 << 20;
// Pixel positions far out of view are held here, well inside int, so callers may add to them.
constexpr int64_t kFarPixel = 1 << 28;

// The time of `block` inside `span`, its blocks spread evenly over its seconds.
uint32_t TimeOfBlock(const media::RecordedSpan& span, uint64_t block) {
  const uint64_t blocks = span.end_block - span.first_block;
  if (blocks == 0 || span.end_time <= span.start_time) return span.start_time;
  const uint64_t into = std::clamp(block, span.first_block, span.end_block) - span.first_block;
  const double share = double(into) / double(blocks);
  const double seconds = std::floor(share * double(span.end_time - span.start_time));
  return span.start_time + static_cast<uint32_t>(seconds);
}

// A stretch's place in time: the part of it inside a span, interpolated; else the edge of the
// span nearest to it in the source. Nothing when the map has no span.
std::optional<TimeBand> PlaceStretch(const media::TimeMap& map, const media::BadStretch& bad) {
  const media::RecordedSpan* before = nullptr;
  const media::RecordedSpan* after = nullptr;
  for (const media::RecordedSpan& span : map.spans) {
    if (bad.first_block < span.end_block && span.first_block < bad.end_block) {
      const uint32_t start = TimeOfBlock(span, std::max(bad.first_block, span.first_block));
      const uint32_t end = TimeOfBlock(span, std::min(bad.end_block, span.end_block));
      return TimeBand{start, std::max(start, end)};
    }
    if (span.end_block <= bad.first_block && (!before || span.end_block > before->end_block)) {
      before = &span;
    }
    if (span.first_block >= bad.end_block && (!after || span.first_block < after->first_block)) {
      after = &span;
    }
  }
  if (before) return TimeBand{before->end_time, before->end_time};
  if (after) return TimeBand{after->start_time, after->start_time};
  return std::nullopt;
}

// Floor of a / b for b > 0, whatever the sign of a.
int64_t FloorDivide(int64_t a, int64_t b) {
  const int64_t quotient = a / b;
  return (a % b != 0 && a < 0) ? quotient - 1 : quotient;
}

}  // namespace

std::vector<TimeBand> TimelineBands(const media::TimeMap& map) {
  std::vector<TimeBand> bands;
  for (const media::RecordedSpan& span : map.spans) {
    bands.push_back({span.start_time, std::max(span.start_time, span.end_time)});
  }
  for (const media::BadStretch& bad : map.bad) {
    if (std::optional<TimeBand> band = PlaceStretch(map, bad)) {
      band->kind = bad.blank ? BandKind::kBlank : BandKind::kBad;
      bands.push_back(*band);
    }
  }
  return bands;
}

std::string TimelineTimeText(uint32_t time) {
  return media::FormatFrameTime(media::ConvertTime(time, platform::StandardBiasSeconds()));
}

void TimelineView::SetRange(uint32_t first, uint32_t last) {
  first_ = std::min(first, last);
  last_ = std::max(first, last);
  ShowAll();
}

void TimelineView::SetWidth(int pixels) {
  width_ = std::clamp(pixels, 1, kMaxWidth);
}

int TimelineView::XForTime(uint32_t time) const {
  const int64_t into = int64_t{time} - int64_t{view_start_};
  const int64_t x = FloorDivide((2 * into + 1) * width_, 2 * static_cast<int64_t>(view_seconds_));
  return static_cast<int>(std::clamp(x, -kFarPixel, kFarPixel));
}

uint32_t TimelineView::TimeAtX(int x) const {
  const uint64_t pixel = static_cast<uint64_t>(std::clamp(x, 0, width_ - 1));
  return static_cast<uint32_t>(view_start_ +
                               (2 * pixel + 1) * view_seconds_ / (2 * uint64_t(width_)));
}

void TimelineView::ZoomAround(int x, double factor) {
  if (!(factor > 0) || !std::isfinite(factor)) return;
  const uint64_t range = RangeSeconds();
  const double wanted = std::round(double(view_seconds_) * factor);
  const double narrowest = double(std::min(kMinimumSeconds, range));
  const uint64_t seconds = static_cast<uint64_t>(std::clamp(wanted, narrowest, double(range)));
  if (seconds == view_seconds_) return;
  const int64_t anchor = TimeAtX(x);
  const uint64_t pixel = static_cast<uint64_t>(std::clamp(x, 0, width_ - 1));
  view_seconds_ = seconds;
  PlaceView(anchor - static_cast<int64_t>((2 * pixel + 1) * seconds / (2 * uint64_t(width_))));
}

void TimelineView::Pan(int dx) {
  const double seconds = std::round(double(dx) * double(view_seconds_) / double(width_));
  const double limit = double(RangeSeconds());
  PlaceView(int64_t{view_start_} - static_cast<int64_t>(std::clamp(seconds, -limit, limit)));
}

void TimelineView::ShowAll() {
  view_start_ = first_;
  view_seconds_ = RangeSeconds();
}

void TimelineView::PlaceView(int64_t start) {
  const int64_t latest = int64_t{last_} + 1 - static_cast<int64_t>(view_seconds_);
  view_start_ = static_cast<uint32_t>(std::clamp(start, int64_t{first_}, latest));
}

}  // namespace dvr::app
