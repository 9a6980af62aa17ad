#pragma once
// Which processor-specific routines may run. Detected once; the environment variable
// DVR_CPU=scalar|packed|sse2|avx2 lowers the choice (tests and benchmarks compare the levels).
#include <optional>
#include <string_view>

namespace dvr::platform {

enum class CpuLevel { kScalar, kPacked, kSse2, kAvx2 };

// Whether this processor runs a level's routines: scalar and packed (portable code) always.
bool CpuLevelAvailable(CpuLevel level);
// The best level this processor has: its widest SIMD, else scalar (the portable packed forms are
// slower than the scalar ones; they are there to be compared with the SIMD forms).
CpuLevel DetectedCpuLevel();
// What the process uses: the detected level, or DVR_CPU's when the processor has it. A choice the
// processor lacks falls back to the detected level with a warning on standard error.
CpuLevel SelectedCpuLevel();

std::string_view CpuLevelName(CpuLevel level);
std::optional<CpuLevel> ParseCpuLevel(std::string_view name);

}  // namespace dvr::platform
