#include "host/gis/LayerSource.h"

#include "host/common/Paths.h"
#include "host/gis/HostFeatureClass.h"
#include "host/gis/HostFeatureLayer.h"
#include "host/gis/PostgisWorkspace.h"
#include "host/gis/ShapefileCheck.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace tov {

LayerSource ReadLayerSource(const JsonValue& s, const JsonWhere& where) {
  JsonObject(s, where);
  LayerSource entry;
  entry.hasRelativePath = JsonOptionalMember(s, "relativePath") != nullptr;
  entry.format = JsonText(s, "format", where);
  if (entry.format != "shapefile" && entry.format != "geopackage" && entry.format != "postgis")
    RefuseJson(JsonWhere(where, "format"), "\"" + entry.format + "\" is not a known data format");
  entry.kind = entry.format == "geopackage" ? WorkspaceKind::GeoPackage : WorkspaceKind::Shapefile;
  entry.dataset = JsonText(s, "dataset", where);
  entry.path = JsonText(s, "path", where);
  if (JsonOptionalMember(s, "relativePath")) entry.relativePath = JsonText(s, "relativePath", where);
  return entry;
}

FeatureClassPtr OpenLayerSource(const LayerSource& s, const std::string& anchor) {
  if (s.format == "postgis") {
    // A database that cannot be reached leaves the layer without a class.
    try {
      auto workspace = PostgisWorkspace::Open(s.path);
      if (workspace->FeatureClassExists(s.dataset)) return workspace->OpenFeatureClass(s.dataset);
    } catch (const HostError&) {
    }
    return nullptr;
  }
  std::vector<std::string> candidates;
  if (!anchor.empty() && !s.relativePath.empty())
    candidates.push_back(UnderFolder(anchor, s.relativePath));
  candidates.push_back(s.path);
  for (const auto& path : candidates) {
    if (path.empty()) continue;
    // A whole shapefile is opened when first used: a command that only asks
    // every layer where its data lives (to find a study area's other layers)
    // then opens none. Damaged ones are left to the driver to judge here.
    // Found whole, its folder exists: that is not asked again.
    if (s.kind == WorkspaceKind::Shapefile && ShapefileLooksWhole(path, s.dataset, ShapefileUse::Update))
      return HostFeatureClass::WhenUsed(HostWorkspace::OpenWhenUsed(s.kind, path), s.dataset);
    std::error_code ec;
    if (!fs::exists(path, ec)) continue;
    // An open workspace may still list a shapefile whose files are gone.
    if (s.kind == WorkspaceKind::Shapefile && !fs::exists(fs::path(path) / (s.dataset + ".shp"), ec)) continue;
    try {
      return HostWorkspace::Open(s.kind, path)->OpenFeatureClass(s.dataset);
    } catch (const HostError&) {
      // Try the next place; missing data leaves the layer without a class.
    }
  }
  return nullptr;
}

void SetLayerDataToOpen(HostFeatureLayer& layer, const LayerSource& source, const std::string& anchor,
                        bool defaultSymbol) {
  // Where the data is looked for first; also what a missing one is shown as.
  std::string path = source.path;
  if (!anchor.empty() && !source.relativePath.empty() && source.format != "postgis")
    path = UnderFolder(anchor, source.relativePath);
  // Opened when first needed: a document holds many layers, of which a
  // command draws or reads few.
  layer.SetDataToOpen({source.format, path, source.dataset},
                      {source.format, source.dataset, source.path, source.relativePath, source.hasRelativePath},
                      defaultSymbol, [source, anchor] { return OpenLayerSource(source, anchor); });
}

} // namespace tov
