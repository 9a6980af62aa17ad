#include "platform/cpu_features.h"

#include <array>
#include <cstdio>
#include <cstdlib>

namespace dvr::platform {
namespace {

constexpr std::array<std::string_view, 4> kNames = {"scalar", "packed", "sse2", "avx2"};

CpuLevel Detect() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx2")) return CpuLevel::kAvx2;
  if (__builtin_cpu_supports("sse2")) return CpuLevel::kSse2;
#endif
  return CpuLevel::kScalar;
}

CpuLevel Select() {
  const CpuLevel detected = DetectedCpuLevel();
  const char* forced = std::getenv("DVR_CPU");
  if (forced == nullptr || *forced == '\0') return detected;
  const auto level = ParseCpuLevel(forced);
  if (!level) {
    std::fprintf(stderr, "DVR_CPU=%s is not one of scalar, packed, sse2, avx2; using %s\n", forced,
                 CpuLevelName(detected).data());
    return detected;
  }
  if (!CpuLevelAvailable(*level)) {
    std::fprintf(stderr, "DVR_CPU=%s is not available on this processor; using %s\n", forced,
                 CpuLevelName(detected).data());
    return detected;
  }
  return *level;
}

}  // namespace

bool CpuLevelAvailable(CpuLevel level) {
  return level <= CpuLevel::kPacked || level <= DetectedCpuLevel();
}

CpuLevel DetectedCpuLevel() {
  static const CpuLevel level = Detect();
  return level;
}

CpuLevel SelectedCpuLevel() {
  static const CpuLevel level = Select();
  return level;
}

std::string_view CpuLevelName(CpuLevel level) { return kNames[static_cast<size_t>(level)]; }

std::optional<CpuLevel> ParseCpuLevel(std::string_view name) {
  for (size_t i = 0; i < kNames.size(); ++i) {
    if (kNames[i] == name) return static_cast<CpuLevel>(i);
  }
  return {};
}

}  // namespace dvr::platform
