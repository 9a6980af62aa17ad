#include "media/variant.h"

#include <array>

namespace dvr::media {
namespace {

constexpr std::array<std::string_view, kVariantCount> kNames = {
    "QM_QM4", "QM_QM9", "QM_QMN", "QM_QMT", "QM_QMT2", "QM_QMT3", "QM_QMC"};

}  // namespace

std::string_view VariantName(int code) {
  return code >= 0 && code < kVariantCount ? kNames[static_cast<size_t>(code)] : "";
}

std::optional<int> VariantFromName(std::string_view name) {
  for (int code = 0; code < kVariantCount; ++code) {
    if (kNames[static_cast<size_t>(code)] == name) return code;
  }
  return {};
}

std::optional<int> ParseVariant(std::string_view text) {
  if (text.size() == 1 && text[0] >= '0' && text[0] < '0' + kVariantCount) return text[0] - '0';
  return VariantFromName(text);
}

std::string_view BuildVideoFormat() { return DVR_VIDEO_FORMAT; }

}  // namespace dvr::media
