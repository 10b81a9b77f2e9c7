#pragma once
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace tov {

// A package of the npm registry that a sample is made from. It is kept
// unpacked in the downloads folder as <folder>/package, so it is fetched
// once.
struct NpmPackage {
  std::string versioned;         // "us-atlas@3.0.1"
  std::string folder;            // "us-atlas"
  bool optional = false;         // without it the sample is made with less
  std::vector<std::string> keep; // members of the package to unpack (empty: all)
};

// What a recipe's build step is given.
struct SampleBuild {
  // Each package's unpacked folder by NpmPackage::folder; an optional one
  // that could not be had is absent.
  std::map<std::string, std::string> packages;
  std::string description; // share/tovana/samples/<folder>: the recipe's own files
  std::string out;         // the data set's folder, made; the build writes its files there
  std::ostream* log = nullptr;
};

// A sample data set the program can make on the user's machine.
struct SampleRecipe {
  std::string name;   // the data set's name, as `install-sample NAME` takes it
  std::string folder; // its folder among the data sets and under share/tovana/samples
  std::vector<NpmPackage> packages;
  // Copied from the description folder into the data set after the build,
  // so that dataset.json appears only once the data it names is there.
  std::vector<std::string> descriptionFiles;
  std::function<void(const SampleBuild&)> build; // failures raise an exception
};

// Every sample, the default one first. `make data` and
// `tovana datasets install-sample` both make them from here. A new sample is
// one more entry; description files of its own, if it has any (*.json and
// *.md), are named with its folder in tov_samples of
// packaging/CMakeLists.txt so that they are installed.
const std::vector<SampleRecipe>& SampleRecipes();

} // namespace tov
