#include "time_range.h"

#include "media/ndf_time.h"
#include "media/time_map.h"
#include "media/variant.h"
#include "platform/local_time.h"

namespace dvrtool {

uint32_t TimeField(const std::string& text, const char* option) {
  const auto time = dvr::media::ParseFrameTime(text);
  const auto field =
      time ? dvr::media::ToTimeField(*time, dvr::platform::StandardBiasSeconds()) : std::nullopt;
  if (!field) UsageError(std::string(option) + " wants \"YYYY-MM-DD HH:MM:SS\", not '" + text + "'");
  return *field;
}

std::pair<uint64_t, uint64_t> ByteRangeForTimes(const dvr::media::RecordingReader& reader, const SourceOptions& source,
                                                uint32_t start, uint32_t stop) {
  dvr::media::BlockSource blocks;
  if (!blocks.Open(source.path, source.disk)) Fail("cannot open " + source.path);
  const bool big_endian = reader.Variant() == dvr::media::kBigEndianVariant;
  const dvr::media::TimeMap map = dvr::media::BuildTimeMap(blocks, big_endian);
  const auto range = dvr::media::BlocksInTime(blocks, big_endian, map, start, stop);
  if (!range) {
    Fail("no block of " + source.path +
         " lies between those times in one piece (where a disk has wrapped, take the times before "
         "and after its write point apart)");
  }
  return {range->first * dvr::media::kBlockSize, range->second * dvr::media::kBlockSize - 1};
}

}  // namespace dvrtool
