#include "time_range.h"

#include "media/block_scan.h"
#include "media/ndf_time.h"
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
  const auto range =
      dvr::media::FindBlocksInTime(blocks, reader.Variant() == dvr::media::kBigEndianVariant,
                                   reader.Size() / dvr::media::kBlockSize, start, stop);
  if (!range) Fail("no block of " + source.path + " lies between those times");
  return {range->first * dvr::media::kBlockSize, range->second * dvr::media::kBlockSize - 1};
}

}  // namespace dvrtool
