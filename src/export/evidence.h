#pragma once
// Evidence beside an export: NAME.sha256 (which `sha256sum -c` checks in that folder) and NAME.json
// (what was taken out of which source, when, by which program), so that a copy of the export can
// later be shown unchanged.
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

#include "media/ndf_time.h"

namespace dvr::exporting {

struct EvidenceFacts {
  std::string source_path;  // as given; written absolute in the JSON
  uint64_t source_size = 0;
  uint64_t first_byte = 0;  // the source's bytes the export covers, inclusive
  uint64_t last_byte = 0;
  bool byte_range_known = true;  // false: written as null
  std::optional<media::FrameTime> first_picture,
      last_picture;             // times of the first and last picture
  uint16_t video_channels = 0;  // bit c: channel c appears
  uint8_t audio_channels = 0;
};

// Reads a recording file (NDF) of the recorder `variant` back in one pass: the times of its first
// and last picture (the time of the block its start code lies in) and the channels it holds, as
// the decoder reads them; bad blocks are passed over. Fills only those facts. False when it holds
// no picture or cannot be opened.
bool ReadRecordingFacts(const std::string& ndf_path, int variant, EvidenceFacts& facts);

// SHA-256 of a file as 64 lowercase hex digits; nothing when it cannot be read or `cancel` is set
// meanwhile.
std::optional<std::string> Sha256OfFile(const std::string& path,
                                        const std::atomic<bool>* cancel = nullptr);

// Hashes `output` (reading it back), then writes OUTPUT.sha256 ("<hex>  <file name>\n", so that
// `sha256sum -c` run in that folder checks it) and OUTPUT.json, each atomically (temporary file +
// rename). False with `error` set (a clear sentence) when the output cannot be read or a file
// cannot be written; then neither file is left, whole or in part, nor one an earlier export of the
// same name left.
// `cancel` set meanwhile ends the hashing, and nothing is written.
bool WriteEvidence(const std::string& output, const EvidenceFacts& facts, std::string& error,
                   const std::atomic<bool>* cancel = nullptr);

}  // namespace dvr::exporting
