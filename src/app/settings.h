#pragma once
// The user's settings between runs: one INI file, one section "DVR-K470 Viewer", sixteen keys read
// and written in a fixed order, integers as decimal text, texts as they are (UTF-8). Missing keys
// give the defaults; values out of range fall back to their default with a note. Qt-free, so the
// reader can be fuzzed.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dvr::app {

inline constexpr const char* kSettingsSection = "DVR-K470 Viewer";
inline constexpr const char* kSettingsFileName = "dvr-viewer.INI";

struct Settings {
  bool always_on_top = false;                     // "AlwaysOnTop"
  bool show_time = true;                          // "Show Time"
  bool repeat = false;                            // "Repeat"
  std::string time_format = "%Y/%m/%d %H:%M:%S";  // "Time Format"
  uint16_t volume = 0;                            // "Volume": only the low 16 bits are kept
  bool mute = false;                              // "Mute"
  std::string ip_address = "192.168.11.138";      // "IP Address"
  uint16_t port = 8841;                           // "Port" (1..65535)
  bool dynamic_ip = false;                        // "DynamicIp"
  bool use_ddraw = true;                          // "Use DDraw"
  bool auto_reconnection = true;                  // "Auto Reconnection"
  uint32_t timeout_ms = 7000;                     // "Timeout", stored in whole seconds
  std::string ddns_ip = "192.168.11.138";         // "Ddns Ip"
  uint16_t ddns_port = 1800;                      // "Ddns Port" (1..65535)
  std::string dvr_name = "DVR000";                // "DvrName"
  int mouse_mode = 1;                             // "Enable && Hidden cusor on DVR side" (0..2)

  bool operator==(const Settings&) const = default;
};

// The settings in a file's text. `notes` (may be null) receives one line per value that was not
// a number or out of range and replaced by its default.
Settings ParseSettings(std::string_view text, std::vector<std::string>* notes);
// The file's text with the section and the sixteen keys in their order. `previous` is the file as
// it was: its other sections and keys are kept.
std::string FormatSettings(const Settings& settings, std::string_view previous = {});

// `$XDG_CONFIG_HOME/dvr-viewer.INI`, or `$HOME/.config/dvr-viewer.INI`.
std::string SettingsFilePath();
// A missing file gives the defaults (true); an unreadable one gives the defaults and false, and
// a note saying why.
bool LoadSettings(const std::string& path, Settings& out, std::vector<std::string>* notes);
// Written atomically: a temporary file beside it, then a rename; the folder is made when missing.
// False with `error` set, also when the file exists but cannot be read (its other sections would
// be lost).
bool SaveSettings(const std::string& path, const Settings& settings, std::string* error);

}  // namespace dvr::app
