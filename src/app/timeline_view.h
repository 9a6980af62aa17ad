#pragma once
// What the timeline strip draws, without a screen: the bands of recorded, bad and blank time of a
// time map, and the window of time the strip shows with its pixel mapping, zoom and pan.
#include <cstdint>
#include <string>
#include <vector>

#include "media/time_map.h"

namespace dvr::app {

enum class BandKind { kRecorded, kBad, kBlank };

struct TimeBand {
  uint32_t start = 0, end = 0;  // time fields, inclusive
  BandKind kind = BandKind::kRecorded;
};

// The bands to draw for a map: recorded spans, then bad/blank stretches placed in time. A stretch
// inside a span gets the times of its blocks interpolated over the span; one outside every span
// sits at the edge of the span nearest to it in the source (the end of the one before, else the
// start of the one after). Empty map: none.
std::vector<TimeBand> TimelineBands(const media::TimeMap& map);

// "YYYY-MM-DD HH:MM:SS" of a time field in local standard time.
std::string TimelineTimeText(uint32_t time);

// The visible window of time and the pixel mapping, with zoom and pan; pure arithmetic, 64-bit,
// no division by 0. Pixel x shows the seconds whose middle falls in [x, x + 1), so a time and its
// pixel map onto each other both ways whenever a pixel holds at least a second.
class TimelineView {
 public:
  // The narrowest window a zoom reaches (or the whole range when that is shorter).
  static constexpr uint64_t kMinimumSeconds = 60;

  void SetRange(uint32_t first, uint32_t last);  // the whole range; resets the view to it
  void SetWidth(int pixels);
  uint32_t ViewStart() const { return view_start_; }
  uint32_t ViewEnd() const { return static_cast<uint32_t>(view_start_ + view_seconds_ - 1); }
  uint32_t RangeFirst() const { return first_; }
  uint32_t RangeLast() const { return last_; }
  bool ShowsAll() const { return view_start_ == first_ && view_seconds_ == RangeSeconds(); }
  int Width() const { return width_; }

  int XForTime(uint32_t time) const;      // may lie outside [0, width) when out of view
  uint32_t TimeAtX(int x) const;          // clamped to the view
  void ZoomAround(int x, double factor);  // factor < 1 zooms in; keeps TimeAtX(x)
  // Moves what is shown dx pixels to the right (a drag to the right brings earlier time into
  // view), clamped to the range.
  void Pan(int dx);
  void ShowAll();

  bool operator==(const TimelineView&) const = default;

 private:
  uint64_t RangeSeconds() const { return uint64_t{last_} - first_ + 1; }
  // Puts the window at `start` (seconds, may lie outside the range), moved inside the range.
  void PlaceView(int64_t start);

  uint32_t first_ = 0, last_ = 0;
  uint32_t view_start_ = 0;
  uint64_t view_seconds_ = 1;  // up to 2^32
  int width_ = 1;
};

}  // namespace dvr::app
