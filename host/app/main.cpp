#include "host/app/Commands.h"
#include "host/app/VersionText.h"
#include "host/join/HostSetup.h"
#include "host/common/Paths.h"

#include "platform/runtime/HostError.h"

#include <iostream>
#include <string>

// The same main makes two programs: tovana-window (TOVANA_WINDOW) with the
// window and the map drawing, which need Qt, and tovana with every other
// command, which hands those two to tovana-window.
#ifdef TOVANA_WINDOW
#include <QtGlobal>
#endif

using namespace tov;

int main(int argc, char** argv) {
  CLI::App app{"tovana: study area setup for business and market analysis"};
#ifdef TOVANA_WINDOW
  const std::string qtVersion = qVersion();
#else
  const std::string qtVersion = TOVANA_QT_VERSION;
#endif
  app.set_version_flag("--version", [qtVersion] { return VersionText(TOVANA_VERSION, qtVersion); },
                       "Print the version of the program and of the libraries it runs on, and exit");
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
  app.add_option("--data-root", context.dataRoot, "Folder of data sets, looked in before $TOVANA_DATA, your data sets and the program's")
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
#ifdef TOVANA_WINDOW
  AddRenderCommand(app, context, runner);
  AddGuiCommand(app, context, runner);
#else
  AddWindowProgramCommands(app, runner, argv);
#endif
  AddGeocodeCommand(app, context, runner);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e);
    return code == 0 ? kExitOk : kExitUsage;
  }

  try {
    if (!runner) {
      // No command: the window when a display is there (on the analysis it
      // showed last, unless --analysis names one), else the help.
      if (HasDisplay()) {
#ifdef TOVANA_WINDOW
        if (app.count("--analysis") == 0) context.analysisFolder.clear();
        CommandRunner gui;
        CLI::App scratch;
        AddGuiCommand(scratch, context, gui);
        if (gui) return gui();
#else
        return RunWindowProgram(argv);
#endif
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
