#include "host/gis/GisApplication.h"

#include "host/gis/DocumentLock.h"
#include "host/gis/MapDocumentMerge.h"

#include "host/common/Paths.h"
#include "host/gis/GisErrors.h"
#include "host/gis/HostEnvelope.h"
#include "host/gis/HostGraphicElement.h"
#include "host/gis/HostLayerFile.h"
#include "host/gis/HostMap.h"
#include "host/gis/HostMapDocument.h"
#include "host/gis/HostSpatialReferenceFactory.h"
#include "host/gis/LayerJson.h"
#include "host/gis/OgrGeometrySource.h"
#include "host/gis/ShapefileCheck.h"
#include "host/gis/StrictJson.h"
#include "platform/gis/EnumElement.h"
#include "platform/gis/Envelope.h"
#include "platform/gis/GraphicElement.h"
#include "platform/gis/Layer.h"
#include "platform/gis/SpatialReference.h"
#include "platform/runtime/ProgIds.h"
#include "platform/runtime/TextCase.h"

#include <algorithm>
#include <filesystem>

#include <ogr_geometry.h>

namespace fs = std::filesystem;
using nlohmann::json;

namespace tov {

namespace {
const char* const kSource = kApplicationProgId;
constexpr long kDocumentVersion = 1;

// Drawn graphics keep their shape (as WKT in the map's system), symbol and
// whether they were selected. Members go in the order of their keys (see
// LayerJson).
void WriteGraphics(const HostMap& map, JsonTextWriter& out) {
  std::vector<GraphicElementPtr> selected;
  if (auto e = map.SelectedElements())
    for (auto el = e->Next(); el; el = e->Next()) selected.push_back(el);
  out.BeginArray();
  for (long i = 0; i < map.ElementCount(); ++i) {
    GraphicElementPtr element = map.Element(i);
    GeometryPtr shape = element->Geometry();
    if (!shape || shape->IsEmpty()) continue;
    auto ogr = OgrGeometryOf(shape);
    if (!ogr) continue;
    out.BeginObject();
    out.Key("selected");
    out.Bool(std::find(selected.begin(), selected.end(), element) != selected.end());
    out.Key("symbol");
    LayerJson::WriteSymbol(element->Symbol(), out);
    out.Key("wkt");
    out.String(ogr->exportToWkt());
    out.End();
  }
  out.End();
}

void ReadGraphics(const JsonValue& graphics, const std::string& where, HostMap& map) {
  for (size_t i = 0; i < graphics.size(); ++i) {
    const std::string place = JsonPlace(where, i);
    const JsonValue& g = JsonObject(graphics[i], place);
    const std::string wkt = JsonText(g, "wkt", place);
    const bool selected = JsonBool(g, "selected", place);
    SymbolPtr symbol = LayerJson::ReadSymbol(JsonMember(g, "symbol", place), JsonPlace(place, "symbol"));
    OGRGeometry* raw = nullptr;
    if (OGRGeometryFactory::createFromWkt(wkt.c_str(), nullptr, &raw) != OGRERR_NONE || !raw)
      RefuseJson(JsonPlace(place, "wkt"), "the shape cannot be read");
    std::unique_ptr<OGRGeometry> ogr(raw);
    auto element = std::make_shared<HostGraphicElement>();
    element->SetGeometry(GeometryFromOgr(ogr.get(), geometryNull, map.SpatialReference()));
    if (symbol) element->SetSymbol(symbol);
    map.AddElement(element);
    if (selected) map.SelectElement(element);
  }
}

void WriteMap(const HostMap& map, const std::string& anchor, JsonTextWriter& out) {
  out.BeginObject();
  out.Key("extent");
  EnvelopePtr e = map.Extent();
  if (e->IsEmpty()) {
    out.Null();
  } else {
    out.BeginArray();
    for (double value : {e->XMin(), e->YMin(), e->XMax(), e->YMax()}) out.Float(value);
    out.End();
  }
  out.Key("graphics");
  WriteGraphics(map, out);
  out.Key("layers");
  out.BeginArray();
  for (long i = 0; i < map.LayerCount(); ++i) LayerJson::Write(map.Layer(i), anchor, out);
  out.End();
  out.Key("name");
  out.String(map.Name());
  out.Key("spatialReference");
  if (map.SpatialReference()) out.String(map.SpatialReference()->ExportToWkt());
  else out.Null();
  out.End();
}

std::shared_ptr<HostMap> ReadMap(const JsonValue& j, const std::string& anchor, const std::string& where) {
  JsonObject(j, where);
  auto map = std::make_shared<HostMap>();
  map->SetName(JsonText(j, "name", where));
  const JsonValue& system = JsonMember(j, "spatialReference", where);
  if (!system.is_null()) {
    if (!system.is_string()) RefuseJson(JsonPlace(where, "spatialReference"), "a text or null was expected");
    try {
      map->SetSpatialReference(HostSpatialReferenceFactory().CreateFromWkt(std::string(system.Text())));
    } catch (const HostError& e) {
      RefuseJson(JsonPlace(where, "spatialReference"), e.Description());
    }
  }
  // The extent before the layers: a map that shows something already does
  // not look at its layers' data to find what to show.
  const JsonValue& extent = JsonMember(j, "extent", where);
  if (!extent.is_null()) {
    const std::string place = JsonPlace(where, "extent");
    if (!extent.is_array() || extent.size() != 4 || !extent[0].is_number() || !extent[1].is_number() ||
        !extent[2].is_number() || !extent[3].is_number())
      RefuseJson(place, "four numbers or null were expected");
    auto e = std::make_shared<HostEnvelope>();
    e->PutCoords(extent[0].Number(), extent[1].Number(), extent[2].Number(), extent[3].Number());
    e->SetSpatialReference(map->SpatialReference());
    map->SetExtent(e);
  }
  const JsonValue& layers = JsonArray(j, "layers", where);
  // Saved top first; appending keeps that order.
  const JsonWhere layersPlace(where, "layers");
  for (size_t i = 0; i < layers.size(); ++i)
    map->InsertLayer(LayerJson::Read(layers[i], anchor, JsonWhere(layersPlace, i)), map->LayerCount());
  // Documents written before graphics were saved have none.
  if (JsonOptionalMember(j, "graphics")) ReadGraphics(JsonArray(j, "graphics", where), JsonPlace(where, "graphics"), *map);
  return map;
}

// The document as SaveDocument writes it, or JsonFormatError.
std::shared_ptr<HostMapDocument> ReadDocument(const JsonValue& j, const std::string& anchor) {
  JsonObject(j, "");
  const long version = JsonInteger(j, "version", "");
  if (version != kDocumentVersion)
    RefuseJson("\"version\"", "this application reads version " + std::to_string(kDocumentVersion) + ", not " +
                                  std::to_string(version));
  const JsonValue& maps = JsonArray(j, "maps", "");
  if (maps.size() == 0) RefuseJson("\"maps\"", "the document has no map");
  const long focus = JsonInteger(j, "focusMap", "");
  if (focus < 0 || focus >= static_cast<long>(maps.size()))
    RefuseJson("\"focusMap\"", "there is no map number " + std::to_string(focus));
  auto doc = std::make_shared<HostMapDocument>();
  doc->ClearMaps();
  for (size_t i = 0; i < maps.size(); ++i) doc->AddMap(ReadMap(maps[i], anchor, JsonPlace("\"maps\"", i)));
  doc->SetFocusMap(doc->Map(focus));
  return doc;
}

// The text SaveDocument writes to a file in nativeFolder.
std::string WriteDocument(const MapDocument& document, const std::string& nativeFolder, size_t sizeHint = 0) {
  long focus = 0;
  for (long i = 0; i < document.MapCount(); ++i)
    if (document.Map(i) == document.FocusMap()) focus = i;
  JsonTextWriter out;
  out.Reserve(sizeHint + sizeHint / 8);
  out.BeginObject();
  out.Key("focusMap");
  out.Integer(focus);
  out.Key("maps");
  out.BeginArray();
  for (long i = 0; i < document.MapCount(); ++i) {
    auto map = std::dynamic_pointer_cast<HostMap>(document.Map(i));
    if (!map) throw HostError(err::TypeMismatch, kSource, "The document holds a map this application cannot save");
    WriteMap(*map, nativeFolder, out);
  }
  out.End();
  out.Key("version");
  out.Integer(kDocumentVersion);
  out.End();
  return out.TakeText();
}

} // namespace

GisApplication::GisApplication() : m_document(std::make_shared<HostMapDocument>()) {}

MapDocumentPtr GisApplication::Document() const {
  m_untouched = false;
  return m_document;
}

std::shared_ptr<const std::string> GisApplication::UntouchedDocumentText(const std::string& path) const {
  if (!m_untouched || !m_preparations.empty() || !m_baselineIsFile || ComparablePath(ToNativePath(path)) != m_baselineFile)
    return nullptr;
  return m_fileText;
}

void GisApplication::Prepare(const Preparation& preparation) {
  try {
    preparation(*m_document);
  } catch (...) {
    // Half made, it could not be replayed as it was.
    m_untouched = false;
    throw;
  }
  if (m_untouched) m_preparations.push_back(preparation);
}

std::function<std::string()> GisApplication::PreparedDocumentState(const std::string& path) const {
  const std::string native = ToNativePath(path);
  if (!m_untouched || m_preparations.empty() || !m_baselineIsFile || ComparablePath(native) != m_baselineFile) return {};
  return [text = m_fileText, preparations = m_preparations, native] {
    const std::string folder = FolderOfFile(native);
    MapDocumentPtr document = ReadDocument(LayerJson::ParseView(*text, native, kSource)->Root(), folder);
    for (const Preparation& preparation : preparations) preparation(*document);
    return WriteDocument(*document, folder);
  };
}
int64_t GisApplication::hWnd() const { return m_hWnd; }
void GisApplication::SetHWnd(int64_t handle) { m_hWnd = handle; }

ObjectPtr GisApplication::FindExtension(const std::string& identifier) const {
  auto it = m_extensions.find(LowerCase(identifier));
  return it == m_extensions.end() ? nullptr : it->second;
}

void GisApplication::AddExtension(const std::string& identifier, const ObjectPtr& extension) {
  if (identifier.empty()) throw HostError(err::InvalidCall, kSource, "An extension needs an identifier");
  m_extensions[LowerCase(identifier)] = extension;
}

void GisApplication::RemoveExtension(const std::string& identifier) { m_extensions.erase(LowerCase(identifier)); }

void GisApplication::NewDocument() {
  m_document = std::make_shared<HostMapDocument>();
  m_baselineText.clear();
  m_baselineFile.clear();
  m_fileText.reset();
  m_baselineIsFile = false;
  m_untouched = false;
  m_preparations.clear();
}

void GisApplication::LoadDocument(const std::string& path) {
  const std::string native = ToNativePath(path);
  std::error_code ec;
  const bool exists = fs::exists(native, ec);
  try {
    std::string text = LayerJson::ReadText(native, kSource);
    const std::unique_ptr<JsonView> view = LayerJson::ParseView(text, native, kSource);
    try {
      // The shapefiles its layers show, and their layer files, were mostly
      // found whole before.
      UseShapefileCacheOf(FolderOfFile(native));
      UseLayerFileCacheOf(FolderOfFile(native));
      m_document = ReadDocument(view->Root(), FolderOfFile(native));
      // The baseline is made from the text only when a save has to merge:
      // most saves find the file as it was read.
      m_baselineText.clear();
      m_fileText = std::make_shared<const std::string>(std::move(text));
      m_baselineIsFile = true;
      m_baselineFile = ComparablePath(native);
      m_untouched = true;
      m_preparations.clear();
    } catch (const JsonFormatError& e) {
      throw HostError(gisErr::DocumentFormat, kSource,
                      "The map document \"" + DisplayPath(native) +
                          "\" is not one this application can read, so it was not opened and will not be "
                          "overwritten (" + e.what() + ")");
    }
  } catch (const HostError&) {
    // What was not understood must not be replaced by what was.
    if (exists) m_unreadDocument = ComparablePath(native);
    throw;
  }
  m_unreadDocument.clear();
}

std::string GisApplication::DocumentText(const std::string& native) const {
  // Most saves write about what they read.
  return WriteDocument(*m_document, FolderOfFile(native), m_fileText ? m_fileText->size() : 0);
}

std::string GisApplication::DocumentState(const std::string& path) const { return DocumentText(ToNativePath(path)); }

void GisApplication::SaveDocumentChangesSince(const std::string& path, const std::string& since,
                                              std::string now) const {
  const std::string native = ToNativePath(path);
  RefuseUnreadDocument(native);
  if (now.empty()) now = DocumentText(native);
  m_baselineText = since;
  m_baselineIsFile = false;
  m_baselineFile = ComparablePath(native);
  SaveDocumentState(native, std::move(now));
}

json GisApplication::Baseline(const std::string& native) const {
  if (!m_baselineText.empty()) return ParseJson(m_baselineText);
  // As this process would write the text it last read, so that only real
  // changes differ.
  if (m_baselineIsFile && m_fileText && !m_fileText->empty()) {
    const std::unique_ptr<JsonView> read = LayerJson::ParseView(*m_fileText, native, kSource);
    return ParseJson(WriteDocument(*ReadDocument(read->Root(), FolderOfFile(native)), FolderOfFile(native)));
  }
  return json();
}

void GisApplication::SaveDocument(const std::string& path) const { SaveDocument(path, std::string()); }

void GisApplication::SaveDocument(const std::string& path, std::string now) const {
  const std::string native = ToNativePath(path);
  RefuseUnreadDocument(native);
  SaveDocumentState(native, now.empty() ? DocumentText(native) : std::move(now));
}

void GisApplication::RefuseUnreadDocument(const std::string& native) const {
  if (!m_unreadDocument.empty() && ComparablePath(native) == m_unreadDocument)
    throw HostError(gisErr::DocumentFormat, kSource,
                    "The map document \"" + DisplayPath(native) +
                        "\" could not be read when it was opened, so it is not overwritten. Repair or remove it "
                        "and open it again.");
}

void GisApplication::SaveDocumentState(const std::string& native, std::string now) const {
  m_untouched = false;

  DocumentLock lock(native);
  std::error_code ec;
  std::string out;
  // Only the file this document came from is merged into; another one
  // (a new document, or saving under a new name) is replaced. A file that
  // still holds what the baseline was made from has nothing to merge.
  const std::string file = ComparablePath(native);
  if (file == m_baselineFile && fs::exists(native, ec)) {
    const std::string text = LayerJson::ReadText(native, kSource);
    if (!m_fileText || text != *m_fileText || !m_baselineIsFile) {
      json theirs = LayerJson::ParseText(text, native, kSource);
      if (!theirs.is_object() || theirs.value("version", json()) != json(kDocumentVersion))
        throw HostError(gisErr::DocumentFormat, kSource,
                        "The map document \"" + DisplayPath(native) +
                            "\" was replaced by one this application cannot read, so it is not overwritten.");
      out = LayerJson::Text(MapDocumentMerge::Merge(Baseline(native), ParseJson(now), std::move(theirs)));
    }
  }
  if (out.empty()) out = now;
  LayerJson::WriteFileAtomically(native, out, kSource);
  // After a merge the file also holds others' work, which the baseline
  // (this document) must not: the next save merges again.
  m_baselineIsFile = out == now;
  m_baselineText = std::move(now);
  m_baselineFile = file;
  m_fileText = std::make_shared<const std::string>(std::move(out));
  m_savedText = m_fileText;
  SaveShapefileCache();
  SaveLayerFileCache();
}

} // namespace tov
