// tovana regions: the region names that the list page of the map list method
// offers, narrowed by a search text as the page narrows them.
#include "host/app/Commands.h"
#include "host/app/ConsolePresenter.h"
#include "host/join/MapListRegions.h"

#include "platform/forms/Presenter.h"

#include <iostream>

namespace tov {

void AddRegionsCommand(CLI::App& app, AppContext& context, CommandRunner& runner) {
  auto search = std::make_shared<std::string>();
  CLI::App* regions =
      app.add_subcommand("regions", "List the region names that `setup regions` and the list page offer");
  regions->add_option("--search", *search, "Only the names that contain this text (letter case and blanks around "
                                           "it ignored), as the page's search box shows them");
  regions->callback([&context, &runner, search] {
    runner = [&context, search] {
      AnalysisPtr analysis = context.OpenAnalysisOnce();
      // The method tells a layer it cannot read in a message box.
      SetPresenter(std::make_shared<ConsolePresenter>());
      MapListRegions method(analysis->dataManager, analysis->application, analysis->extension->CurrentDatasetName());
      const std::vector<std::string> names = method.Offered(*search);
      for (const std::string& name : names) std::cout << name << "\n";
      if (names.empty()) {
        std::cerr << "tovana: "
                  << (search->empty() ? "the list holds no region" : "no region contains \"" + *search + "\"") << "\n";
        return kExitNothingMade;
      }
      return kExitOk;
    };
  });
}

} // namespace tov
