#include "headless_qt.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace dvrtool {

HeadlessQt::HeadlessQt() {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  if (std::getenv("XDG_RUNTIME_DIR") == nullptr) {
    // Qt wants a private runtime folder; a headless shell often has none.
    const std::string runtime = "/tmp/dvrtool-runtime-" + std::to_string(getuid());
    std::filesystem::create_directories(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all, std::filesystem::perm_options::replace);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
  }
  application_ = std::make_unique<QGuiApplication>(argc_, argv_);
}

void SetViewerLabels(dvr::display::Presenter& screen) {
  screen.SetLabelFont(16, 0, 500, false, "Arial");
  screen.SetLabelTextColor(0x80FFFF);
  screen.SetLabelOutlineColor(0);
}

}  // namespace dvrtool
