// dvrtool info: what a recording or disk holds, at a glance.
#include <array>
#include <cinttypes>
#include <cstdio>
#include <memory>
#include <optional>

#include "cli.h"
#include "commands.h"
#include "frame_walk.h"
#include "media/block_scan.h"
#include "media/media_frame.h"
#include "media/recording_reader.h"
#include "media/variant.h"
#include "platform/local_time.h"
#include "platform/notices.h"

namespace dvrtool {
namespace {

using dvr::media::FormatFrameTime;

struct Summary {
  uint64_t size = 0;
  uint64_t blocks = 0;
  uint64_t bad_blocks = 0;
  std::optional<uint32_t> first_time, last_time;  // of the first and last good block
  std::array<uint64_t, 16> video{};
  std::array<uint64_t, 4> audio{};
};

void CountFrames(dvr::media::RecordingReader& reader, Summary& summary) {
  FrameWalk walk(reader, false, false);
  for (FrameWalk::Step step; (step = walk.Next()) != FrameWalk::Step::kEnd;) {
    if (step != FrameWalk::Step::kFrame) continue;
    const dvr::media::MediaFrame& frame = walk.Frame();
    if (frame.is_audio) {
      ++summary.audio[frame.channel & 3];
    } else {
      ++summary.video[frame.channel & 15];
    }
  }
}

template <size_t N>
std::string CountsJson(const std::array<uint64_t, N>& counts) {
  std::string json = "{";
  for (size_t channel = 0; channel < N; ++channel) {
    if (counts[channel] == 0) continue;
    if (json.size() > 1) json += ',';
    json += "\"" + std::to_string(channel) + "\":" + std::to_string(counts[channel]);
  }
  return json + "}";
}

template <size_t N>
std::string CountsText(const std::array<uint64_t, N>& counts) {
  std::string text;
  for (size_t channel = 0; channel < N; ++channel) {
    if (counts[channel] == 0) continue;
    text += "  ch" + std::to_string(channel) + " " + std::to_string(counts[channel]);
  }
  return text.empty() ? "  none" : text;
}

void RunInfo(const SourceOptions& options) {
  dvr::platform::StderrNotices notices;
  dvr::media::RecordingReader reader(notices);
  OpenSource(reader, options);
  Summary summary;
  summary.size = reader.Size();

  dvr::media::BlockSource blocks;
  if (!blocks.Open(options.path, options.disk)) Fail("cannot open " + options.path);
  const bool big_endian = reader.Variant() == dvr::media::kBigEndianVariant;
  summary.blocks = dvr::media::ScanBlocks(
      blocks, big_endian, [&](uint64_t, const dvr::media::BlockHeader& header, bool good) {
        if (!good) {
          ++summary.bad_blocks;
          return;
        }
        if (!summary.first_time) summary.first_time = header.time;
        summary.last_time = header.time;
      });
  CountFrames(reader, summary);

  const int32_t bias = dvr::platform::StandardBiasSeconds();
  const int64_t duration =
      summary.first_time ? int64_t{*summary.last_time} - int64_t{*summary.first_time} : 0;
  auto time_text = [bias](std::optional<uint32_t> field) {
    return field ? FormatFrameTime(dvr::media::ConvertTime(*field, bias)) : std::string();
  };

  if (options.json) {
    JsonLine line;
    line.Add("size", summary.size)
        .Add("blocks", summary.blocks)
        .Add("bad_blocks", summary.bad_blocks)
        .Add("tail_bytes", summary.size % dvr::media::kBlockSize)
        .Add("variant", dvr::media::VariantName(reader.Variant()))
        .AddRaw("video", CountsJson(summary.video))
        .AddRaw("audio", CountsJson(summary.audio));
    summary.first_time ? line.Add("first_time", time_text(summary.first_time))
                       : line.AddNull("first_time");
    summary.last_time ? line.Add("last_time", time_text(summary.last_time))
                      : line.AddNull("last_time");
    line.Add("duration_seconds", duration);
    duration > 0 ? line.Add("bytes_per_second", static_cast<double>(summary.size) / duration)
                 : line.AddNull("bytes_per_second");
    PrintLine(line.Text());
    return;
  }
  char text[200];
  std::snprintf(text, sizeof text, "source     %s%s", options.path.c_str(),
                options.disk ? " (disk)" : "");
  PrintLine(text);
  std::snprintf(text, sizeof text, "size       %" PRIu64 " bytes, %" PRIu64 " blocks, %" PRIu64
                " bad, %" PRIu64 " bytes after the last whole block",
                summary.size, summary.blocks, summary.bad_blocks,
                summary.size % dvr::media::kBlockSize);
  PrintLine(text);
  PrintLine("variant    " + std::string(dvr::media::VariantName(reader.Variant())));
  PrintLine("video      " + CountsText(summary.video).substr(2));
  PrintLine("audio      " + CountsText(summary.audio).substr(2));
  PrintLine("first      " + (summary.first_time ? time_text(summary.first_time) : "-"));
  PrintLine("last       " + (summary.last_time ? time_text(summary.last_time) : "-"));
  std::snprintf(text, sizeof text, "duration   %" PRId64 " s (%02" PRId64 ":%02" PRId64 ":%02" PRId64 ")",
                duration, duration / 3600, duration / 60 % 60, duration % 60);
  PrintLine(text);
  if (duration > 0) {
    std::snprintf(text, sizeof text, "rate       %.0f bytes/s",
                  static_cast<double>(summary.size) / static_cast<double>(duration));
    PrintLine(text);
  }
}

}  // namespace

void AddInfoCommand(CLI::App& app) {
  auto options = std::make_shared<SourceOptions>();
  CLI::App* command = app.add_subcommand("info", "sizes, blocks, frames per channel and times");
  AddSourceOptions(*command, *options);
  command->callback([options] { RunInfo(*options); });
}

}  // namespace dvrtool
