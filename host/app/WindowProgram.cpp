#include "host/app/Commands.h"

#include "host/common/UserFolders.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>

namespace tov {

// The window and the map drawing are a program of their own, tovana-window,
// so that every other command starts without loading Qt and the libraries
// it brings (about a quarter of a command's start-up).
int RunWindowProgram(char** argv) {
  const std::string program = ProgramFolder() + "/tovana-window";
  execv(program.c_str(), argv);
  std::cerr << "tovana: the window program " << program << " cannot be started (" << std::strerror(errno)
            << "); reinstall tovana\n";
  return kExitNothingMade;
}

void AddWindowProgramCommands(CLI::App& app, CommandRunner& runner, char** argv) {
  for (const auto& [name, summary] : {std::pair{"render", kRenderCommandSummary}, {"gui", kGuiCommandSummary}}) {
    CLI::App* command = app.add_subcommand(name, summary);
    // Options, their checks and --help are the window program's own.
    command->set_help_flag();
    command->prefix_command();
    command->callback([&runner, argv] { runner = [argv] { return RunWindowProgram(argv); }; });
  }
}

} // namespace tov
