#include "cli.h"

#include <csignal>
#include <cstdio>

#include "media/variant.h"

namespace dvrtool {

void Fail(std::string message) { throw Failure{kExitFailure, std::move(message)}; }
void UsageError(std::string message) { throw Failure{kExitUsage, std::move(message)}; }

void AddSourceOptions(CLI::App& command, SourceOptions& options, bool with_json) {
  command.add_option("FILE", options.path, "NDF recording, or a disk or disk image with --disk")
      ->required();
  command.add_option("--variant", options.variant,
                     "video variant 0..6 or its name (QM_QM4 .. QM_QMC); default the build's");
  command.add_flag("--disk", options.disk, "read a DVR disk: byte pairs exchanged in every block");
  if (with_json) command.add_flag("--json", options.json, "one JSON object per line");
}

int ResolveVariant(const std::string& text) {
  const std::string name = text.empty() ? std::string(dvr::media::BuildVideoFormat()) : text;
  const auto code = dvr::media::ParseVariant(name);
  if (!code) UsageError("unknown video variant '" + name + "' (use 0..6 or QM_QM4 .. QM_QMC)");
  return *code;
}

void OpenSource(dvr::media::RecordingReader& reader, const SourceOptions& options) {
  reader.SetVariant(ResolveVariant(options.variant));
  if (!reader.Open(options.path, options.disk)) {
    Fail("cannot open " + options.path + (options.disk ? " as a disk" : ""));
  }
}

int64_t SecondsBetween(const dvr::media::FrameTime& a, const dvr::media::FrameTime& b) {
  const auto ta = dvr::media::ToTimeField(a, 0), tb = dvr::media::ToTimeField(b, 0);
  return ta && tb ? int64_t{*tb} - int64_t{*ta} : 0;
}

namespace {

volatile std::sig_atomic_t interrupted = 0;
void OnInterrupt(int) { interrupted = 1; }

}  // namespace

void CatchInterrupts() {
  std::signal(SIGINT, OnInterrupt);
  std::signal(SIGTERM, OnInterrupt);
}

bool Interrupted() { return interrupted != 0; }

void PrintLine(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
}

}  // namespace dvrtool
