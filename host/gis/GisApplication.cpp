#include "host/gis/GisApplication.h"

#include "host/common/Paths.h"
#include "host/gis/GisErrors.h"
#include "host/gis/HostEnvelope.h"
#include "host/gis/HostGraphicElement.h"
#include "host/gis/HostMap.h"
#include "host/gis/HostMapDocument.h"
#include "host/gis/HostSpatialReferenceFactory.h"
#include "host/gis/LayerJson.h"
#include "host/gis/OgrGeometrySource.h"
#include "platform/gis/EnumElement.h"
#include "platform/gis/Envelope.h"
#include "platform/gis/GraphicElement.h"
#include "platform/gis/Layer.h"
#include "platform/gis/SpatialReference.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include <ogr_geometry.h>

namespace fs = std::filesystem;
using nlohmann::json;

namespace tov {

namespace {
const char kSource[] = "orvaCore.Application";

std::string Fold(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

std::string FolderOf(const std::string& nativeFile) {
  std::error_code ec;
  return fs::absolute(nativeFile, ec).parent_path().lexically_normal().string();
}

// Drawn graphics keep their shape (as WKT in the map's system), symbol and
// whether they were selected.
json WriteGraphics(const HostMap& map) {
  std::vector<GraphicElementPtr> selected;
  if (auto e = map.SelectedElements())
    for (auto el = e->Next(); el; el = e->Next()) selected.push_back(el);
  json graphics = json::array();
  for (long i = 0; i < map.ElementCount(); ++i) {
    GraphicElementPtr element = map.Element(i);
    GeometryPtr shape = element->Geometry();
    if (!shape || shape->IsEmpty()) continue;
    auto ogr = OgrGeometryOf(shape);
    if (!ogr) continue;
    json g = {{"wkt", ogr->exportToWkt()},
              {"selected", std::find(selected.begin(), selected.end(), element) != selected.end()}};
    g["symbol"] = element->Symbol() ? LayerJson::WriteSymbol(element->Symbol()) : json(nullptr);
    graphics.push_back(g);
  }
  return graphics;
}

// A graphic that cannot be read is left out: the rest of the document counts
// for more than one drawing.
void ReadGraphics(const json& graphics, HostMap& map) {
  for (const json& g : graphics) {
    if (!g.is_object() || !g.contains("wkt") || !g["wkt"].is_string()) continue;
    OGRGeometry* raw = nullptr;
    const std::string wkt = g["wkt"].get<std::string>();
    if (OGRGeometryFactory::createFromWkt(wkt.c_str(), nullptr, &raw) != OGRERR_NONE || !raw) continue;
    std::unique_ptr<OGRGeometry> ogr(raw);
    auto element = std::make_shared<HostGraphicElement>();
    element->SetGeometry(GeometryFromOgr(ogr.get(), geometryNull, map.SpatialReference()));
    if (g.contains("symbol") && g["symbol"].is_object()) element->SetSymbol(LayerJson::ReadSymbol(g["symbol"]));
    map.AddElement(element);
    if (g.value("selected", false)) map.SelectElement(element);
  }
}

json WriteMap(const HostMap& map, const std::string& anchor) {
  json layers = json::array();
  for (long i = 0; i < map.LayerCount(); ++i) layers.push_back(LayerJson::Write(map.Layer(i), anchor));
  json j = {{"name", map.Name()}, {"layers", layers}};
  j["spatialReference"] = map.SpatialReference() ? json(map.SpatialReference()->ExportToWkt()) : json(nullptr);
  EnvelopePtr e = map.Extent();
  j["graphics"] = WriteGraphics(map);
  j["extent"] = e->IsEmpty() ? json(nullptr) : json::array({e->XMin(), e->YMin(), e->XMax(), e->YMax()});
  return j;
}

std::shared_ptr<HostMap> ReadMap(const json& j, const std::string& anchor) {
  auto map = std::make_shared<HostMap>();
  map->SetName(j.value("name", "Layers"));
  if (j.contains("spatialReference") && j["spatialReference"].is_string())
    map->SetSpatialReference(HostSpatialReferenceFactory().CreateFromWkt(j["spatialReference"].get<std::string>()));
  if (j.contains("layers") && j["layers"].is_array()) {
    // Saved top first; appending keeps that order.
    for (const json& l : j["layers"]) map->InsertLayer(LayerJson::Read(l, anchor), map->LayerCount());
  }
  if (j.contains("graphics") && j["graphics"].is_array()) ReadGraphics(j["graphics"], *map);
  if (j.contains("extent") && j["extent"].is_array() && j["extent"].size() == 4) {
    auto e = std::make_shared<HostEnvelope>();
    e->PutCoords(j["extent"][0].get<double>(), j["extent"][1].get<double>(), j["extent"][2].get<double>(),
                 j["extent"][3].get<double>());
    e->SetSpatialReference(map->SpatialReference());
    map->SetExtent(e);
  }
  return map;
}
} // namespace

GisApplication::GisApplication() : m_document(std::make_shared<HostMapDocument>()) {}

MapDocumentPtr GisApplication::Document() const { return m_document; }
int64_t GisApplication::hWnd() const { return m_hWnd; }
void GisApplication::SetHWnd(int64_t handle) { m_hWnd = handle; }

ObjectPtr GisApplication::FindExtension(const std::string& identifier) const {
  auto it = m_extensions.find(Fold(identifier));
  return it == m_extensions.end() ? nullptr : it->second;
}

void GisApplication::AddExtension(const std::string& identifier, const ObjectPtr& extension) {
  if (identifier.empty()) throw HostError(err::InvalidCall, kSource, "An extension needs an identifier");
  m_extensions[Fold(identifier)] = extension;
}

void GisApplication::RemoveExtension(const std::string& identifier) { m_extensions.erase(Fold(identifier)); }

void GisApplication::NewDocument() { m_document = std::make_shared<HostMapDocument>(); }

void GisApplication::LoadDocument(const std::string& path) {
  const std::string native = ToNativePath(path);
  json j = LayerJson::ReadFile(native, kSource);
  if (!j.is_object() || !j.contains("maps") || !j["maps"].is_array())
    throw HostError(gisErr::DocumentFormat, kSource, "The file \"" + DisplayPath(native) + "\" is not a map document");
  const std::string anchor = FolderOf(native);
  auto doc = std::make_shared<HostMapDocument>();
  doc->ClearMaps();
  try {
    for (const json& m : j["maps"]) doc->AddMap(ReadMap(m, anchor));
  } catch (const json::exception& e) {
    throw HostError(gisErr::DocumentFormat, kSource,
                    "The map document \"" + DisplayPath(native) + "\" is damaged (" + e.what() + ")");
  }
  if (doc->MapCount() == 0) doc->AddMap(std::make_shared<HostMap>());
  const long focus = j.value("focusMap", 0L);
  doc->SetFocusMap(doc->Map(focus >= 0 && focus < doc->MapCount() ? focus : 0));
  m_document = doc;
}

void GisApplication::SaveDocument(const std::string& path) const {
  const std::string native = ToNativePath(path);
  const std::string anchor = FolderOf(native);
  json maps = json::array();
  long focus = 0;
  for (long i = 0; i < m_document->MapCount(); ++i) {
    auto map = std::dynamic_pointer_cast<HostMap>(m_document->Map(i));
    if (!map) throw HostError(err::TypeMismatch, kSource, "The document holds a map this application cannot save");
    if (map == m_document->FocusMap()) focus = i;
    maps.push_back(WriteMap(*map, anchor));
  }
  json j = {{"version", 1}, {"focusMap", focus}, {"maps", maps}};
  LayerJson::WriteFileAtomically(native, j.dump(2), kSource);
}

} // namespace tov
