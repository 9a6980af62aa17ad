#pragma once
// The viewer's command line: a recording to open, or "/IP:" and "/PORT:" for a session with the
// login dialog at start. Qt-free.
#include <string>
#include <vector>

namespace dvr::app {

struct CommandLine {
  std::string file;       // the recording to open; empty when none (never a "/IP:" line)
  std::string address;    // "/IP:" value, up to 31 characters
  std::string port;       // "/PORT:" value, up to 31 characters
  bool connect_at_start = false;  // both values present
};

// `arguments` are the words after the program name. Each "/IP:" and "/PORT:" value runs to the
// next blank (word) or the end. A line that carries either option is not taken as a file.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// True when the words ask only for the version ("--version" or "-v" before any "--"). The viewer
// answers it before the window system starts, so that it works without a display.
bool AsksForVersion(const std::vector<std::string>& arguments);

}  // namespace dvr::app
