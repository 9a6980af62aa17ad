#pragma once
// Recording times on the command line: "YYYY-MM-DD HH:MM:SS" in local standard time, and the
// block range a span of them covers, or the block where one begins.
#include <cstdint>
#include <string>
#include <utility>

#include "cli.h"
#include "media/recording_reader.h"
#include "media/time_map.h"

namespace dvrtool {

// The map of a source with every edge found (the coarse map, then refined until nothing is left
// open or nothing more can be read).
dvr::media::TimeMap ExactTimeMap(dvr::media::BlockSource& blocks, int variant);

// The time field of a time given to `option`; a usage error when it is not a valid time.
uint32_t TimeField(const std::string& text, const char* option);

// Bytes [from, to] of the blocks whose times lie in [start, stop], found through the source's
// time map; fails with a clear line when no block does, or when they are not in one piece.
std::pair<uint64_t, uint64_t> ByteRangeForTimes(const dvr::media::RecordingReader& reader, const SourceOptions& source,
                                                uint32_t start, uint32_t stop);

// The first byte of the first block at or after `time`, found through the source's time map;
// fails with a clear line when the source holds no later time.
uint64_t ByteAtTime(const SourceOptions& source, uint32_t time);

}  // namespace dvrtool
