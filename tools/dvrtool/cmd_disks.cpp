// dvrtool disks: the drive list of the disk selection dialog.
#include <cstdio>
#include <memory>

#include "cli.h"
#include "commands.h"
#include "media/drive_list.h"

namespace dvrtool {

void AddDisksCommand(CLI::App& app) {
  auto json = std::make_shared<bool>(false);
  CLI::App* command = app.add_subcommand("disks", "list the drives a DVR disk can be opened from");
  command->add_flag("--json", *json, "one JSON object per drive, with its path");
  command->callback([json] {
    const auto entries = dvr::media::EnumerateDrives(dvr::platform::DriveProbe());
    for (const auto& entry : entries) {
      PrintLine(*json ? JsonLine()
                            .Add("number", entry.number)
                            .Add("line", entry.line)
                            .Add("path", entry.path)
                            .Text()
                      : entry.line);
    }
    if (entries.empty()) {
      std::fprintf(stderr, "dvrtool: no drive could be opened (reading drives needs root or the disk group)\n");
    }
  });
}

}  // namespace dvrtool
