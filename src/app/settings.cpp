#include "app/settings.h"

#include <pwd.h>
#include <unistd.h>

#include <charconv>
#include <cstdlib>
#include <limits>
#include <optional>

#include "app/ini_file.h"
#include "platform/text_file.h"

namespace dvr::app {
namespace {

// Every key in the order it is read and written, with the kind of its value and its member.
template <typename AnySettings, typename Visitor>
void VisitKeys(AnySettings& s, Visitor& visit) {
  visit.Flag("AlwaysOnTop", s.always_on_top);
  visit.Flag("Show Time", s.show_time);
  visit.Flag("Repeat", s.repeat);
  visit.Text("Time Format", s.time_format);
  visit.Volume("Volume", s.volume);
  visit.Flag("Mute", s.mute);
  visit.Text("IP Address", s.ip_address);
  visit.Port("Port", s.port);
  visit.Flag("DynamicIp", s.dynamic_ip);
  visit.Flag("Use DDraw", s.use_ddraw);
  visit.Flag("Auto Reconnection", s.auto_reconnection);
  visit.Timeout("Timeout", s.timeout_ms);
  visit.Text("Ddns Ip", s.ddns_ip);
  visit.Port("Ddns Port", s.ddns_port);
  visit.Text("DvrName", s.dvr_name);
  // The caption of the option in the network dialog, ampersands and spelling as they stand there.
  visit.MouseMode("Enable && Hidden cusor on DVR side", s.mouse_mode);
}

// Decimal with an optional sign; a number too large for 64 bits reads as the largest one of its
// sign. Nothing when the text is not a number.
std::optional<int64_t> ParseInteger(std::string_view text) {
  if (text.starts_with('+') && !text.substr(1).starts_with('-')) text.remove_prefix(1);
  int64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (stop != end || text.empty()) return std::nullopt;
  if (error == std::errc::result_out_of_range) {
    return text.starts_with('-') ? std::numeric_limits<int64_t>::min()
                                 : std::numeric_limits<int64_t>::max();
  }
  if (error != std::errc()) return std::nullopt;
  return value;
}

constexpr int64_t kMaxTimeoutSeconds = std::numeric_limits<uint32_t>::max() / 1000;

// Reads each member from the file; a member whose key is missing or unusable keeps its default.
class Reader {
 public:
  Reader(const IniFile& file, std::vector<std::string>* notes) : file_(file), notes_(notes) {}

  void Flag(const char* key, bool& flag) {
    if (const auto value = Integer(key, flag)) flag = *value != 0;
  }
  void Text(const char* key, std::string& text) {
    if (auto value = file_.Value(kSettingsSection, key)) text = std::move(*value);
  }
  void Volume(const char* key, uint16_t& volume) {
    if (const auto value = Integer(key, volume)) volume = static_cast<uint16_t>(*value);
  }
  void Port(const char* key, uint16_t& port) {
    if (const auto value = InRange(key, port, 1, 65535)) port = static_cast<uint16_t>(*value);
  }
  void Timeout(const char* key, uint32_t& timeout_ms) {
    const auto seconds = InRange(key, timeout_ms / 1000, 1, kMaxTimeoutSeconds);
    if (seconds) timeout_ms = static_cast<uint32_t>(*seconds * 1000);
  }
  void MouseMode(const char* key, int& mode) {
    if (const auto value = InRange(key, mode, 0, 2)) mode = static_cast<int>(*value);
  }

 private:
  // The key's number; nothing when the key is missing or holds no number (noted).
  std::optional<int64_t> Integer(const char* key, int64_t fallback) {
    const auto text = file_.Value(kSettingsSection, key);
    if (!text) return std::nullopt;
    const auto value = ParseInteger(*text);
    if (!value) Note(key, "\"" + *text + "\" is not a number", fallback);
    return value;
  }
  std::optional<int64_t> InRange(const char* key, int64_t fallback, int64_t low, int64_t high) {
    const auto value = Integer(key, fallback);
    if (!value || (*value >= low && *value <= high)) return value;
    const std::string range = "(" + std::to_string(low) + ".." + std::to_string(high) + ")";
    Note(key, *file_.Value(kSettingsSection, key) + " is out of range " + range, fallback);
    return std::nullopt;
  }
  void Note(const char* key, const std::string& problem, int64_t fallback) {
    if (notes_ == nullptr) return;
    notes_->push_back(std::string(kSettingsFileName) + ": " + key + " " + problem + "; using " +
                      std::to_string(fallback));
  }

  const IniFile& file_;
  std::vector<std::string>* notes_;
};

// Collects each member as the text of its entry.
class Writer {
 public:
  void Flag(const char* key, bool flag) { Add(key, flag ? "1" : "0"); }
  void Text(const char* key, const std::string& text) { Add(key, text); }
  void Volume(const char* key, uint16_t volume) { Add(key, std::to_string(volume)); }
  void Port(const char* key, uint16_t port) { Add(key, std::to_string(port)); }
  void Timeout(const char* key, uint32_t timeout_ms) {
    Add(key, std::to_string(timeout_ms / 1000));
  }
  void MouseMode(const char* key, int mode) { Add(key, std::to_string(mode)); }

  const IniFile::Entries& Entries() const { return entries_; }

 private:
  void Add(const char* key, std::string value) { entries_.emplace_back(key, std::move(value)); }

  IniFile::Entries entries_;
};

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return home;
  const passwd* user = ::getpwuid(::getuid());
  return user != nullptr && user->pw_dir != nullptr ? user->pw_dir : "";
}

}  // namespace

Settings ParseSettings(std::string_view text, std::vector<std::string>* notes) {
  const IniFile file(text);
  Settings settings;
  Reader reader(file, notes);
  VisitKeys(settings, reader);
  return settings;
}

std::string FormatSettings(const Settings& settings, std::string_view previous) {
  IniFile file(previous);
  Writer writer;
  VisitKeys(settings, writer);
  file.ReplaceSection(kSettingsSection, writer.Entries());
  return file.Text();
}

std::string SettingsFilePath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && config[0] == '/') return std::string(config) + "/" + kSettingsFileName;
  return HomeFolder() + "/.config/" + kSettingsFileName;
}

bool LoadSettings(const std::string& path, Settings& out, std::vector<std::string>* notes) {
  out = Settings{};
  std::string text;
  std::string error;
  switch (platform::ReadTextFile(path, text, error)) {
    case platform::ReadOutcome::kMissing:
      return true;
    case platform::ReadOutcome::kRead:
      out = ParseSettings(text, notes);
      return true;
    case platform::ReadOutcome::kFailed:
      break;
  }
  if (notes != nullptr) notes->push_back(error);
  return false;
}

bool SaveSettings(const std::string& path, const Settings& settings, std::string* error) {
  std::string previous;
  std::string failure;
  // A file that cannot be read is not replaced: its other sections would be lost.
  const bool saved =
      platform::ReadTextFile(path, previous, failure) != platform::ReadOutcome::kFailed &&
      platform::ReplaceFile(path, FormatSettings(settings, previous), failure);
  if (!saved && error != nullptr) *error = failure;
  return saved;
}

}  // namespace dvr::app
