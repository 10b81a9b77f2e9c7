#pragma once
#include "host/app/AppContext.h"

#include <CLI/CLI.hpp>

#include <functional>

namespace tov {

// Exit codes of the command line.
constexpr int kExitOk = 0;
constexpr int kExitNothingMade = 1; // the command ran but made nothing (reason on stderr)
constexpr int kExitUsage = 2;

// Each command lives in its own Command<Name>.cpp and adds itself to the
// parser; `run` receives the exit code holder to set.
using CommandRunner = std::function<int()>;

// Adders, one per command file. Each returns the subcommand it created and
// stores the function that runs it in `runner`.
void AddSetupCommands(CLI::App& app, AppContext& context, CommandRunner& runner);
void AddListCommand(CLI::App& app, AppContext& context, CommandRunner& runner);
void AddDatasetsCommand(CLI::App& app, AppContext& context, CommandRunner& runner);
// A subcommand of `datasets`.
void AddInstallSampleCommand(CLI::App& datasets, AppContext& context, CommandRunner& runner);
// `datasets create`, under the datasets command.
void AddDatasetsCreateCommand(CLI::App& datasets, AppContext& context, CommandRunner& runner);
// The two commands that need Qt, in the window program only.
void AddRenderCommand(CLI::App& app, AppContext& context, CommandRunner& runner);
void AddGuiCommand(CLI::App& app, AppContext& context, CommandRunner& runner);
constexpr const char* kRenderCommandSummary = "Draw the focus map (reference layers and study areas) to a PNG";
constexpr const char* kGuiCommandSummary = "Open the window: map, layers, tools and Analysis > Study Area Setup...";
// The command line's stand-ins for them: each hands the whole command line
// to the window program.
void AddWindowProgramCommands(CLI::App& app, CommandRunner& runner, char** argv);
// Replaces this process by the window program (beside this one) run with
// argv; returns only when it cannot be started, with the exit code.
int RunWindowProgram(char** argv);
void AddManageCommands(CLI::App& app, AppContext& context, CommandRunner& runner);
void AddShowExportCommands(CLI::App& app, AppContext& context, CommandRunner& runner);
void AddZipPreviewCommand(CLI::App& app, AppContext& context, CommandRunner& runner);
void AddRegionsCommand(CLI::App& app, AppContext& context, CommandRunner& runner);
void AddGeocodeCommand(CLI::App& app, AppContext& context, CommandRunner& runner);
void AddCheckCommand(CLI::App& app, AppContext& context, CommandRunner& runner);

// True when a display is available for the window front end.
bool HasDisplay();

} // namespace tov
