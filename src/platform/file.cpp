#include "platform/file.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>

namespace dvr::platform {

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

bool File::OpenRead(const std::string& path) {
  Close();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

bool File::Create(const std::string& path) {
  Close();
  fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  return fd_ >= 0;
}

bool File::CreateNew(const std::string& path) {
  Close();
  fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  return fd_ >= 0;
}

void File::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

bool File::IsBlockDevice() const {
  struct stat info {};
  return fd_ >= 0 && ::fstat(fd_, &info) == 0 && S_ISBLK(info.st_mode);
}

std::optional<uint64_t> File::Size() const {
  struct stat info {};
  if (fd_ < 0 || ::fstat(fd_, &info) != 0) return std::nullopt;
  if (S_ISBLK(info.st_mode)) {
    uint64_t bytes = 0;
    if (::ioctl(fd_, BLKGETSIZE64, &bytes) != 0) return std::nullopt;
    return bytes;
  }
  return static_cast<uint64_t>(info.st_size);
}

uint32_t File::SectorSize() const {
  int sector = 0;
  if (IsBlockDevice() && ::ioctl(fd_, BLKSSZGET, &sector) == 0 && sector > 0) {
    return static_cast<uint32_t>(sector);
  }
  return 512;
}

bool File::SameFileAs(const std::string& path) const {
  struct stat mine {}, other {};
  if (fd_ < 0 || ::fstat(fd_, &mine) != 0 || ::stat(path.c_str(), &other) != 0) return false;
  return mine.st_dev == other.st_dev && mine.st_ino == other.st_ino;
}

ReadResult File::ReadAt(uint64_t offset, void* buffer, size_t n) const {
  ReadResult result;
  while (fd_ >= 0 && result.bytes < n) {
    const ssize_t got = ::pread(fd_, static_cast<char*>(buffer) + result.bytes, n - result.bytes,
                                static_cast<off_t>(offset + result.bytes));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) result.failed = true;
    if (got <= 0) break;
    result.bytes += static_cast<size_t>(got);
  }
  return result;
}

bool File::Write(const void* data, size_t n) {
  size_t done = 0;
  while (fd_ >= 0 && done < n) {
    const ssize_t put = ::write(fd_, static_cast<const char*>(data) + done, n - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    done += static_cast<size_t>(put);
  }
  return fd_ >= 0;
}

bool File::WriteAt(uint64_t offset, const void* data, size_t n) {
  size_t done = 0;
  while (fd_ >= 0 && done < n) {
    const ssize_t put = ::pwrite(fd_, static_cast<const char*>(data) + done, n - done,
                                 static_cast<off_t>(offset + done));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    done += static_cast<size_t>(put);
  }
  return fd_ >= 0;
}

bool File::Truncate(uint64_t size) { return fd_ >= 0 && ::ftruncate(fd_, static_cast<off_t>(size)) == 0; }

bool RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

std::string FileExtension(const std::string& path) {
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return "";
  std::string ext = path.substr(dot + 1);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

}  // namespace dvr::platform
