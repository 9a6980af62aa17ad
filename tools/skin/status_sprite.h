#pragma once
// The status line's sprite: 16-pixel-high pieces on black, cut out by the status line. Its two
// blues and its black are swapped for the user's colours by exact value, so the whole sprite is
// drawn without antialiasing: every pixel is one of a few exact colours, at either scale.
#include <QImage>
#include <QSize>

namespace dvr::skin {

inline constexpr QSize kStatusSpriteSize{377, 112};
inline constexpr int kStatusRow = 16;

// Where the pieces start; a piece's row is its state times kStatusRow.
// Play state, 16 wide: blank, forward, backward, paused, stopped, searching.
inline constexpr int kPlayIconColumn = 0;
// Link state 0..6, 102 wide.
inline constexpr int kLinkColumn = 16;
inline constexpr int kLinkWidth = 102;
// Channel 0..3 at kChannelColumn + channel x kChannelWidth: off, on, A, B, A and B, alarm.
inline constexpr int kChannelColumn = 128;
inline constexpr int kChannelWidth = 24;
// The disk indicator: off, on, active.
inline constexpr int kIndicatorColumn = 356;
inline constexpr int kIndicatorWidth = 21;

QImage DrawStatusSprite(int scale);

}  // namespace dvr::skin
