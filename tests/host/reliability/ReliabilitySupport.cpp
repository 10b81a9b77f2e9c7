#include "ReliabilitySupport.h"

#include "host/common/Paths.h"
#include "platform/framework/StudyAreaCatalog.h"
#include "platform/framework/StudyAreaRecord.h"

#include <cstdlib>
#include <filesystem>
#include <set>
#include <sys/wait.h>
#include <thread>

namespace fs = std::filesystem;
using nlohmann::json;

namespace tov::test {

json ReadDocument(const TestWorld& world) {
  return json::parse(ReadTextFile(world.AnalysisFolder() + "/document.json"));
}

namespace {
void CollectFeatureLayers(const json& layers, std::vector<json>& out) {
  for (const auto& layer : layers) {
    if (layer["type"] == "group")
      CollectFeatureLayers(layer["layers"], out);
    else
      out.push_back(layer);
  }
}

std::vector<json> DocumentFeatureLayers(const TestWorld& world) {
  std::vector<json> layers;
  const json document = ReadDocument(world);
  for (const auto& map : document["maps"]) CollectFeatureLayers(map["layers"], layers);
  return layers;
}
} // namespace

std::vector<std::string> DocumentLayerNames(const TestWorld& world) {
  std::vector<std::string> names;
  for (const auto& layer : DocumentFeatureLayers(world)) names.push_back(layer["name"]);
  return names;
}

std::vector<std::string> Inconsistencies(const TestWorld& world) {
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
  for (const auto& layer : DocumentFeatureLayers(world)) {
    if (!layer.contains("source")) continue;
    const fs::path path = fs::path(world.AnalysisFolder()) / layer["source"].value("relativePath", "");
    const std::string dataset = layer["source"]["dataset"];
    const bool present = layer["source"]["format"] == "shapefile" ? fs::exists(path / (dataset + ".shp"))
                                                                    : fs::exists(path);
    if (!present) problems.push_back("document layer " + layer["name"].get<std::string>() + ": no data at " + path.string());
  }
  return problems;
}

} // namespace tov::test
