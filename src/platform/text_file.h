#pragma once
// Small text files read whole and replaced whole, so that a reader (or a crash halfway) meets the
// old text or the new one, never a part of either.
#include <string>
#include <string_view>

namespace dvr::platform {

enum class ReadOutcome { kRead, kMissing, kFailed };
// kMissing when there is no such file; kFailed (with `error` set) when one exists but cannot be
// read, a folder included.
ReadOutcome ReadTextFile(const std::string& path, std::string& text, std::string& error);

// Creates the folder when it is missing, writes `text` to a temporary file beside `path`, flushes
// it to the disk and renames it over `path`, which keeps its permissions (a new file is private to
// the user). On a failure the old file is untouched, no temporary is left and `error` reads
// "cannot write PATH: REASON".
bool ReplaceFile(const std::string& path, std::string_view text, std::string& error);

}  // namespace dvr::platform
