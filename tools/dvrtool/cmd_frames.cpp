// dvrtool frames: every frame the reader delivers, in walking order.
#include <cinttypes>
#include <cstdio>
#include <memory>

#include "cli.h"
#include "commands.h"
#include "json_line.h"
#include "media/media_frame.h"
#include "media/recording_reader.h"
#include "platform/md5.h"
#include "platform/notices.h"

namespace dvrtool {
namespace {

struct FramesOptions {
  SourceOptions source;
  bool backward = false;
};

std::string FrameLine(uint64_t index, uint64_t offset, const dvr::media::MediaFrame& frame,
                      bool json) {
  const bool valid_time = dvr::media::IsValidFrameTime(frame.time);
  const std::string time = valid_time ? dvr::media::FormatFrameTime(frame.time) : "";
  const std::string md5 = dvr::platform::Md5Hex(frame.payload.data(), frame.length);
  if (json) {
    JsonLine line;
    line.Add("index", index)
        .Add("offset", offset)
        .Add("type", frame.is_audio ? "audio" : "video")
        .Add("channel", frame.channel)
        .Add("length", frame.length)
        .Add("pacing", uint32_t{frame.pacing});
    valid_time ? line.Add("time", time) : line.AddNull("time");
    return line.Add("payload_md5", md5).Text();
  }
  char text[160];
  std::snprintf(text, sizeof text, "%6" PRIu64 " @%-12" PRIu64 " %-5s ch%-2u %7u bytes  pacing %-3u %s  %s",
                index, offset, frame.is_audio ? "audio" : "video", frame.channel, frame.length,
                frame.pacing, valid_time ? time.c_str() : "(no time)          ", md5.c_str());
  return text;
}

void RunFrames(const FramesOptions& options) {
  dvr::platform::StderrNotices notices;
  dvr::media::RecordingReader reader(notices);
  OpenSource(reader, options.source);
  if (options.backward) reader.SetPositionToEnd();

  dvr::media::MediaFrame frame(dvr::media::kFrameCapacity);
  for (uint64_t index = 0;;) {
    frame.length = options.backward ? reader.PreviousFrame(frame.payload)
                                    : reader.NextFrame(frame.payload);
    if (frame.length == 0) {
      if (!reader.LastBlockBad()) break;  // the end: no block left to read
      // The position has moved past the bad block: to its end forward, to its start backward.
      const uint64_t after = reader.Position();
      const uint64_t bad_block = options.backward ? after : after - dvr::media::kBlockSize;
      PrintLine(options.source.json
                    ? JsonLine().Add("type", "skip").Add("offset", bad_block).Text()
                    : "     - @" + std::to_string(bad_block) + " bad block skipped");
      continue;
    }
    reader.DescribeFrame(frame);
    PrintLine(FrameLine(index++, reader.FrameOffset(), frame, options.source.json));
  }
}

}  // namespace

void AddFramesCommand(CLI::App& app) {
  auto options = std::make_shared<FramesOptions>();
  CLI::App* command = app.add_subcommand("frames", "list every frame of a recording or disk");
  AddSourceOptions(*command, options->source);
  command->add_flag("--backward", options->backward, "walk from the end toward the start");
  command->callback([options] { RunFrames(*options); });
}

}  // namespace dvrtool
