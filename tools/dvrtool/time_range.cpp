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

dvr::media::TimeMap ExactTimeMap(dvr::media::BlockSource& blocks, int variant) {
  const bool big_endian = variant == dvr::media::kBigEndianVariant;
  dvr::media::TimeMapLimits limits;
  limits.variant = variant;
  dvr::media::TimeMap map = dvr::media::BuildTimeMap(blocks, big_endian, limits);
  dvr::media::RefineTimeMapFully(blocks, big_endian, map, limits);
  return map;
}

namespace {

// The source's blocks and its time map.
struct MappedSource {
  dvr::media::BlockSource blocks;
  bool big_endian = false;
  dvr::media::TimeMap map;
};

void MapSource(const SourceOptions& source, int variant, MappedSource& mapped) {
  if (!mapped.blocks.Open(source.path, source.disk)) Fail("cannot open " + source.path);
  mapped.big_endian = variant == dvr::media::kBigEndianVariant;
  mapped.map = ExactTimeMap(mapped.blocks, variant);
}

}  // namespace

std::pair<uint64_t, uint64_t> ByteRangeForTimes(const dvr::media::RecordingReader& reader, const SourceOptions& source,
                                                uint32_t start, uint32_t stop) {
  MappedSource mapped;
  MapSource(source, reader.Variant(), mapped);
  const auto range =
      dvr::media::BlocksInTime(mapped.blocks, mapped.big_endian, mapped.map, start, stop);
  if (!range) {
    Fail("no block of " + source.path +
         " lies between those times in one piece (where a disk has wrapped, take the times before "
         "and after its write point apart)");
  }
  return {range->first * dvr::media::kBlockSize, range->second * dvr::media::kBlockSize - 1};
}

uint64_t ByteAtTime(const SourceOptions& source, uint32_t time) {
  MappedSource mapped;
  MapSource(source, ResolveVariant(source.variant), mapped);
  const auto block = dvr::media::GoToTime(mapped.blocks, mapped.big_endian, mapped.map, time);
  if (!block) Fail(source.path + " holds no block at or after that time");
  return *block * dvr::media::kBlockSize;
}

}  // namespace dvrtool
