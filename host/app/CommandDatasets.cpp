// tovana datasets: the installed data sets, their layers and feature counts;
// tovana datasets import --postgis CONN [NAME]: a data set copied into PostGIS;
// tovana datasets create: see CommandDatasetsCreate.cpp.
#include "host/app/Commands.h"

#include "host/datasets/DatasetDescriptor.h"
#include "host/framework/GeoPackageDataAccess.h"
#include "host/framework/PostgisDatasetImport.h"
#include "host/gis/PostgisWorkspace.h"
#include "platform/framework/DataSetLayer.h"
#include "platform/gis/FeatureClass.h"

#include <iostream>

namespace tov {
namespace {
std::string PostgisShown(const std::string& location) {
  return PostgisWorkspace::IsConnectionString(location) ? PostgisWorkspace::Shown(location) : location;
}
} // namespace

void AddDatasetsCommand(CLI::App& app, AppContext& context, CommandRunner& runner) {
  CLI::App* datasets = app.add_subcommand("datasets", "List the installed data sets with their layers and feature counts");
  CLI::App* import = datasets->add_subcommand(
      "import", "Copy a data set (default: the sample \"USA\") into a PostGIS database and describe the copy as NAME-postgis");
  auto connection = std::make_shared<std::string>();
  auto name = std::make_shared<std::string>("USA");
  import->add_option("--postgis", *connection, "GDAL connection string: \"PG:dbname=... host=... [schemas=SCHEMA]\"")
      ->required();
  import->add_option("name", *name, "the data set to copy (default USA)");
  import->callback([&context, &runner, connection, name] {
    runner = [&context, connection, name] {
      const std::string root = context.dataRoot.empty() ? DefaultDataRoot() : context.dataRoot;
      const PostgisDatasetImport::Result result = PostgisDatasetImport::Run(root, *name, *connection);
      for (const auto& [table, rows] : result.tables)
        std::cout << result.schema << "." << table << ": " << rows << " rows\n";
      std::cout << "Data set \"" << result.datasetName << "\" written to " << result.folder << "/dataset.json\n"
                << "Use it in a new analysis: tovana --analysis DIR --dataset " << result.datasetName << " setup whole --name NAME\n";
      return kExitOk;
    };
  });
  AddDatasetsCreateCommand(*datasets, context, runner);
  datasets->callback([&context, &runner, import, datasets] {
    if (import->parsed() || datasets->get_subcommand("create")->parsed()) return;
    runner = [&context] {
      const std::string root = context.dataRoot.empty() ? DefaultDataRoot() : context.dataRoot;
      std::vector<JsonDatasetPtr> all = JsonDataset::LoadAll(root);
      if (all.empty()) {
        std::cerr << "No data set in " << root << " (build the sample one with `make data`)\n";
        return kExitNothingMade;
      }
      GeoPackageDataAccess access(all, [] { return std::string(); });
      for (const JsonDatasetPtr& dataset : all) {
        std::cout << dataset->Name() << "\t" << PostgisShown(dataset->DataLocation()) << "\n";
        std::cout << "  methods:";
        if (TaskDescriptorPtr setup = dataset->TaskByName("SetupStudyArea"))
          for (long i = 0; i < setup->ChildCount(); ++i) {
            const std::string word = MethodCommand(setup->Child(i)->Name());
            std::cout << " " << (word.empty() ? setup->Child(i)->Name() : word);
          }
        std::cout << "\n";
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
