// dvrtool timeline: when a recording or disk recorded, where, and where it cannot be read.
#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <memory>
#include <vector>

#include "cli.h"
#include "commands.h"
#include "media/ndf_format.h"
#include "media/time_map.h"
#include "media/variant.h"
#include "time_range.h"
#include "platform/local_time.h"

namespace dvrtool {
namespace {

using dvr::media::kBlockSize;

// One line of the timeline and the recording time it sorts by.
struct Entry {
  uint32_t time = 0;
  int rank = 0;  // at one time: a span, then a bad stretch at its end, then the gap after it
  std::string text;
};

std::string TimeText(uint32_t field) {
  return dvr::media::FormatFrameTime(
      dvr::media::ConvertTime(field, dvr::platform::StandardBiasSeconds()));
}

std::string BlocksText(uint64_t first, uint64_t end) {
  char text[160];
  std::snprintf(text, sizeof text,
                "bytes %" PRIu64 "..%" PRIu64 "  blocks %" PRIu64 "..%" PRIu64 " (%" PRIu64 ")",
                first * kBlockSize, end * kBlockSize - 1, first, end - 1, end - first);
  return text;
}

JsonLine& AddBlocks(JsonLine& line, uint64_t first, uint64_t end) {
  return line.Add("first_byte", first * kBlockSize)
      .Add("last_byte", end * kBlockSize - 1)
      .Add("first_block", first)
      .Add("blocks", end - first);
}

// Where a bad stretch falls in recording time: inside or at the end of the span around it, else
// at the start of the span after it.
uint32_t TimeOfStretch(const dvr::media::TimeMap& map, const dvr::media::BadStretch& bad) {
  for (const auto& span : map.spans) {
    if (span.first_block <= bad.first_block && bad.first_block <= span.end_block) {
      const double share = double(bad.first_block - span.first_block) /
                           double(std::max<uint64_t>(1, span.end_block - span.first_block));
      return span.start_time + uint32_t(share * double(span.end_time - span.start_time));
    }
  }
  for (const auto& span : map.spans) {
    if (span.first_block == bad.end_block) return span.start_time;
  }
  return 0;
}

std::vector<Entry> Entries(const dvr::media::TimeMap& map, bool json) {
  std::vector<Entry> entries;
  for (const auto& span : map.spans) {
    JsonLine line;
    line.Add("type", "span")
        .Add("start", TimeText(span.start_time))
        .Add("end", TimeText(span.end_time));
    entries.push_back({span.start_time, 0,
                       json ? AddBlocks(line, span.first_block, span.end_block).Text()
                            : "span   " + TimeText(span.start_time) + " .. " +
                                  TimeText(span.end_time) + "  " +
                                  BlocksText(span.first_block, span.end_block)});
  }
  for (const auto& bad : map.bad) {
    const char* kind = bad.blank ? "blank" : "bad";
    JsonLine line;
    line.Add("type", kind);
    entries.push_back({TimeOfStretch(map, bad), 1,
                       json ? AddBlocks(line, bad.first_block, bad.end_block).Text()
                            : std::string(kind) + (bad.blank ? "  " : "    ") +
                                  BlocksText(bad.first_block, bad.end_block)});
  }
  for (const auto& gap : map.gaps) {
    const uint64_t seconds = gap.before - gap.after;
    JsonLine line;
    line.Add("type", "gap")
        .Add("after", TimeText(gap.after))
        .Add("before", TimeText(gap.before))
        .Add("seconds", seconds);
    entries.push_back({gap.after, 2,
                       json ? line.Text()
                            : "gap    " + TimeText(gap.after) + " .. " + TimeText(gap.before) +
                                  "  " + std::to_string(seconds) + " s"});
  }
  std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    return a.time != b.time ? a.time < b.time : a.rank < b.rank;
  });
  return entries;
}

template <typename Mask>
std::vector<int> Channels(Mask mask) {
  std::vector<int> channels;
  for (int c = 0; c < int(sizeof(Mask) * 8); ++c) {
    if (mask >> c & 1u) channels.push_back(c);
  }
  return channels;
}

std::string ChannelsJson(const std::vector<int>& channels) {
  std::string json = "[";
  for (const int c : channels) json += (json.size() > 1 ? "," : "") + std::to_string(c);
  return json + "]";
}

std::string ChannelsText(const std::vector<int>& channels) {
  std::string text;
  for (const int c : channels) text += " " + std::to_string(c);
  return text.empty() ? " none" : text;
}

void RunTimeline(const SourceOptions& options) {
  dvr::media::BlockSource blocks;
  if (!blocks.Open(options.path, options.disk)) Fail("cannot open " + options.path);
  const dvr::media::TimeMap map = ExactTimeMap(blocks, ResolveVariant(options.variant));
  for (const Entry& entry : Entries(map, options.json)) PrintLine(entry.text);

  const auto video = Channels(map.video_channels), audio = Channels(map.audio_channels);
  if (options.json) {
    PrintLine(JsonLine()
                  .Add("type", "map")
                  .Add("blocks", map.block_count)
                  .Add("reads", map.reads)
                  .Add("complete", map.complete)
                  .AddRaw("video", ChannelsJson(video))
                  .AddRaw("audio", ChannelsJson(audio))
                  .Text());
    return;
  }
  char text[200];
  std::snprintf(text, sizeof text, "map    %" PRIu64 " blocks, %" PRIu64 " read%s", map.block_count,
                map.reads, map.complete ? "" : ", not every edge found");
  PrintLine(text);
  PrintLine("video  channels" + ChannelsText(video) + " (in the blocks read)");
  PrintLine("audio  channels" + ChannelsText(audio));
}

}  // namespace

void AddTimelineCommand(CLI::App& app) {
  auto options = std::make_shared<SourceOptions>();
  CLI::App* command = app.add_subcommand(
      "timeline", "recorded spans, gaps and bad stretches in time order, from a sample of blocks");
  AddSourceOptions(*command, *options);
  command->callback([options] { RunTimeline(*options); });
}

}  // namespace dvrtool
