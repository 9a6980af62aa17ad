#pragma once
// Each subcommand registers itself on the application.
#include <CLI/CLI.hpp>

namespace dvrtool {

void AddAudioCommand(CLI::App& app);
void AddConnectCommand(CLI::App& app);  // only in builds with Qt
void AddDecodeCommand(CLI::App& app);
void AddDisksCommand(CLI::App& app);
void AddExportCommand(CLI::App& app);  // only in builds with Qt
void AddExtractCommand(CLI::App& app);
void AddFramesCommand(CLI::App& app);
void AddInfoCommand(CLI::App& app);
void AddPlayCommand(CLI::App& app);  // only in builds with Qt
void AddSimCommand(CLI::App& app);
void AddSynthCommand(CLI::App& app);
void AddTimelineCommand(CLI::App& app);
void AddVerifyCommand(CLI::App& app);

}  // namespace dvrtool
