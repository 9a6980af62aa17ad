#include "app/settings.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <optional>

#include "support/temp_dir.h"

namespace dvr::app {
namespace {

using test::ReadFileBytes;
using test::TempDir;

std::string ReadText(const std::string& path) {
  const std::vector<uint8_t> bytes = ReadFileBytes(path);
  return {bytes.begin(), bytes.end()};
}

std::vector<std::string> FileNames(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

Settings Parse(const std::string& text, std::vector<std::string>* notes = nullptr) {
  return ParseSettings(text, notes);
}

constexpr const char* kDefaultFile =
    "[DVR-K470 Viewer]\n"
    "AlwaysOnTop=0\n"
    "Show Time=1\n"
    "Repeat=0\n"
    "Time Format=%Y/%m/%d %H:%M:%S\n"
    "Volume=0\n"
    "Mute=0\n"
    "IP Address=192.168.11.138\n"
    "Port=8841\n"
    "DynamicIp=0\n"
    "Use DDraw=1\n"
    "Auto Reconnection=1\n"
    "Timeout=7\n"
    "Ddns Ip=192.168.11.138\n"
    "Ddns Port=1800\n"
    "DvrName=DVR000\n"
    "Enable && Hidden cusor on DVR side=1\n";

TEST(Settings, AFirstStartWithoutAFileHasTheDefaults) {
  TempDir dir;
  Settings settings;
  settings.port = 1;  // overwritten
  std::vector<std::string> notes;
  EXPECT_TRUE(LoadSettings(dir.File("dvr-viewer.INI"), settings, &notes));
  EXPECT_TRUE(notes.empty());
  EXPECT_TRUE(settings.show_time);
  EXPECT_TRUE(settings.use_ddraw);
  EXPECT_EQ(settings.mouse_mode, 1);
  EXPECT_EQ(settings.timeout_ms, 7000u);
  EXPECT_EQ(settings.port, 8841);
  EXPECT_EQ(settings.ddns_port, 1800);
  EXPECT_EQ(settings.volume, 0);
  EXPECT_EQ(settings, Settings{});
}

TEST(Settings, WritesTheSectionAndTheKeysInTheirOrder) {
  EXPECT_EQ(FormatSettings(Settings{}), kDefaultFile);
  EXPECT_EQ(Parse(kDefaultFile), Settings{});
}

TEST(Settings, EveryKeySurvivesASaveAndALoad) {
  TempDir dir;
  Settings changed;
  changed.always_on_top = true;
  changed.show_time = false;
  changed.repeat = true;
  changed.time_format = "%Y年%m月%d日 %H時%M分%S秒";
  changed.volume = 65535;
  changed.mute = true;
  changed.ip_address = "dvr.example.net";
  changed.port = 65535;
  changed.dynamic_ip = true;
  changed.use_ddraw = false;
  changed.auto_reconnection = false;
  changed.timeout_ms = 12000;
  changed.ddns_ip = "10.0.0.9";
  changed.ddns_port = 1;
  changed.dvr_name = "倉庫カメラ";
  changed.mouse_mode = 2;
  const std::string path = dir.File("dvr-viewer.INI");
  std::string error;
  ASSERT_TRUE(SaveSettings(path, changed, &error)) << error;
  Settings loaded;
  std::vector<std::string> notes;
  ASSERT_TRUE(LoadSettings(path, loaded, &notes));
  EXPECT_EQ(loaded, changed);
  EXPECT_TRUE(notes.empty());
  EXPECT_NE(ReadText(path).find("Time Format=%Y年%m月%d日 %H時%M分%S秒\n"), std::string::npos);
}

TEST(Settings, TheTimeoutIsStoredInWholeSecondsAndTheVolumeInSixteenBits) {
  EXPECT_EQ(Parse("[DVR-K470 Viewer]\nTimeout=12\n").timeout_ms, 12000u);
  Settings settings;
  settings.timeout_ms = 12999;
  EXPECT_NE(FormatSettings(settings).find("\nTimeout=12\n"), std::string::npos);
  // The largest whole number of seconds whose milliseconds fit 32 bits.
  EXPECT_EQ(Parse("[DVR-K470 Viewer]\nTimeout=4294967\n").timeout_ms, 4294967000u);

  std::vector<std::string> notes;
  EXPECT_EQ(Parse("[DVR-K470 Viewer]\nVolume=70000\n", &notes).volume, 4464);
  EXPECT_EQ(Parse("[DVR-K470 Viewer]\nVolume=-1\n", &notes).volume, 65535);
  EXPECT_TRUE(notes.empty());
}

TEST(Settings, TheMouseModeKeyIsMatchedVerbatim) {
  EXPECT_EQ(Parse("[DVR-K470 Viewer]\nEnable && Hidden cusor on DVR side=2\n").mouse_mode, 2);
  EXPECT_EQ(Parse("[DVR-K470 Viewer]\nEnable & Hidden cusor on DVR side=2\n").mouse_mode, 1);
  EXPECT_EQ(Parse("[DVR-K470 Viewer]\nEnable && Hidden cursor on DVR side=2\n").mouse_mode, 1);
}

TEST(Settings, UnusableValuesFallBackToTheirDefaultsWithANote) {
  struct Case {
    const char* line;
    const char* note;
  };
  const Case cases[] = {
      {"Port=70000", "dvr-viewer.INI: Port 70000 is out of range (1..65535); using 8841"},
      {"Port=0", "dvr-viewer.INI: Port 0 is out of range (1..65535); using 8841"},
      {"Ddns Port=-5", "dvr-viewer.INI: Ddns Port -5 is out of range (1..65535); using 1800"},
      {"Ddns Port=18oo", "dvr-viewer.INI: Ddns Port \"18oo\" is not a number; using 1800"},
      {"Timeout=0", "dvr-viewer.INI: Timeout 0 is out of range (1..4294967); using 7"},
      {"Timeout=-7", "dvr-viewer.INI: Timeout -7 is out of range (1..4294967); using 7"},
      {"Timeout=4294968", "dvr-viewer.INI: Timeout 4294968 is out of range (1..4294967); using 7"},
      {"Timeout=99999999999999999999",
       "dvr-viewer.INI: Timeout 99999999999999999999 is out of range (1..4294967); using 7"},
      {"Enable && Hidden cusor on DVR side=3",
       "dvr-viewer.INI: Enable && Hidden cusor on DVR side 3 is out of range (0..2); using 1"},
      {"Volume=loud", "dvr-viewer.INI: Volume \"loud\" is not a number; using 0"},
      {"Show Time=", "dvr-viewer.INI: Show Time \"\" is not a number; using 1"},
      {"Mute=+-1", "dvr-viewer.INI: Mute \"+-1\" is not a number; using 0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    std::vector<std::string> notes;
    EXPECT_EQ(Parse(std::string("[DVR-K470 Viewer]\n") + c.line + "\n", &notes), Settings{});
    EXPECT_EQ(notes, std::vector<std::string>{c.note});
  }
}

TEST(Settings, FlagsTakeAnyNonZeroNumberAsOnAndNumbersTheirSign) {
  const Settings settings =
      Parse("[DVR-K470 Viewer]\nAlwaysOnTop=7\nShow Time=0\nMute=-1\nPort=+8000\n");
  EXPECT_TRUE(settings.always_on_top);
  EXPECT_FALSE(settings.show_time);
  EXPECT_TRUE(settings.mute);
  EXPECT_EQ(settings.port, 8000);
}

TEST(Settings, ReadsFilesWrittenByOtherEditors) {
  // Byte order mark, CR LF, blanks around names and '=', comments, and look-alike sections.
  const std::string text =
      "\xEF\xBB\xBF; settings of the viewer\r\n"
      "Port=1\r\n"
      "[dvr-k470 viewer]\r\n"
      "Port=2\r\n"
      "[ DVR-K470 Viewer ]\r\n"
      "; Port=3\r\n"
      "\r\n"
      "  Port   =  4000  \r\n"
      "Port=5\r\n"
      "DvrName\t= 門 \t\r\n"
      "[Other]\r\n"
      "Ddns Port=6\r\n";
  const Settings settings = Parse(text);
  EXPECT_EQ(settings.port, 4000);  // the first entry of the section counts
  EXPECT_EQ(settings.dvr_name, "門");
  EXPECT_EQ(settings.ddns_port, 1800);
}

TEST(Settings, KeepsOtherSectionsAndUnknownKeysWhenWriting) {
  const std::string previous =
      "; written by hand\n"
      "[Window]\n"
      "Left=10\n"
      "\n"
      "[DVR-K470 Viewer]\n"
      "Port=1\n"
      "Favourite=yes\n"
      "; a note\n"
      "Port=2\n"
      "\n"
      "[Later]\n"
      "Key=value\n";
  const std::string written = FormatSettings(Settings{}, previous);
  const std::string our_keys =
      std::string(kDefaultFile).substr(std::string(kDefaultFile).find('\n') + 1);
  EXPECT_EQ(written,
            "; written by hand\n"
            "[Window]\n"
            "Left=10\n"
            "\n"
            "[DVR-K470 Viewer]\n" +
                our_keys +
                "Favourite=yes\n"
                "; a note\n"
                "\n"
                "[Later]\n"
                "Key=value\n");

  // A file without the section gets it at the end; CR LF files stay CR LF.
  const std::string added = FormatSettings(Settings{}, "\xEF\xBB\xBF[Window]\r\nLeft=10\r\n");
  EXPECT_TRUE(added.starts_with("\xEF\xBB\xBF[Window]\r\nLeft=10\r\n\r\n[DVR-K470 Viewer]\r\n"));
  EXPECT_TRUE(added.ends_with("\r\nEnable && Hidden cusor on DVR side=1\r\n"));
  EXPECT_EQ(Parse(added), Settings{});
}

TEST(Settings, ALineBreakInATextCannotAddKeys) {
  Settings settings;
  settings.dvr_name = "DVR1\nPort=1";
  settings.time_format = "%H\r\n[Other]";
  const Settings read = Parse(FormatSettings(settings));
  EXPECT_EQ(read.dvr_name, "DVR1");
  EXPECT_EQ(read.time_format, "%H");
  EXPECT_EQ(read.port, 8841);
}

// The soft limit on the size of written files, lowered for one test: a write past it fails as
// on a full disk (EFBIG instead of the signal, which is ignored meanwhile).
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    old_handler_ = ::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &old_limit_);
    const rlimit lowered{bytes, old_limit_.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &lowered);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_limit_);
    ::signal(SIGXFSZ, old_handler_);
  }

