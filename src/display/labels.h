#pragma once
// The label in each slot's top-left corner: "CH<n> " and, when enabled, the picture's time in
// the strftime-style time format. Drawn light on a one-pixel dark outline.
#include <cstdint>
#include <string>

#include "media/ndf_time.h"

namespace dvr::display {

inline constexpr int kMaxTimeText = 128;

struct LabelFont {
  int height = 16;
  int width = 0;
  int weight = 500;
  bool italic = false;
  std::string face = "Verdana";
};

struct LabelSettings {
  bool enabled = false;
  bool time_in_labels = true;
  uint32_t outline_colour = 0x141414;  // COLORREF: 0x00BBGGRR
  uint32_t text_colour = 0x80FFFF;
  LabelFont font;
  std::string time_format = "%Y/%m/%d %H:%M:%S";
};

// A label colour as stored: 0 becomes 0x050505, so that no label colour is pure black.
constexpr uint32_t StoredLabelColour(uint32_t colour) { return colour == 0 ? 0x050505 : colour; }

// A frame time in a strftime format; empty for a time of year 0, one that is not a date, or one
// that does not fit in 128 characters.
std::string FormatFrameTime(const media::FrameTime& time, const std::string& time_format);

// The label of slot `slot` (0-based): "CH<slot + 1> ", then the time when asked for, the slot has
// a picture and the time's year is not 0. A time that cannot be formatted in 128 characters adds
// nothing.
std::string LabelText(int slot, const media::FrameTime& time, bool has_picture, bool time_in_labels,
                      const std::string& time_format);

}  // namespace dvr::display
