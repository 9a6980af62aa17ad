// dvrtool decode: the picture of one video frame as an image file.
#include <memory>

#include "cli.h"
#include "commands.h"
#include "frame_walk.h"
#include "image_files.h"
#include "platform/notices.h"

namespace dvrtool {
namespace {

struct DecodeOptions {
  SourceOptions source;
  uint64_t index = 0;
  std::string output;
  bool double_height = false;
};

void RunDecode(const DecodeOptions& options) {
  dvr::platform::StderrNotices notices;
  dvr::media::RecordingReader reader(notices);
  OpenSource(reader, options.source);
  // Every video frame before it is decoded too: a partial frame builds on its channel's last picture.
  FrameWalk walk(reader, false, true);
  for (;;) {
    const FrameWalk::Step step = walk.Next();
    if (step == FrameWalk::Step::kEnd) {
      Fail(options.source.path + " has no frame " + std::to_string(options.index));
    }
    if (step == FrameWalk::Step::kBadBlock || walk.Index() < options.index) continue;
    if (walk.Frame().is_audio) Fail("frame " + std::to_string(options.index) + " is an audio frame");
    if (!walk.Decoded()) Fail("frame " + std::to_string(options.index) + " does not decode");
    std::string error;
    if (!WritePictureFile(options.output, walk.Picture(), walk.PictureWidth(), walk.PictureHeight(),
                          options.double_height, error)) {
      Fail(error);
    }
    PrintLine("wrote " + options.output + ": channel " + std::to_string(walk.Decoder().Channel()) + ", " +
              std::to_string(walk.PictureWidth()) + "x" +
              std::to_string(walk.PictureHeight() * (options.double_height ? 2 : 1)));
    return;
  }
}

}  // namespace

void AddDecodeCommand(CLI::App& app) {
  auto options = std::make_shared<DecodeOptions>();
  CLI::App* command = app.add_subcommand("decode", "write the picture of one video frame");
  AddSourceOptions(*command, options->source, false);
  command->add_option("--index", options->index, "the frame's index, as `frames` counts")->required();
  command->add_option("-o,--output", options->output, "image file: .bmp, .ppm, .png or .yuv")->required();
  command->add_flag("--double", options->double_height, "every row twice: the height the viewer shows");
  command->callback([options] { RunDecode(*options); });
}

}  // namespace dvrtool
