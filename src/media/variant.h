#pragma once
// Video variant codes. The build chooses one by its format name; it selects the frame header
// layout, the byte order of block headers (6 is big-endian) and the local recording layout.
#include <optional>
#include <string_view>

namespace dvr::media {

inline constexpr int kVariantCount = 7;
inline constexpr int kBigEndianVariant = 6;  // QM_QMC

// "QM_QM4" .. "QM_QMC" for 0..6.
std::string_view VariantName(int code);
// The code of a format name, or nothing.
std::optional<int> VariantFromName(std::string_view name);
// A format name or a number 0..6, as the tools accept it.
std::optional<int> ParseVariant(std::string_view text);
// The build's format name (DVR_VIDEO_FORMAT).
std::string_view BuildVideoFormat();

}  // namespace dvr::media
