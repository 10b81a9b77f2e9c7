// tovana datasets: the installed data sets, their layers and feature counts.
#include "host/app/Commands.h"

#include "host/framework/GeoPackageDataAccess.h"
#include "platform/framework/DataSetLayer.h"
#include "platform/gis/FeatureClass.h"

#include <iostream>

namespace tov {

void AddDatasetsCommand(CLI::App& app, AppContext& context, CommandRunner& runner) {
  CLI::App* datasets = app.add_subcommand("datasets", "List the installed data sets with their layers and feature counts");
  datasets->callback([&context, &runner] {
    runner = [&context] {
      const std::string root = context.dataRoot.empty() ? DefaultDataRoot() : context.dataRoot;
      std::vector<JsonDatasetPtr> all = JsonDataset::LoadAll(root);
      if (all.empty()) {
        std::cerr << "No data set in " << root << " (build the sample one with `make data`)\n";
        return kExitNothingMade;
      }
      GeoPackageDataAccess access(all, [] { return std::string(); });
      for (const JsonDatasetPtr& dataset : all) {
        std::cout << dataset->Name() << "\t" << dataset->GeoPackagePath() << "\n";
        for (long i = 0; i < dataset->LayerCount(); ++i) {
          DataSetLayerPtr layer = dataset->Layer(i);
          std::cout << "  " << layer->MapLayerName() << " (" << layer->SourceName() << "): ";
          try {
            std::cout << access.OpenOrFail(layer->SourceName(), dataset->Name())->FeatureCount(nullptr) << " features\n";
          } catch (const HostError& e) {
            std::cout << "not readable: " << e.Description() << "\n";
          }
        }
      }
      return kExitOk;
    };
  });
}

} // namespace tov