 private:
  rlimit old_limit_{};
  sighandler_t old_handler_ = SIG_DFL;
};

TEST(Settings, AFailedSaveLeavesTheOldFileAndNoTemporary) {
  TempDir dir;
  const std::string path = dir.File("dvr-viewer.INI");
  const std::string old_text = "[Other]\nKey=value\n";
  dir.Write("dvr-viewer.INI", {old_text.begin(), old_text.end()});
  std::string error;
  {
    FileSizeLimit limit(old_text.size());
    EXPECT_FALSE(SaveSettings(path, Settings{}, &error));
  }
  EXPECT_EQ(error, "cannot write " + path + ": File too large");
  EXPECT_EQ(ReadText(path), old_text);
  EXPECT_EQ(FileNames(dir.Path()), std::vector<std::string>{"dvr-viewer.INI"});
}

TEST(Settings, AFileWhereTheFolderShouldBeFailsTheSave) {
  TempDir dir;
  dir.Write("config", {1});
  const std::string path = dir.File("config/dvr-viewer.INI");
  std::string error;
  EXPECT_FALSE(SaveSettings(path, Settings{}, &error));
  EXPECT_EQ(error, "cannot write " + path + ": Not a directory");
  EXPECT_EQ(ReadFileBytes(dir.File("config")), std::vector<uint8_t>{1});
}

