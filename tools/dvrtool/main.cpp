// dvrtool: the viewer's engine on the command line.
#include <CLI/CLI.hpp>

#include <cstdio>

#include "cli.h"
#include "commands.h"
#include "platform/version.h"

int main(int argc, char** argv) {
  CLI::App app{"dvrtool: inspect, decode, export and record DVR recordings and disks; log into DVRs"};
  app.set_version_flag("--version", std::string("dvrtool ") + dvr::platform::kProgramVersion);
  app.require_subcommand(1);
  app.fallthrough(false);
  dvrtool::AddInfoCommand(app);
  dvrtool::AddFramesCommand(app);
  dvrtool::AddVerifyCommand(app);
  dvrtool::AddTimelineCommand(app);
  dvrtool::AddDecodeCommand(app);
  dvrtool::AddAudioCommand(app);
#ifdef DVRTOOL_WITH_PLAY
  dvrtool::AddPlayCommand(app);
  dvrtool::AddConnectCommand(app);
  dvrtool::AddExportCommand(app);
#endif
  dvrtool::AddExtractCommand(app);
  dvrtool::AddDisksCommand(app);
  dvrtool::AddSynthCommand(app);
  dvrtool::AddSimCommand(app);
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& help) {
    return app.exit(help);
  } catch (const CLI::CallForAllHelp& help) {
    return app.exit(help);
  } catch (const CLI::CallForVersion& version) {
    return app.exit(version);
  } catch (const CLI::ParseError& error) {
    std::fprintf(stderr, "dvrtool: %s\n", error.what());
    return dvrtool::kExitUsage;
  } catch (const dvrtool::Failure& failure) {
    std::fflush(stdout);
    std::fprintf(stderr, "dvrtool: %s\n", failure.message.c_str());
    return failure.code;
  }
  return dvrtool::kExitOk;
}
