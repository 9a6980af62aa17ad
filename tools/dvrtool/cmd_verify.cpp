// dvrtool verify: every block's check byte.
#include <cinttypes>
#include <cstdio>
#include <memory>

#include "cli.h"
#include "commands.h"
#include "media/block_scan.h"
#include "media/recording_reader.h"
#include "media/variant.h"
#include "platform/notices.h"

namespace dvrtool {
namespace {

using dvr::media::kBlockSize;

void RunVerify(const SourceOptions& options) {
  dvr::platform::StderrNotices notices;
  dvr::media::RecordingReader reader(notices);
  OpenSource(reader, options);  // also checks the variant and that the size can be found
  dvr::media::BlockSource blocks;
  if (!blocks.Open(options.path, options.disk)) Fail("cannot open " + options.path);

  uint64_t bad = 0;
  const uint64_t count = dvr::media::ScanBlocks(
      blocks, reader.Variant() == dvr::media::kBigEndianVariant,
      [&](uint64_t index, const dvr::media::BlockHeader&, bool good) {
        if (good) return;
        ++bad;
        const uint64_t offset = index * kBlockSize;
        PrintLine(options.json
                      ? JsonLine().Add("type", "bad").Add("block", index).Add("offset", offset).Text()
                      : "bad block " + std::to_string(index) + " at offset " + std::to_string(offset));
      });
  const uint64_t tail = reader.Size() - count * kBlockSize;
  if (tail > 0) {
    const uint64_t offset = count * kBlockSize;
    PrintLine(options.json
                  ? JsonLine().Add("type", "tail").Add("offset", offset).Add("bytes", tail).Text()
                  : "short tail of " + std::to_string(tail) + " bytes at offset " +
                        std::to_string(offset));
  }
  if (options.json) {
    PrintLine(JsonLine()
                  .Add("type", "summary")
                  .Add("blocks", count)
                  .Add("bad_blocks", bad)
                  .Add("tail_bytes", tail)
                  .Add("ok", bad == 0 && tail == 0)
                  .Text());
  } else {
    char text[120];
    std::snprintf(text, sizeof text, "%" PRIu64 " blocks, %" PRIu64 " bad%s", count, bad,
                  tail ? ", short tail" : "");
    PrintLine(text);
  }
  std::fflush(stdout);
  if (bad > 0 || tail > 0) throw Failure{kExitFailure, "damaged: " + options.path};
}

}  // namespace

void AddVerifyCommand(CLI::App& app) {
  auto options = std::make_shared<SourceOptions>();
  CLI::App* command = app.add_subcommand("verify", "check every block; exit 1 if any is bad");
  AddSourceOptions(*command, *options);
  command->callback([options] { RunVerify(*options); });
}

}  // namespace dvrtool