TEST(Settings, SavingCreatesTheMissingFolders) {
  TempDir dir;
  const std::string path = dir.File("home/.config/dvr-viewer.INI");
  std::string error;
  ASSERT_TRUE(SaveSettings(path, Settings{}, &error)) << error;
  EXPECT_EQ(ReadText(path), kDefaultFile);
}

TEST(Settings, AFileThatCannotBeReadIsNeitherUsedNorReplaced) {
  TempDir dir;
  const std::string path = dir.File("dvr-viewer.INI");
  std::filesystem::create_directory(path);  // unreadable as a file, even for root
  Settings settings;
  settings.port = 1;
  std::vector<std::string> notes;
  EXPECT_FALSE(LoadSettings(path, settings, &notes));
  EXPECT_EQ(settings, Settings{});
  EXPECT_EQ(notes, std::vector<std::string>{"cannot read " + path + ": Is a directory"});
  std::string error;
  EXPECT_FALSE(SaveSettings(path, Settings{}, &error));
  EXPECT_EQ(error, "cannot read " + path + ": Is a directory");
  EXPECT_TRUE(std::filesystem::is_directory(path));
}

// Sets an environment variable (or removes it, for nullopt) until the end of the scope.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    Set(value);
  }
  ~ScopedVariable() { Set(old_); }

 private:
  void Set(const std::optional<std::string>& value) {
    if (value) {
      ::setenv(name_, value->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

  const char* name_;
  std::optional<std::string> old_;
};

TEST(Settings, TheFileLivesInTheUsersConfigurationFolder) {
  const ScopedVariable home("HOME", "/home/someone");
  {
    const ScopedVariable config("XDG_CONFIG_HOME", "/srv/conf");
    EXPECT_EQ(SettingsFilePath(), "/srv/conf/dvr-viewer.INI");
  }
  {
    const ScopedVariable config("XDG_CONFIG_HOME", "relative/conf");  // not a usable location
    EXPECT_EQ(SettingsFilePath(), "/home/someone/.config/dvr-viewer.INI");
  }
  const ScopedVariable config("XDG_CONFIG_HOME", std::nullopt);
  EXPECT_EQ(SettingsFilePath(), "/home/someone/.config/dvr-viewer.INI");
}

}  // namespace
}  // namespace dvr::app
