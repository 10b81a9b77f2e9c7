// tovana datasets: the data sets found, where, their layers and feature counts;
// tovana datasets import --postgis CONN [NAME]: a data set copied into PostGIS;
// tovana datasets install-sample: see CommandInstallSample.cpp;
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
  CLI::App* datasets =
      app.add_subcommand("datasets", "List the data sets found, where, with their layers and feature counts");
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
  AddInstallSampleCommand(*datasets, context, runner);
  AddDatasetsCreateCommand(*datasets, context, runner);
  datasets->callback([&context, &runner, import, datasets] {
    if (import->parsed() || datasets->get_subcommand("install-sample")->parsed() ||
        datasets->get_subcommand("create")->parsed())
      return;
    runner = [&context] {
      const FoundDatasets found = FindDatasets(context.dataRoot);
      const std::vector<JsonDatasetPtr>& all = found.datasets;
      if (all.empty()) {
        std::cerr << "No data set was found. " << DescribeSearch(found.searched)
                  << "\nInstall the samples with `tovana datasets install-sample`.\n";
        return kExitNothingMade;
      }
      GeoPackageDataAccess access(all, [] { return std::string(); });
      for (size_t d = 0; d < all.size(); ++d) {
        const JsonDatasetPtr& dataset = all[d];
        std::cout << dataset->Name() << "\t" << PostgisShown(dataset->DataLocation()) << "\n";
        std::cout << "  found in " << dataset->Folder() << " (" << found.origins[d] << ")\n";
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
      for (const JsonDatasetPtr& dataset : found.hidden)
        std::cout << dataset->Name() << " in " << dataset->Folder() << " is hidden by the one above\n";
      return kExitOk;
    };
  });
}

} // namespace tov
