#pragma once
// The sliders' channels and thumbs. A channel is drawn across the slider's whole length with its
// left and right 7 pixels as they are and its middle stretched, so every rounded end stays within
// those 7 pixels.
#include <QImage>
#include <QSize>

namespace dvr::skin {

inline constexpr QSize kChannelSize{64, 14};
inline constexpr QSize kPositionThumbSize{14, 14};
inline constexpr QSize kVolumeThumbSize{10, 14};

// The position: a thin groove, filled with the accent for the part already played.
QImage DrawPositionChannel(bool played, int scale);
// A round knob; while dragged it wears an accent ring.
QImage DrawPositionThumb(bool dragged, int scale);
// The volume: a wedge rising to the right, filled with the accent up to the level.
QImage DrawVolumeChannel(bool filled, int scale);
// An upright pill; while dragged it wears an accent ring.
QImage DrawVolumeThumb(bool dragged, int scale);

}  // namespace dvr::skin
