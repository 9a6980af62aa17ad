#pragma once
// Files and raw drives: the byte access the recording reader and writers need. A whole-disk block
// device opens like a file; its size comes from the device.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace dvr::platform {

// What a read delivered. Fewer bytes than asked, not failed: the file ends there.
struct ReadResult {
  size_t bytes = 0;
  bool failed = false;  // the device reported an error before the bytes asked for were read
};

class File {
 public:
  File() = default;
  ~File() { Close(); }
  File(File&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  // Opens an existing file or device for reading; other readers and writers are not locked out.
  // Directories are refused.
  bool OpenRead(const std::string& path);
  // Creates a file for writing, truncating one that exists.
  bool Create(const std::string& path);
  // Creates a file for writing that does not exist yet; false when one is there already.
  bool CreateNew(const std::string& path);
  void Close();
  bool IsOpen() const { return fd_ >= 0; }

  bool IsBlockDevice() const;
  // Byte size of a regular file, or the capacity of a block device.
  std::optional<uint64_t> Size() const;
  // Logical sector size of a block device; 512 for anything else.
  uint32_t SectorSize() const;
  // True when both refer to the same file on the same device.
  bool SameFileAs(const std::string& path) const;

  // Reads up to n bytes at a 64-bit offset without moving the position.
  ReadResult ReadAt(uint64_t offset, void* buffer, size_t n) const;
  bool Write(const void* data, size_t n);
  // Writes at a 64-bit offset without moving the position.
  bool WriteAt(uint64_t offset, const void* data, size_t n);
  bool Truncate(uint64_t size);

 private:
  int fd_ = -1;
};

// Removes a file; false if it could not be removed.
bool RemoveFile(const std::string& path);
// The file name's extension in lower case, without the dot ("" when it has none).
std::string FileExtension(const std::string& path);

}  // namespace dvr::platform
