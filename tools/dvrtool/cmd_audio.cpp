// dvrtool audio: the audio of a recording as a WAV file.
#include <cstdio>
#include <memory>
#include <vector>

#include "audio/audio_converter.h"
#include "cli.h"
#include "commands.h"
#include "frame_walk.h"
#include "platform/notices.h"
#include "wav_file.h"

namespace dvrtool {
namespace {

struct AudioOptions {
  SourceOptions source;
  std::string output;
  std::string format;
  int channel = -1;  // all
};

void RunAudio(const AudioOptions& options) {
  const std::string format_name = options.format.empty() ? std::string(dvr::audio::BuildAudioFormat()) : options.format;
  const auto code = dvr::audio::ParseAudioFormat(format_name);
  if (!code) UsageError("unknown audio format '" + format_name + "' (use 1..6 or QM_UPCM8 .. QM_MLAW)");
  if (options.channel < -1 || options.channel > 3) UsageError("--channel takes 0..3");

  dvr::platform::StderrNotices notices;
  dvr::media::RecordingReader reader(notices);
  OpenSource(reader, options.source);
  dvr::audio::AudioConverter converter;
  dvr::audio::WaveFormat format;
  converter.SetFormat(*code, dvr::audio::kSampleRate, &format);

  WavFile wav;
  if (!wav.Create(options.output, dvr::audio::kSampleRate, format.bits_per_sample)) {
    Fail("cannot create " + options.output);
  }
  std::vector<uint8_t> pcm(2 * dvr::media::kFrameCapacity);
  uint64_t frames = 0;
  FrameWalk walk(reader, false, false);
  for (FrameWalk::Step step; (step = walk.Next()) != FrameWalk::Step::kEnd;) {
    if (step != FrameWalk::Step::kFrame) continue;
    const dvr::media::MediaFrame& frame = walk.Frame();
    if (!frame.is_audio || (options.channel >= 0 && frame.channel != static_cast<uint32_t>(options.channel))) continue;
    uint32_t length = 0;
    converter.Convert(frame.payload.data(), frame.length, pcm.data(), &length);
    if (!wav.Append(pcm.data(), length)) Fail("cannot write " + options.output);
    ++frames;
  }
  if (frames == 0) Fail("no audio frames" + (options.channel >= 0 ? " on channel " + std::to_string(options.channel) : std::string()) + " in " + options.source.path);
  if (!wav.Finish()) Fail("cannot write " + options.output);
  const uint64_t samples = wav.DataBytes() / (format.bits_per_sample / 8);
  char text[240];
  std::snprintf(text, sizeof text, "wrote %s: %llu audio frames, %llu samples, %.3f seconds (%s as %d-bit PCM)",
                options.output.c_str(), static_cast<unsigned long long>(frames),
                static_cast<unsigned long long>(samples), static_cast<double>(samples) / dvr::audio::kSampleRate,
                std::string(dvr::audio::AudioFormatName(*code)).c_str(), format.bits_per_sample);
  PrintLine(text);
}

}  // namespace

void AddAudioCommand(CLI::App& app) {
  auto options = std::make_shared<AudioOptions>();
  CLI::App* command = app.add_subcommand("audio", "write the audio of a recording as a WAV file");
  AddSourceOptions(*command, options->source, false);
  command->add_option("-o,--output", options->output, "WAV file to write")->required();
  command->add_option("--audio-format", options->format,
                      "sample format 1..6 or its name (QM_UPCM8 .. QM_MLAW); default the build's");
  command->add_option("--channel", options->channel, "only audio channel 0..3");
  command->callback([options] { RunAudio(*options); });
}

}  // namespace dvrtool
