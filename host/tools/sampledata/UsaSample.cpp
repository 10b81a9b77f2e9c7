#include "host/tools/sampledata/UsaSample.h"

#include "host/tools/sampledata/CensusRegions.h"
#include "host/tools/sampledata/PopulatedPlaces.h"
#include "host/tools/sampledata/SampleFiles.h"
#include "host/tools/sampledata/SampleGeometry.h"
#include "host/tools/sampledata/ZipAreas.h"

#include <gdal_priv.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace tov::sampledata {

namespace {

void GeosMessage(const char* fmt, ...) {
  // Notices from the repair routines are expected and not worth printing.
  (void)fmt;
}

// The one GEOS context of the build, for its length.
struct GeosContext {
  GeosContext() {
    g_geos = GEOS_init_r();
    GEOSContext_setNoticeHandler_r(g_geos, GeosMessage);
    GEOSContext_setErrorHandler_r(g_geos, GeosMessage);
  }
  ~GeosContext() {
    GEOS_finish_r(g_geos);
    g_geos = nullptr;
  }
  GeosContext(const GeosContext&) = delete;
  GeosContext& operator=(const GeosContext&) = delete;
};

std::string Seconds(std::chrono::steady_clock::time_point since) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f",
                std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count());
  return text;
}

} // namespace

void BuildUsaSample(const UsaSources& o, const fs::path& out, std::ostream& log) {
  GeosContext geos;
  auto start = std::chrono::steady_clock::now();
  fs::path topoFile = o.atlas / "counties-10m.json";
  fs::path zipFile = o.zips / "array.js";
  fs::path citiesFile = o.cities.empty() ? fs::path() : o.cities / "cities.pbf";
  for (const auto& f : {topoFile, zipFile, citiesFile})
    if (!f.empty() && !fs::exists(f)) throw BuildError("missing input " + f.string());
  fs::create_directories(out);

  GDALAllRegister();
  const char* topoDrivers[] = {"TopoJSON", nullptr};
  std::unique_ptr<GDALDataset> topo(GDALDataset::Open(topoFile.string().c_str(),
                                                      GDAL_OF_VECTOR | GDAL_OF_READONLY,
                                                      topoDrivers, nullptr, nullptr));
  if (!topo) throw BuildError("cannot read " + topoFile.string() + " as TopoJSON");

  log << "Reading states and counties from " << topoFile.string() << "\n";
  int statesRepaired = 0, countiesRepaired = 0;
  std::vector<Region> states = ReadRegions(*topo, "states", statesRepaired);
  std::vector<Region> counties = ReadRegions(*topo, "counties", countiesRepaired);
  for (auto& s : states) {
    s.state = PostalCode(s.fips);
    if (s.state.empty()) log << "  state " << s.fips << " (" << s.name << ") has no postal code\n";
  }
  for (auto& c : counties) c.state = PostalCode(c.fips.substr(0, 2));
  MakeCountyLabels(counties);
  log << "  " << states.size() << " states (" << statesRepaired << " repaired), "
            << counties.size() << " counties (" << countiesRepaired << " repaired)\n";

  log << "Reading ZIP centroids from " << zipFile.string() << "\n";
  std::vector<ZipPoint> zips = ReadZips(zipFile);
  log << "  " << zips.size() << " ZIP centroids\n";
  AssignCounties(zips, counties);

  std::vector<Place> places;
  if (citiesFile.empty()) {
    log << "No populated places given: the gazetteer holds the ZIP codes only\n";
  } else {
    log << "Reading populated places from " << citiesFile.string() << "\n";
    places = ReadPlaces(citiesFile);
    log << "  " << places.size() << " places in the United States\n";
  }

  log << "Building ZIP areas\n";
  auto voronoiStart = std::chrono::steady_clock::now();
  std::vector<ZipArea> zipAreas = BuildZipAreas(zips, states);
  log << "  " << zipAreas.size() << " ZIP areas in " << Seconds(voronoiStart) << " s\n";

  fs::path gpkgFile = out / "usa.gpkg";
  fs::path gazetteerFile = out / "gazetteer.csv";
  fs::path gpkgTemp = out / "usa-building.gpkg";
  fs::path gazetteerTemp = out / "gazetteer-building.csv";
  log << "Writing " << gpkgFile.string() << " and " << gazetteerFile.string() << "\n";
  WriteGeoPackage(gpkgTemp, states, counties, zipAreas);
  WriteGazetteer(gazetteerTemp, zips, places);
  fs::rename(gpkgTemp, gpkgFile);
  fs::rename(gazetteerTemp, gazetteerFile);
  log << "Done in " << Seconds(start) << " s: " << states.size() << " states, " << counties.size() << " counties, "
      << zipAreas.size() << " ZIP areas, gazetteer of " << zips.size() << " ZIP codes and " << places.size()
      << " places\n";
}

} // namespace tov::sampledata
