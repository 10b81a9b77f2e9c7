#include "host/framework/AnalysisCheck.h"

#include "host/common/Paths.h"
#include "platform/framework/SettingsKeys.h"
#include "platform/runtime/PathDisplay.h"
#include "host/gis/HostFeatureLayer.h"
#include "host/gis/HostLayerFile.h"
#include "host/gis/PostgisWorkspace.h"
#include "host/gis/ShapefileCheck.h"
#include "platform/framework/StudyAreaCatalog.h"
#include "platform/framework/StudyAreaRecord.h"
#include "platform/framework/TextPropertySet.h"
#include "platform/gis/FeatureClass.h"
#include "platform/gis/GroupLayer.h"
#include "platform/gis/Map.h"
#include "platform/gis/MapDocument.h"
#include "platform/gis/Workspace.h"
#include "platform/runtime/HostError.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <set>

namespace fs = std::filesystem;

namespace tov {

namespace {

std::string MissingDataPath(const HostFeatureLayer& layer) {
  const LayerDataSource& source = layer.DataSource();
  if (source.format == "shapefile")
    return ShownPath((fs::path(source.nativePath) / (source.dataset + ".shp")).lexically_normal().string());
  return ShownPath(source.nativePath) + (source.dataset.empty() ? "" : " (" + source.dataset + ")");
}

// Whether the layer's data would open. A shapefile is told by its files'
// headers: opening it through the driver, for every study area of a list,
// would cost far more. Looked for where the layer would open it: the folder
// beside the layer file first, then the one it was saved from.
// `checkedFiles` receives the files of a shapefile found whole.
bool DataOpens(const HostFeatureLayer& layer, std::vector<std::string>* checkedFiles = nullptr) {
  const LayerDataSource& source = layer.DataSource();
  const SavedDataSource* saved = layer.UnopenedSource();
  if (source.format != "shapefile" || !saved) return layer.FeatureClass() != nullptr;
  for (const std::string& folder : {source.nativePath, saved->path})
    if (!folder.empty() && ShapefileLooksWhole(folder, source.dataset)) {
      if (checkedFiles)
        for (const char* extension : {".shp", ".shx", ".dbf"})
          checkedFiles->push_back((fs::path(folder) / (source.dataset + extension)).string());
      return true;
    }
  return false;
}

// A layer whose data could not be opened, or whose workspace has gone
// since (a folder the repair removed).
bool HasMissingData(const LayerPtr& layer) {
  auto fl = std::dynamic_pointer_cast<HostFeatureLayer>(layer);
  if (!fl) return false;
  if (!fl->FeatureClass()) return !fl->DataSource().format.empty();
  WorkspacePtr workspace = fl->FeatureClass()->Workspace();
  std::error_code ec;
  // A database's tables were found when the layer was opened; no file to look for.
  if (!workspace || PostgisWorkspace::IsConnectionString(workspace->PathName())) return false;
  return !workspace->PathName().empty() && !fs::exists(ToNativePath(workspace->PathName()), ec);
}

// Feature layers without data, with the group (or none: the map) holding each.
void CollectMissing(const LayerPtr& layer, const GroupLayerPtr& parent,
                    std::vector<std::pair<LayerPtr, GroupLayerPtr>>& out) {
  if (auto group = std::dynamic_pointer_cast<GroupLayer>(layer)) {
    for (long i = 0; i < group->Count(); ++i) CollectMissing(group->Layer(i), group, out);
  } else if (HasMissingData(layer)) {
    out.emplace_back(layer, parent);
  }
}

std::vector<std::pair<LayerPtr, GroupLayerPtr>> MissingLayers(const Map& map) {
  std::vector<std::pair<LayerPtr, GroupLayerPtr>> out;
  for (long i = 0; i < map.LayerCount(); ++i) CollectMissing(map.Layer(i), nullptr, out);
  return out;
}

// Where a layer's data is, the same for a layer file's layer and a map's.
std::string DataKey(const HostFeatureLayer& layer) {
  const LayerDataSource& source = layer.DataSource();
  if (source.format.empty()) return std::string();
  return source.format + "|" + fs::path(source.nativePath).lexically_normal().string() + "|" + source.dataset;
}

// Feature layers at any depth under layer.
void CollectFeatureLayers(const LayerPtr& layer, std::vector<std::shared_ptr<HostFeatureLayer>>& out) {
  if (auto group = std::dynamic_pointer_cast<GroupLayer>(layer)) {
    for (long i = 0; i < group->Count(); ++i) CollectFeatureLayers(group->Layer(i), out);
  } else if (auto fl = std::dynamic_pointer_cast<HostFeatureLayer>(layer)) {
    out.push_back(fl);
  }
}

// Calls back with each map layer that shows a study area's data under a
// name that is not the study area's (a rename that reached the catalogue but
// not the document), and that study area's name.
void ForEachStaleLayer(const Analysis& analysis,
                       const std::function<void(HostFeatureLayer& layer, const std::string& studyArea)>& found) {
  StudyAreaCatalogPtr catalog = analysis.dataManager->GetStudyAreaCatalog();
  CollectionPtr names = catalog->Names();
  std::map<std::string, std::string> studyAreaOf; // data key -> name
  for (long i = 1; names && i <= names->Count(); ++i) {
    const std::string name = names->Item(i).ToString();
    try {
      HostLayerFile file;
      file.Open(ToNativePath(catalog->Item(name)->FilePath()));
      if (auto layer = std::dynamic_pointer_cast<HostFeatureLayer>(file.Layer()))
        if (std::string key = DataKey(*layer); !key.empty()) studyAreaOf[key] = name;
    } catch (const HostError&) {
      // a broken study area is reported as such
    }
  }
  MapDocumentPtr document = analysis.application->Document();
  for (long m = 0; document && m < document->MapCount(); ++m) {
    std::vector<std::shared_ptr<HostFeatureLayer>> layers;
    MapPtr map = document->Map(m);
    for (long i = 0; i < map->LayerCount(); ++i) CollectFeatureLayers(map->Layer(i), layers);
    for (const auto& layer : layers) {
      auto it = studyAreaOf.find(DataKey(*layer));
      if (it != studyAreaOf.end() && it->second != layer->Name()) found(*layer, it->second);
    }
  }
}

std::vector<std::string> Names(StudyAreaCatalog& catalog) {
  std::vector<std::string> names;
  CollectionPtr all = catalog.Names();
  for (long i = 1; all && i <= all->Count(); ++i) names.push_back(all->Item(i).ToString());
  return names;
}

} // namespace

std::string AnalysisCheck::BrokenReason(const Analysis& analysis, const std::string& name) {
  StudyAreaRecordPtr record = analysis.dataManager->GetStudyAreaCatalog()->Item(name);
  return record ? BrokenReason(*record) : "no record";
}

std::string AnalysisCheck::BrokenReason(StudyAreaRecord& record, CheckedStudyAreas* checked) {
  const std::string layerFile = ToNativePath(record.FilePath());
  if (checked && checked->StillWhole(layerFile)) return "";
  if (checked) checked->Forget(layerFile);
  HostLayerFile file;
  try {
    file.Open(layerFile);
  } catch (const HostError& e) {
    // Asked only now: a whole study area is told with one look at its file.
    std::error_code ec;
    if (!fs::exists(layerFile, ec)) return "layer file missing: " + ShownPath(layerFile);
    return "layer file unreadable: " + ShownPath(layerFile) + " (" + e.Description() + ")";
  }
  auto layer = std::dynamic_pointer_cast<HostFeatureLayer>(file.Layer());
  if (!layer) return "layer file holds no feature layer: " + ShownPath(layerFile);
  std::vector<std::string> dataFiles;
  if (!DataOpens(*layer, &dataFiles)) return "dataset missing: " + MissingDataPath(*layer);
  // Only a shapefile's verdict rests on files alone.
  if (checked && !dataFiles.empty()) checked->RememberWhole(layerFile, dataFiles);
  return "";
}

std::vector<AnalysisFinding> AnalysisCheck::Check(const Analysis& analysis) {
  std::vector<AnalysisFinding> findings;
  StudyAreaCatalogPtr catalog = analysis.dataManager->GetStudyAreaCatalog();
  std::set<std::string> recordFolders;
  const std::vector<std::string> names = Names(*catalog);
  for (const std::string& name : names) {
    recordFolders.insert(fs::path(ToNativePath(catalog->Item(name)->FilePath())).parent_path().lexically_normal().string());
    std::string reason = BrokenReason(analysis, name);
    if (!reason.empty()) findings.push_back({AnalysisFinding::Kind::BrokenStudyArea, name, "broken: " + reason});
  }

  const fs::path studyAreas = fs::path(analysis.folder) / "StudyAreas";
  std::error_code ec;
  std::vector<std::string> orphans;
  for (fs::directory_iterator it(studyAreas, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string path = it->path().lexically_normal().string();
    if (it->is_directory(ec) && !recordFolders.count(path)) orphans.push_back(path);
  }
  std::sort(orphans.begin(), orphans.end());
  for (const std::string& path : orphans)
    findings.push_back({AnalysisFinding::Kind::FolderWithoutRecord, path,
                        "folder without a study area record: " + ShownPath(path)});

  MapDocumentPtr document = analysis.application->Document();
  for (long m = 0; document && m < document->MapCount(); ++m)
    for (const auto& [layer, parent] : MissingLayers(*document->Map(m))) {
      auto fl = std::dynamic_pointer_cast<HostFeatureLayer>(layer);
      const std::string where = fl->FeatureClass() ? ShownPath(ToNativePath(fl->FeatureClass()->Workspace()->PathName()))
                                                   : MissingDataPath(*fl);
      findings.push_back({AnalysisFinding::Kind::LayerDataMissing, layer->Name(),
                          "map layer \"" + layer->Name() + "\" has no data: " + where});
    }

  ForEachStaleLayer(analysis, [&](HostFeatureLayer& layer, const std::string& studyArea) {
    findings.push_back({AnalysisFinding::Kind::LayerNameStale, layer.Name(),
                        "map layer \"" + layer.Name() + "\" shows the study area \"" + studyArea +
                            "\" under another name"});
  });

  const std::string current = analysis.extension->ExtensionProperties()->GetProperty(kCurrentExtentKey);
  if (!current.empty() && current != kNoCurrentExtent && !catalog->Exists(current))
    findings.push_back({AnalysisFinding::Kind::DanglingCurrent, current,
                        "the current study area \"" + current + "\" does not exist"});
  return findings;
}

std::vector<std::string> AnalysisCheck::RepairOutsideCatalogue(const Analysis& analysis,
                                                               const std::vector<AnalysisFinding>& findings) {
  std::vector<std::string> done;
  bool dropLayers = false;
  for (const AnalysisFinding& f : findings) {
    switch (f.kind) {
    case AnalysisFinding::Kind::FolderWithoutRecord: {
      dropLayers = true; // layers may still show what was in it
      std::error_code ec;
      fs::remove_all(f.name, ec);
      if (ec)
        throw HostError(err::PathNotFound, "AnalysisCheck",
                        "The folder " + ShownPath(f.name) + " cannot be removed (" + ec.message() + ").");
      done.push_back("removed the folder " + ShownPath(f.name));
      break;
    }
    case AnalysisFinding::Kind::LayerDataMissing: dropLayers = true; break;
    case AnalysisFinding::Kind::DanglingCurrent:
      analysis.extension->ExtensionProperties()->SetProperty(kCurrentExtentKey, "");
      done.push_back("cleared the current study area \"" + f.name + "\"");
      break;
    case AnalysisFinding::Kind::LayerNameStale: break;
    case AnalysisFinding::Kind::BrokenStudyArea: break;
    }
  }
  ForEachStaleLayer(analysis, [&](HostFeatureLayer& layer, const std::string& studyArea) {
    done.push_back("renamed the map layer \"" + layer.Name() + "\" to \"" + studyArea + "\"");
    layer.SetName(studyArea);
  });
  MapDocumentPtr document = analysis.application->Document();
  for (long m = 0; dropLayers && document && m < document->MapCount(); ++m) {
    MapPtr map = document->Map(m);
    for (const auto& [layer, parent] : MissingLayers(*map)) {
      if (parent)
        parent->Delete(layer);
      else
        map->DeleteLayer(layer);
      done.push_back("dropped the map layer \"" + layer->Name() + "\"");
    }
  }
  return done;
}

} // namespace tov
