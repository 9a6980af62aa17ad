// The timeline's bands of a time map and its window of time: pixel mapping both ways, zoom
// around a pixel, pan, and the edges of the 32-bit time field.
#include "app/timeline_view.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>

namespace dvr::app {
namespace {

// Two spans with a gap, a bad stretch inside the first, a bad one between them in the source and
// a blank one after the second.
media::TimeMap MapWithStretches() {
  media::TimeMap map;
  map.block_count = 2100;
  map.spans = {{1000, 2000, 0, 1000}, {5000, 6000, 1010, 2010}};
  map.gaps = {{2000, 5000}};
  map.bad = {{400, 450, false}, {1000, 1010, false}, {2010, 2100, true}};
  return map;
}

TEST(TimelineBands, SpansThenStretchesPlacedInTime) {
  const std::vector<TimeBand> bands = TimelineBands(MapWithStretches());
  ASSERT_EQ(bands.size(), 5u);
  EXPECT_EQ(bands[0].kind, BandKind::kRecorded);
  EXPECT_EQ(bands[0].start, 1000u);
  EXPECT_EQ(bands[0].end, 2000u);
  EXPECT_EQ(bands[1].kind, BandKind::kRecorded);
  EXPECT_EQ(bands[1].start, 5000u);
  // Blocks 400..450 of a span of 1000 blocks over 1000 seconds.
  EXPECT_EQ(bands[2].kind, BandKind::kBad);
  EXPECT_EQ(bands[2].start, 1400u);
  EXPECT_EQ(bands[2].end, 1450u);
  // Between the spans in the source: at the end of the one before.
  EXPECT_EQ(bands[3].kind, BandKind::kBad);
  EXPECT_EQ(bands[3].start, 2000u);
  EXPECT_EQ(bands[3].end, 2000u);
  EXPECT_EQ(bands[4].kind, BandKind::kBlank);
  EXPECT_EQ(bands[4].start, 6000u);
  EXPECT_EQ(bands[4].end, 6000u);
}

TEST(TimelineBands, StretchBeforeEverySpanAndMapsWithoutSpans) {
  media::TimeMap map;
  map.spans = {{700, 800, 50, 150}};
  map.bad = {{0, 50, true}};
  const std::vector<TimeBand> bands = TimelineBands(map);
  ASSERT_EQ(bands.size(), 2u);
  EXPECT_EQ(bands[1].kind, BandKind::kBlank);
  EXPECT_EQ(bands[1].start, 700u);

  EXPECT_TRUE(TimelineBands(media::TimeMap{}).empty());
  media::TimeMap unreadable;
  unreadable.block_count = 10;
  unreadable.bad = {{0, 10, false}};
  EXPECT_TRUE(TimelineBands(unreadable).empty());
}

TEST(TimelineView, TimesAndPixelsMapBothWays) {
  TimelineView view;
  view.SetRange(1000, 1999);  // 1000 seconds on 100 pixels
  view.SetWidth(100);
  for (int x = 0; x < 100; ++x) EXPECT_EQ(view.XForTime(view.TimeAtX(x)), x) << x;
  EXPECT_EQ(view.TimeAtX(0), 1005u);  // the middle of the pixel
  EXPECT_EQ(view.XForTime(1000), 0);
  EXPECT_EQ(view.XForTime(1999), 99);
  EXPECT_EQ(view.XForTime(999), -1);
  EXPECT_EQ(view.XForTime(2000), 100);
  EXPECT_EQ(view.TimeAtX(-50), view.TimeAtX(0));
  EXPECT_EQ(view.TimeAtX(500), view.TimeAtX(99));

  view.SetRange(20, 49);  // 30 seconds on 300 pixels: ten pixels a second
  view.SetWidth(300);
  for (uint32_t t = 20; t <= 49; ++t) EXPECT_EQ(view.TimeAtX(view.XForTime(t)), t) << t;
}

TEST(TimelineView, ZoomKeepsTheTimeUnderThePointerWithinItsLimits) {
  TimelineView view;
  view.SetRange(100000, 186399);  // a day
  view.SetWidth(640);
  for (const int x : {0, 1, 200, 639}) {
    view.ShowAll();
    const uint32_t under = view.TimeAtX(x);
    view.ZoomAround(x, 0.5);
    EXPECT_EQ(view.TimeAtX(x), under) << x;
    EXPECT_EQ(view.ViewEnd() - view.ViewStart() + 1, 43200u);
    EXPECT_GE(view.ViewStart(), 100000u);
    EXPECT_LE(view.ViewEnd(), 186399u);
  }
  for (int i = 0; i < 40; ++i) view.ZoomAround(320, 0.3);
  EXPECT_EQ(view.ViewEnd() - view.ViewStart() + 1, TimelineView::kMinimumSeconds);
  view.ZoomAround(320, 1e9);
  EXPECT_TRUE(view.ShowsAll());
  for (const double nonsense : {0.0, -1.0, std::nan("")}) {
    view.ZoomAround(320, nonsense);
    EXPECT_TRUE(view.ShowsAll());
  }
}

TEST(TimelineView, PanStaysInsideTheRange) {
  TimelineView view;
  view.SetRange(0, 9999);
  view.SetWidth(100);
  view.Pan(30);  // showing everything: nowhere to go
  EXPECT_TRUE(view.ShowsAll());
  view.ZoomAround(50, 0.1);  // 1000 seconds, 10 a pixel
  const uint32_t start = view.ViewStart();
  view.Pan(20);
  EXPECT_EQ(view.ViewStart(), start - 200);
  view.Pan(-20);
  EXPECT_EQ(view.ViewStart(), start);
  view.Pan(INT_MAX);
  EXPECT_EQ(view.ViewStart(), 0u);
  view.Pan(INT_MIN);
  EXPECT_EQ(view.ViewEnd(), 9999u);
  EXPECT_EQ(view.ViewStart(), 9000u);
}

TEST(TimelineView, TheEdgesOfTheTimeField) {
  TimelineView view;
  view.SetWidth(400);
  view.SetRange(0, UINT32_MAX);
  EXPECT_EQ(view.ViewEnd(), UINT32_MAX);
  EXPECT_EQ(view.XForTime(UINT32_MAX), 399);
  EXPECT_EQ(view.XForTime(0), 0);
  for (int x = 0; x < 400; x += 57) EXPECT_EQ(view.XForTime(view.TimeAtX(x)), x) << x;
  view.ZoomAround(399, 0.01);
  view.Pan(-1000000);
  EXPECT_EQ(view.ViewEnd(), UINT32_MAX);

  view.SetRange(UINT32_MAX - 255, UINT32_MAX);
  view.ZoomAround(399, 0.1);
  EXPECT_EQ(view.ViewEnd(), UINT32_MAX);
  EXPECT_EQ(view.ViewEnd() - view.ViewStart() + 1, TimelineView::kMinimumSeconds);
  EXPECT_LT(view.XForTime(0), 0);
  view.Pan(INT_MAX);
  EXPECT_EQ(view.ViewStart(), UINT32_MAX - 255);
}

TEST(TimelineView, DegenerateRangesAndWidths) {
  TimelineView fresh;
  EXPECT_EQ(fresh.TimeAtX(10), 0u);
  EXPECT_EQ(fresh.XForTime(0), 0);

  TimelineView view;
  view.SetRange(5, 5);
  view.SetWidth(0);
  EXPECT_EQ(view.TimeAtX(0), 5u);
  view.SetWidth(300);
  EXPECT_EQ(view.TimeAtX(299), 5u);
  EXPECT_EQ(view.XForTime(5), 150);
  view.ZoomAround(10, 0.5);
  view.Pan(100);
  EXPECT_EQ(view.ViewStart(), 5u);
  EXPECT_EQ(view.ViewEnd(), 5u);

  view.SetRange(90, 30);  // given the wrong way round
  EXPECT_EQ(view.ViewStart(), 30u);
  EXPECT_EQ(view.ViewEnd(), 90u);
}

}  // namespace
}  // namespace dvr::app
