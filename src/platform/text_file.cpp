#include "platform/text_file.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace dvr::platform {
namespace {

// 0, or the error number of the write that failed.
int WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = ::write(fd, text.data(), text.size());
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) return errno;
    if (written == 0) return EIO;
    text.remove_prefix(static_cast<size_t>(written));
  }
  return 0;
}

// Makes a finished rename durable; a folder that cannot be opened or synced changes nothing.
void SyncFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

ReadOutcome ReadTextFile(const std::string& path, std::string& text, std::string& error) {
  text.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0 && (errno == ENOENT || errno == ENOTDIR)) return ReadOutcome::kMissing;
  int code = fd < 0 ? errno : 0;
  struct stat info {};
  if (code == 0 && ::fstat(fd, &info) != 0) code = errno;
  if (code == 0 && S_ISDIR(info.st_mode)) code = EISDIR;
  char buffer[4096];
  while (code == 0) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got == 0) break;
    if (got > 0) {
      text.append(buffer, static_cast<size_t>(got));
    } else if (errno != EINTR) {
      code = errno;
    }
  }
  if (fd >= 0) ::close(fd);
  if (code == 0) return ReadOutcome::kRead;
  text.clear();
  error = "cannot read " + path + ": " + std::strerror(code);
  return ReadOutcome::kFailed;
}

bool ReplaceFile(const std::string& path, std::string_view text, std::string& error) {
  const auto fail = [&](int code) {
    error = "cannot write " + path + ": " + std::strerror(code);
    return false;
  };
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  std::error_code folder_error;
  if (!folder.empty() && !std::filesystem::is_directory(folder, folder_error)) {
    std::filesystem::create_directories(folder, folder_error);
    if (folder_error) return fail(folder_error.value());
  }
  std::string temporary = path + ".XXXXXX";
  const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return fail(errno);
  struct stat old {};
  if (::stat(path.c_str(), &old) == 0) ::fchmod(fd, old.st_mode & 07777);
  int code = WriteAll(fd, text);
  if (code == 0 && ::fsync(fd) != 0) code = errno;
  if (::close(fd) != 0 && code == 0) code = errno;
  if (code == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) code = errno;
  if (code != 0) {
    ::unlink(temporary.c_str());
    return fail(code);
  }
  SyncFolder(folder);
  return true;
}

}  // namespace dvr::platform
