// tovana geocode TEXT: what the single-point geocoder finds for a text, with
// the status it would report.
#include "host/app/Commands.h"

#include "host/framework/JsonDataset.h"
#include "host/geocoder/AddressMatcher.h"

#include <charconv>
#include <filesystem>
#include <iostream>
#include <memory>

namespace tov {

namespace {
// Degrees with six decimals and a "." whatever the locale.
std::string Degrees(double value) {
  char text[32];
  const auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6);
  return std::string(text, written.ptr);
}
} // namespace

void AddGeocodeCommand(CLI::App& app, AppContext& context, CommandRunner& runner) {
  CLI::App* geocode = app.add_subcommand(
      "geocode", "Look up a ZIP code, a place (\"Springfield, IL\") or an address in the data set's gazetteer");
  auto text = std::make_shared<std::string>();
  geocode->add_option("TEXT", *text, "What a user would type")->required();
  geocode->callback([&context, &runner, text] {
    runner = [&context, text] {
      const FoundDatasets found = FindDatasets(context.dataRoot);
      std::string file;
      for (const JsonDatasetPtr& dataset : found.datasets) {
        if (!context.datasetName.empty() && dataset->Name() != context.datasetName) continue;
        const std::string candidate = dataset->Folder() + "/gazetteer.csv";
        if (std::filesystem::is_regular_file(candidate)) {
          file = candidate;
          break;
        }
      }
      if (file.empty()) {
        std::cerr << "No gazetteer in " << (context.datasetName.empty() ? "any data set" : context.datasetName)
                  << ". " << DescribeSearch(found.searched)
                  << "\nInstall the samples with `tovana datasets install-sample`.\n";
        return kExitNothingMade;
      }
      GazetteerPtr gazetteer = Gazetteer::Shared(file);
      const GeocodeMatch match = AddressMatcher(gazetteer).Match(*text);
      for (const GeocodeCandidate& c : match.candidates)
        std::cout << c.label << "\t" << Degrees(c.latitude) << "\t" << Degrees(c.longitude) << "\n";
      std::cout << match.message << "\n";
      if (match.candidates.empty()) {
        std::cout << "status: " << kGeocodeFailed << "\n";
        return kExitNothingMade;
      }
      std::cout << "status: " << match.candidates.front().status;
      if (match.candidates.size() > 1) std::cout << " (for the candidate the user picks)";
      std::cout << "\n";
      return kExitOk;
    };
  });
}

} // namespace tov
