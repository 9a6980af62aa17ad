#include "export/evidence.h"

#include <openssl/evp.h>

#include <ctime>
#include <filesystem>
#include <memory>
#include <vector>

#include "platform/file.h"
#include "platform/json_line.h"
#include "platform/md5.h"
#include "platform/text_file.h"
#include "platform/version.h"

namespace dvr::exporting {
namespace {

constexpr size_t kHashChunk = 1 << 20;

// The line `sha256sum -c` reads. A name with a backslash or a line break is written the way
// sha256sum itself writes one: the line begins with a backslash and those characters are escaped.
std::string ChecksumLine(const std::string& hex, const std::string& name) {
  std::string escaped;
  for (const char c : name) {
    if (c == '\\') {
      escaped += "\\\\";
    } else if (c == '\n') {
      escaped += "\\n";
    } else {
      escaped += c;
    }
  }
  return (escaped == name ? "" : "\\") + hex + "  " + escaped + "\n";
}

// Channels of a bit set as the numbers users see (1-based), as a JSON array.
std::string ChannelList(uint32_t bits) {
  std::string list = "[";
  for (int c = 0; c < 32; ++c) {
    if ((bits >> c & 1) == 0) continue;
    if (list.size() > 1) list += ',';
    list += std::to_string(c + 1);
  }
  return list + "]";
}

platform::JsonLine& AddPicture(platform::JsonLine& line, const char* key,
                               const std::optional<media::FrameTime>& time) {
  return time ? line.Add(key, media::FormatFrameTime(*time)) : line.AddNull(key);
}

std::string UtcNow() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

std::string EvidenceJson(const std::string& name, const std::string& hex,
                         const EvidenceFacts& facts) {
  std::error_code ignored;
  const std::filesystem::path absolute = std::filesystem::absolute(facts.source_path, ignored);
  platform::JsonLine line;
  line.Add("file", name)
      .Add("sha256", hex)
      .Add("source", absolute.lexically_normal().string())
      .Add("source_size", facts.source_size);
  if (facts.byte_range_known) {
    line.Add("first_byte", facts.first_byte).Add("last_byte", facts.last_byte);
  } else {
    line.AddNull("first_byte").AddNull("last_byte");
  }
  AddPicture(line, "first_picture", facts.first_picture);
  AddPicture(line, "last_picture", facts.last_picture);
  return line.AddRaw("video_channels", ChannelList(facts.video_channels))
             .AddRaw("audio_channels", ChannelList(facts.audio_channels))
             .Add("program", "dvr-viewer")
             .Add("version", platform::kProgramVersion)
             .Add("written", UtcNow())
             .Text() +
         "\n";
}

}  // namespace

std::optional<std::string> Sha256OfFile(const std::string& path, const std::atomic<bool>* cancel) {
  platform::File file;
  if (!file.OpenRead(path)) return {};
  const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(),
                                                                        EVP_MD_CTX_free);
  if (!context || EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1) return {};
  std::vector<uint8_t> chunk(kHashChunk);
  for (uint64_t offset = 0;;) {
    const platform::ReadResult got = file.ReadAt(offset, chunk.data(), chunk.size());
    if (got.failed) return {};
    if (got.bytes == 0) break;
    if (cancel && cancel->load(std::memory_order_relaxed)) return {};
    EVP_DigestUpdate(context.get(), chunk.data(), got.bytes);
    offset += got.bytes;
  }
  uint8_t digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (EVP_DigestFinal_ex(context.get(), digest, &length) != 1) return {};
  return platform::DigestHex(digest, length);
}

bool WriteEvidence(const std::string& output, const EvidenceFacts& facts, std::string& error,
                   const std::atomic<bool>* cancel) {
  const std::optional<std::string> hex = Sha256OfFile(output, cancel);
  if (!hex) {
    error = cancel && cancel->load() ? "the evidence of " + output + " was not written: cancelled"
                                     : "cannot read " + output + " back to hash it";
    return false;
  }
  const std::string name = std::filesystem::path(output).filename().string();
  const std::string json_path = output + ".json", checksum_path = output + ".sha256";
  if (!platform::ReplaceFile(json_path, EvidenceJson(name, *hex, facts), error) ||
      !platform::ReplaceFile(checksum_path, ChecksumLine(*hex, name), error)) {
    // No half a set, and nothing left from an earlier export of that name to vouch for this one.
    platform::RemoveFile(json_path);
    platform::RemoveFile(checksum_path);
    return false;
  }
  // Whoever may read the output may read its evidence (a new file would be private to the user).
  std::error_code ignored;
  const auto permissions = std::filesystem::status(output, ignored).permissions();
  for (const std::string& path : {json_path, checksum_path}) {
    std::filesystem::permissions(path, permissions, ignored);
  }
  return true;
}

}  // namespace dvr::exporting
