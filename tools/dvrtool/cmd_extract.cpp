// dvrtool extract: copy a raw block range out, by bytes or by recording time.
#include <cinttypes>
#include <cstdio>
#include <memory>
#include <tuple>

#include "cli.h"
#include "commands.h"
#include "evidence_files.h"
#include "media/recording_reader.h"
#include "media/variant.h"
#include "platform/notices.h"
#include "time_range.h"

namespace dvrtool {
namespace {

using dvr::media::kBlockSize;

struct ExtractOptions {
  SourceOptions source;
  std::optional<uint64_t> from, to;
  std::string start, end;
  std::string output = "CAPTURE.NDF";
};

void RunExtract(const ExtractOptions& options) {
  const bool by_bytes = options.from || options.to;
  const bool by_time = !options.start.empty() || !options.end.empty();
  if (by_bytes == by_time) UsageError("give either --from and --to, or --start and --end");
  if (by_bytes && !(options.from && options.to)) UsageError("--from needs --to and --to needs --from");
  if (by_time && (options.start.empty() || options.end.empty())) {
    UsageError("--start needs --end and --end needs --start");
  }

  dvr::platform::StderrNotices notices;
  dvr::media::RecordingReader reader(notices);
  OpenSource(reader, options.source);

  uint64_t from = 0, to = 0;
  if (by_bytes) {
    from = *options.from;
    to = *options.to;
  } else {
    const uint32_t start = TimeField(options.start, "--start");
    const uint32_t end = TimeField(options.end, "--end");
    if (start > end) UsageError("--start lies after --end");
    std::tie(from, to) = ByteRangeForTimes(reader, options.source, start, end);
  }
  const auto span = dvr::media::ExportSpan(from, to, reader.Size());
  if (!span) {
    Fail("the range must run from a lower to a higher byte inside the source (" +
         std::to_string(reader.Size()) + " bytes) and cover at most 1 GiB");
  }
  if (!reader.ExportRange(from, to, options.output)) {
    Fail("nothing copied to " + options.output +
         ": the range could not be read to its end, or the output is the source itself or not "
         "writable");
  }
  const uint64_t end = std::min(span->end, reader.Size());
  char text[200];
  std::snprintf(text, sizeof text,
                "copied blocks %" PRIu64 "..%" PRIu64 " (%" PRIu64 " bytes) to %s",
                span->first / kBlockSize, span->end / kBlockSize - 1, end - span->first,
                options.output.c_str());
  PrintLine(text);

  dvr::exporting::EvidenceFacts facts;
  facts.source_path = options.source.path;
  facts.source_size = reader.Size();
  facts.first_byte = span->first;
  facts.last_byte = end - 1;
  dvr::exporting::ReadRecordingFacts(options.output, reader.Variant(), facts);
  WriteEvidenceFiles(options.output, facts);
}

}  // namespace

void AddExtractCommand(CLI::App& app) {
  auto options = std::make_shared<ExtractOptions>();
  CLI::App* command =
      app.add_subcommand("extract", "copy the blocks of a byte or time range into a new recording");
  AddSourceOptions(*command, options->source, false);
  command->add_option("--from", options->from, "start of the range (rounded down to a block)");
  command->add_option("--to", options->to, "end of the range (rounded up to a block)");
  command->add_option("--start", options->start, "first time, \"YYYY-MM-DD HH:MM:SS\" local");
  command->add_option("--end", options->end, "last time, \"YYYY-MM-DD HH:MM:SS\" local");
  command->add_option("-o,--output", options->output, "output file (default CAPTURE.NDF)");
  command->callback([options] { RunExtract(*options); });
}

}  // namespace dvrtool
