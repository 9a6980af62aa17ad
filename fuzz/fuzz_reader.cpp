// The recording reader on arbitrary bytes: forward and backward walks, seeks and range copies,
// steered by the input itself. Nothing may crash, hang or read out of bounds.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "media/recording_reader.h"
#include "platform/notices.h"

namespace {

class QuietNotices final : public dvr::platform::Notices {
 public:
  void Show(std::string_view) override {}
};

std::string ScratchPath(const char* what) {
  return "/tmp/fuzz_reader_" + std::to_string(getpid()) + "_" + what;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  // First bytes: disk flag, variant, and the walk's script; the rest becomes the file, made to
  // look like NDF often enough by giving every block a valid check byte when asked.
  const bool disk = data[0] & 1;
  const bool fix_checks = data[0] & 2;
  const int variant = data[1] % 7;
  const uint8_t script_length = data[2];
  const size_t script_start = 3;
  const size_t script_end = std::min(size, script_start + script_length);
  std::vector<uint8_t> file(data + script_end, data + size);
  // Stretch small inputs over several blocks so that boundaries are crossed.
  while (!file.empty() && file.size() < 3 * 4096 && (data[0] & 4)) {
    file.insert(file.end(), data + script_end, data + size);
  }
  if (fix_checks) {
    for (size_t b = 0; b + 4096 <= file.size(); b += 4096) {
      uint8_t header[8];
      std::copy(file.begin() + static_cast<long>(b), file.begin() + static_cast<long>(b + 8), header);
      if (disk) std::swap(header[6], header[7]);
      dvr::media::WriteBlockHeader(header, header[0] | header[1] << 8, 1, header[6], variant == 6);
      if (disk) {
        for (int i = 0; i < 8; i += 2) std::swap(header[i], header[i + 1]);
      }
      std::copy(header, header + 8, file.begin() + static_cast<long>(b));
    }
  }
  const std::string path = ScratchPath("in.NDF");
  if (FILE* out = std::fopen(path.c_str(), "wb")) {
    std::fwrite(file.data(), 1, file.size(), out);
    std::fclose(out);
  }

  QuietNotices notices;
  dvr::media::RecordingReader reader(notices);
  reader.SetVariant(variant);
  if (!reader.Open(path, disk)) return 0;
  std::vector<uint8_t> buffer(dvr::media::kFrameCapacity);
  for (size_t i = script_start; i < script_end; ++i) {
    const uint8_t op = data[i];
    const uint64_t where = reader.Size() ? (uint64_t{op} * 977) % reader.Size() : 0;
    switch (op % 6) {
      case 0:
        for (int n = 0; n < 50 && (reader.NextFrame(buffer) > 0 || reader.LastBlockBad()); ++n) {
        }
        break;
      case 1:
        for (int n = 0; n < 50 && (reader.PreviousFrame(buffer) > 0 || reader.LastBlockBad()); ++n) {
        }
        break;
      case 2: reader.SetPosition(where); break;
      case 3:
        if (reader.SetSeekTarget(where)) reader.FrameAtTarget(buffer);
        break;
      case 4: reader.SetPositionToEnd(); break;
      case 5: reader.ExportRange(where / 2, where, ScratchPath("out.NDF")); break;
    }
    dvr::media::FrameTime time;
    reader.CurrentTime(time);
  }
  std::remove(path.c_str());
  std::remove(ScratchPath("out.NDF").c_str());
  return 0;
}
