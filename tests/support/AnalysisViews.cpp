#include "AnalysisViews.h"

#include "PostgisCluster.h"

#include "host/common/Paths.h"

#include <nlohmann/json.hpp>

using nlohmann::json;

namespace tov::test {

namespace {

// The feature layers of the document's maps, at any depth.
std::vector<json> DocumentFeatureLayers(const json& document) {
  std::vector<json> out;
  std::function<void(const json&)> collect = [&](const json& layers) {
    for (const auto& layer : layers) {
      if (layer.value("type", "") == "group") collect(layer["layers"]);
      else out.push_back(layer);
    }
  };
  for (const auto& map : document["maps"]) collect(map["layers"]);
  return out;
}

bool IsStudyAreaLayer(const json& layer) {
  return layer.contains("source") && layer["source"].value("relativePath", "").rfind("StudyAreas/", 0) == 0;
}

std::vector<std::string> FolderInconsistencies(const TestWorld& world) {
  std::vector<std::string> problems;
  AnalysisPtr analysis = world.Open();
  StudyAreaCatalogPtr catalog = analysis->dataManager->GetStudyAreaCatalog();
  CollectionPtr names = catalog->Names();
  std::set<std::string> recordFolders;
  for (long i = 1; i <= names->Count(); ++i) {
    const std::string name = names->Item(i).ToString();
    const std::string layerFile = ToNativePath(catalog->Item(name)->FilePath());
    recordFolders.insert(fs::path(layerFile).parent_path().lexically_normal().string());
    if (!fs::exists(layerFile)) problems.push_back("record " + name + ": no layer file " + layerFile);
  }
  const fs::path studyAreas = fs::path(analysis->folder) / "StudyAreas";
  if (fs::exists(studyAreas))
    for (const auto& entry : fs::directory_iterator(studyAreas))
      if (!recordFolders.count(entry.path().lexically_normal().string()))
        problems.push_back("folder without a record: " + entry.path().string());
  for (const auto& layer : DocumentFeatureLayers(json::parse(world.DocumentText()))) {
    if (!layer.contains("source")) continue;
    const fs::path path = fs::path(world.AnalysisFolder()) / layer["source"].value("relativePath", "");
    const std::string dataset = layer["source"]["dataset"];
    const bool present =
        layer["source"]["format"] == "shapefile" ? fs::exists(path / (dataset + ".shp")) : fs::exists(path);
    if (!present) problems.push_back("document layer " + layer["name"].get<std::string>() + ": no data at " + path.string());
  }
  return problems;
}

} // namespace

std::vector<std::string> CatalogueNames(const TestWorld& world) {
  std::vector<std::string> names;
  CollectionPtr all = world.Open()->dataManager->GetStudyAreaCatalog()->Names();
  for (long i = 1; i <= all->Count(); ++i) names.push_back(all->Item(i).ToString());
  return names;
}

std::string StoredLog(const TestWorld& world) {
  if (!world.Shared()) return ReadTextFile(world.AnalysisFolder() + "/log.txt");
  return TestConnection()
      ->Scalar("SELECT string_agg(line, ' ') FROM " + PgConnection::QuoteIdentifier(world.Schema()) + ".log")
      .value_or("");
}

std::vector<std::string> DocumentLayerNames(const TestWorld& world) {
  std::vector<std::string> names;
  for (const auto& layer : DocumentFeatureLayers(json::parse(world.DocumentText()))) names.push_back(layer["name"]);
  return names;
}

std::vector<std::string> Inconsistencies(const TestWorld& world) {
  return world.Shared() ? ReadServer(world).problems : FolderInconsistencies(world);
}

std::vector<LayerPtr> LayersNamed(const MapPtr& map, const std::string& name) {
  std::vector<LayerPtr> found;
  EnumLayerPtr layers = map->Layers(true);
  while (LayerPtr layer = layers->Next())
    if (layer->Name() == name) found.push_back(layer);
  return found;
}

LayerPtr FindLayer(const MapPtr& map, const std::string& name) {
  const std::vector<LayerPtr> found = LayersNamed(map, name);
  return found.empty() ? nullptr : found.front();
}

double OutlineWidth(const LayerPtr& layer) {
  return As<FillSymbol>(As<FeatureLayer>(layer)->Renderer()->Symbol())->Outline()->Width();
}

template <class T>
std::shared_ptr<T> Named(const char* progId, const std::string& name) {
  auto layer = CreateAs<T>(progId);
  layer->SetName(name);
  return layer;
}
GroupLayerPtr NewGroup(const std::string& name) { return Named<GroupLayer>(kGroupLayerProgId, name); }
FeatureLayerPtr NamedLayer(const std::string& name) { return Named<FeatureLayer>(kFeatureLayerProgId, name); }

std::unique_ptr<PgConnection> TestConnection() {
  const SharedLocation location = SharedAnalysis::ParseLocation(PostgisConnection().value_or("PG:"));
  return std::make_unique<PgConnection>(location.conninfo, location.shown);
}

ServerView ReadServer(const TestWorld& world) {
  ServerView view;
  auto db = TestConnection();
  const std::string s = PgConnection::QuoteIdentifier(world.Schema()) + ".";
  std::map<std::string, std::string> nameOf;
  for (const auto& r : db->Query("SELECT id, name FROM " + s + "study_areas ORDER BY id")) {
    view.names.push_back(*r[1]);
    nameOf[*r[0]] = *r[1];
  }
  // Every record has its layer file and a table with one shape; no table is left without a record.
  std::set<std::string> referenced;
  for (const auto& [id, name] : nameOf) {
    if (!db->Scalar("SELECT 1 FROM " + s + "record_files WHERE record_id = $1", {id}))
      view.problems.push_back(name + ": no layer file");
    auto tables = db->Query("SELECT table_name FROM " + s + "record_tables WHERE record_id = $1", {id});
    if (tables.empty()) view.problems.push_back(name + ": no table");
    for (const auto& t : tables) {
      referenced.insert(*t[0]);
      auto count = db->Scalar("SELECT count(*) FROM " + s + PgConnection::QuoteIdentifier(*t[0]) +
                              " WHERE NOT ST_IsEmpty(shape)");
      if (count.value_or("0") != "1")
        view.problems.push_back(name + ": table " + *t[0] + " has " + count.value_or("?") + " shapes");
    }
  }
  for (const auto& r : db->Query("SELECT tablename FROM pg_tables WHERE schemaname = $1 AND tablename LIKE 'study\\_area\\_%'",
                                 {world.Schema()}))
    if (!referenced.count(*r[0])) view.problems.push_back("table without a record: " + *r[0]);
  if (auto document = db->Scalar("SELECT content FROM " + s + "document WHERE id = 1"))
    for (const json& layer : DocumentFeatureLayers(json::parse(*document)))
      if (IsStudyAreaLayer(layer)) view.documentNames.push_back(layer["name"]);
  std::vector<std::string> a = view.names, b = view.documentNames;
  std::sort(a.begin(), a.end());
  std::sort(b.begin(), b.end());
  if (a != b) {
    std::string text = "catalogue and document differ: catalogue";
    for (const auto& n : a) text += " " + n;
    text += "; document";
    for (const auto& n : b) text += " " + n;
    view.problems.push_back(text);
  }
  return view;
}

} // namespace tov::test
