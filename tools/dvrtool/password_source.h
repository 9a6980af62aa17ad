#pragma once
// Where dvrtool connect takes the login password from, so that an unattended session need not
// show it in the process list: a file, the environment, or (typed in by hand) the command line.
#include <optional>
#include <string>

namespace dvrtool {

// The environment variables that carry the password or name its file; set but empty counts as
// not set, the way an environment file leaves a value out.
inline constexpr const char* kPasswordVariable = "DVR_PASSWORD";
inline constexpr const char* kPasswordFileVariable = "DVR_PASSWORD_FILE";

// Exactly one of `argument` (--password), `file` (--password-file) and the two environment
// variables must give the password: none or two is a usage error. A file gives its first line
// without the line end, and a file that group or others may read is named in a warning on stderr.
// An empty password is taken when given explicitly (an empty --password or an empty file). Fails
// when the file cannot be read.
std::string ResolvePassword(const std::optional<std::string>& argument,
                            const std::optional<std::string>& file);

}  // namespace dvrtool
