#pragma once
// What every dvrtool subcommand shares: exit codes, failures, the source options, opening a source.
#include <CLI/CLI.hpp>

#include <string>

#include "media/ndf_time.h"
#include "media/recording_reader.h"
#include "platform/json_line.h"

namespace dvrtool {

using dvr::platform::JsonLine;  // what --json prints

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // something the user must see went wrong
inline constexpr int kExitUsage = 2;    // the command line itself is wrong

// Ends the subcommand: main prints "dvrtool: <message>" and exits with `code`.
struct Failure {
  int code;
  std::string message;
};
[[noreturn]] void Fail(std::string message);
[[noreturn]] void UsageError(std::string message);

// FILE [--variant V] [--disk] [--json]
struct SourceOptions {
  std::string path;
  std::string variant;
  bool disk = false;
  bool json = false;
};
void AddSourceOptions(CLI::App& command, SourceOptions& options, bool with_json = true);

// A variant code 0..6 or name; empty means the build's. Bad text is a usage error.
int ResolveVariant(const std::string& text);
// Opens the source or fails with a clear line.
void OpenSource(dvr::media::RecordingReader& reader, const SourceOptions& options);

// Seconds of recording time between two block times (local standard time, one calendar).
int64_t SecondsBetween(const dvr::media::FrameTime& a, const dvr::media::FrameTime& b);

// One line on standard output.
void PrintLine(const std::string& line);

// Ctrl+C and SIGTERM from now on only set a mark, which Interrupted reads.
void CatchInterrupts();
bool Interrupted();

}  // namespace dvrtool
