#include "host/app/Commands.h"
#include "host/join/HostSetup.h"
#include "host/common/Paths.h"

#include "platform/runtime/HostError.h"

#include <iostream>
#include <string>

using namespace tov;

int main(int argc, char** argv) {
  CLI::App app{"tovana: study area setup for business and market analysis"};
  app.set_version_flag("--version", std::string("tovana ") + TOVANA_VERSION);
  AppContext context;
  // Folders the host cannot represent are refused here, in the user's own
  // spelling, rather than failing later under another name.
  const CLI::Validator hostPath(
      [](std::string& path) {
        try {
          ToPlatformPath(path);
          return std::string();
        } catch (const HostError& e) {
          return e.Description();
        }
      },
      "FOLDER");
  app.add_option("--analysis", context.analysisFolder,
                 "Analysis folder (created when missing), or a shared analysis: postgresql://...?schema=S or \"PG:... schemas=S\"")
      ->capture_default_str()
      ->check(hostPath);
  app.add_option("--dataset", context.datasetName, "Data set to work on (default: the analysis's current one)");
  app.add_option("--data-root", context.dataRoot, "Folder holding the data sets (default: $TOVANA_DATA or data/)")
      ->check(hostPath);
  app.require_subcommand(0, 1);

  try {
    RegisterAllHostClasses();
  } catch (const HostError& e) {
    std::cerr << "tovana: " << e.Description() << "\n";
    return kExitNothingMade;
  }

  CommandRunner runner;
  AddSetupCommands(app, context, runner);
  AddListCommand(app, context, runner);
  AddManageCommands(app, context, runner);
  AddShowExportCommands(app, context, runner);
  AddZipPreviewCommand(app, context, runner);
  AddRegionsCommand(app, context, runner);
  AddCheckCommand(app, context, runner);
  AddDatasetsCommand(app, context, runner);
  AddRenderCommand(app, context, runner);
  AddGeocodeCommand(app, context, runner);
  AddGuiCommand(app, context, runner);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e);
    return code == 0 ? kExitOk : kExitUsage;
  }

  try {
    if (!runner) {
      // No command: the window when a display is there, else the help.
      if (HasDisplay()) {
        CommandRunner gui;
        CLI::App scratch;
        AddGuiCommand(scratch, context, gui);
        if (gui) return gui();
      }
      std::cout << app.help();
      return kExitOk;
    }
    return runner();
  } catch (const HostError& e) {
    std::cerr << "tovana: " << e.Description();
    if (e.Number() != 0) std::cerr << " (error " << e.Number() << (e.Source().empty() ? "" : ", " + e.Source()) << ")";
    std::cerr << "\n";
    return kExitNothingMade;
  } catch (const std::exception& e) {
    std::cerr << "tovana: " << e.what() << "\n";
    return kExitNothingMade;
  }
}
