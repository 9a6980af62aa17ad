// dvrtool frames: every frame the reader delivers, in walking order.
#include <cinttypes>
#include <cstdio>
#include <memory>

#include "cli.h"
#include "commands.h"
#include "frame_walk.h"
#include "platform/md5.h"
#include "platform/notices.h"

namespace dvrtool {
namespace {

struct FramesOptions {
  SourceOptions source;
  bool backward = false;
  bool decode = false;
};

std::string FrameLine(const FrameWalk& walk, bool decode, bool json) {
  const dvr::media::MediaFrame& frame = walk.Frame();
  const bool valid_time = dvr::media::IsValidFrameTime(frame.time);
  const std::string time = valid_time ? dvr::media::FormatFrameTime(frame.time) : "";
  const std::string md5 = dvr::platform::Md5Hex(frame.payload.data(), frame.length);
  const bool with_picture = decode && !frame.is_audio;
  const dvr::codec::FrameDecoder& decoder = walk.Decoder();
  const std::string picture_md5 =
      with_picture ? dvr::platform::Md5Hex(walk.Picture(), size_t{walk.PictureWidth()} * walk.PictureHeight() * 3 / 2)
                   : "";
  if (json) {
    JsonLine line;
    line.Add("index", walk.Index())
        .Add("offset", walk.Offset())
        .Add("type", frame.is_audio ? "audio" : "video")
        .Add("channel", frame.channel)
        .Add("length", frame.length)
        .Add("pacing", uint32_t{frame.pacing});
    valid_time ? line.Add("time", time) : line.AddNull("time");
    line.Add("payload_md5", md5);
    if (with_picture) {
      line.Add("quality", decoder.quality())
          .Add("full_frame", decoder.full_frame())
          .Add("dual", decoder.dual())
          .Add("width", decoder.PictureWidth())
          .Add("height", decoder.PictureHeight())
          .Add("decoded", walk.Decoded())
          .Add("picture_md5", picture_md5);
    }
    return line.Text();
  }
  char text[240];
  int n = std::snprintf(text, sizeof text, "%6" PRIu64 " @%-12" PRIu64 " %-5s ch%-2u %7u bytes  pacing %-3u %s  %s",
                        walk.Index(), walk.Offset(), frame.is_audio ? "audio" : "video", frame.channel,
                        frame.length, frame.pacing, valid_time ? time.c_str() : "(no time)          ",
                        md5.c_str());
  if (with_picture && n > 0 && static_cast<size_t>(n) < sizeof text) {
    std::snprintf(text + n, sizeof text - static_cast<size_t>(n), "  q%-2d %s %ux%u %s", decoder.quality(),
                  decoder.full_frame() ? "full" : "part", decoder.PictureWidth(), decoder.PictureHeight(),
                  walk.Decoded() ? picture_md5.c_str() : "not decoded");
  }
  return text;
}

void RunFrames(const FramesOptions& options) {
  dvr::platform::StderrNotices notices;
  dvr::media::RecordingReader reader(notices);
  OpenSource(reader, options.source);
  FrameWalk walk(reader, options.backward, options.decode);
  for (;;) {
    const FrameWalk::Step step = walk.Next();
    if (step == FrameWalk::Step::kEnd) break;
    if (step == FrameWalk::Step::kBadBlock) {
      PrintLine(options.source.json
                    ? JsonLine().Add("type", "skip").Add("offset", walk.BadBlockOffset()).Text()
                    : "     - @" + std::to_string(walk.BadBlockOffset()) + " bad block skipped");
      continue;
    }
    PrintLine(FrameLine(walk, options.decode, options.source.json));
  }
}

}  // namespace

void AddFramesCommand(CLI::App& app) {
  auto options = std::make_shared<FramesOptions>();
  CLI::App* command = app.add_subcommand("frames", "list every frame of a recording or disk");
  AddSourceOptions(*command, options->source);
  command->add_flag("--backward", options->backward, "walk from the end toward the start");
  command->add_flag("--decode", options->decode,
                    "decode every video frame; add its header fields and picture digest");
  command->callback([options] { RunFrames(*options); });
}

}  // namespace dvrtool
