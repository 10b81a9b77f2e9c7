#include "host/gis/HostLayerFile.h"

#include "host/common/Paths.h"
#include "host/gis/FilesFoundWhole.h"
#include "host/gis/GisErrors.h"
#include "host/gis/HostFeatureLayer.h"
#include "host/gis/LayerJson.h"
#include "host/gis/LayerSource.h"
#include "host/gis/StrictJson.h"
#include "platform/gis/FeatureLayer.h"
#include "platform/runtime/ProgIds.h"

#include <filesystem>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace tov {

namespace {
const char* const kSource = kLayerFileProgId;
constexpr long kLayerFileVersion = 1;

// Layer files read whole, each remembered with what its layer needs before
// anything else is asked of it: its name, where its data is, whether it has
// a symbol, and the folder its data's relative path is under. `open` opens
// every study area's layer file only to ask where its data is; while a file
// is as it was then, that is answered without reading it.
FolderFilesCache g_read("layerfiles", "tovana layer files read 1");

struct Remembered {
  std::string name, anchor;
  LayerSource source;
  bool defaultSymbol = false;
};

// Written as a JSON array, so that any name or path is kept as it is.
std::string Describe(const Remembered& r) {
  JsonTextWriter out;
  out.BeginArray();
  out.String(r.name);
  out.String(r.source.format);
  out.String(r.source.dataset);
  out.String(r.source.path);
  if (r.source.hasRelativePath) out.String(r.source.relativePath);
  else out.Null();
  out.Bool(r.defaultSymbol);
  out.String(r.anchor);
  out.End();
  return out.TakeText();
}

// False for anything Describe did not write (a damaged cache).
bool Recall(const std::string& text, Remembered& r) {
  try {
    const JsonView view(text);
    const JsonValue& a = view.Root();
    if (!a.is_array() || a.size() != 7) return false;
    for (size_t i : {0, 1, 2, 3, 6})
      if (!a[i].is_string()) return false;
    if (!(a[4].is_string() || a[4].is_null()) || !a[5].is_boolean()) return false;
    r.name = a[0].Text();
    r.source.format = a[1].Text();
    if (r.source.format != "shapefile" && r.source.format != "geopackage" && r.source.format != "postgis") return false;
    r.source.kind = r.source.format == "geopackage" ? WorkspaceKind::GeoPackage : WorkspaceKind::Shapefile;
    r.source.dataset = a[2].Text();
    r.source.path = a[3].Text();
    r.source.hasRelativePath = a[4].is_string();
    if (r.source.hasRelativePath) r.source.relativePath = a[4].Text();
    r.defaultSymbol = a[5].Bool();
    r.anchor = a[6].Text();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}
} // namespace

void UseLayerFileCacheOf(const std::string& analysisFolder) { g_read.Use(analysisFolder); }

void SaveLayerFileCache() { g_read.Save(); }

void HostLayerFile::Open(const std::string& path) {
  if (path.empty()) throw HostError(err::InvalidCall, kSource, "No layer file was named");
  const std::string native = ToNativePath(path);
  std::string description;
  Remembered remembered;
  if (g_read.With([&](FilesFoundWhole& read) { return read.StillWhole(native, &description); }) &&
      Recall(description, remembered)) {
    auto layer = std::make_shared<HostFeatureLayer>();
    SetLayerDataToOpen(*layer, remembered.source, remembered.anchor, remembered.defaultSymbol);
    layer->SetName(remembered.name); // before the rest is to be read: nothing is read for it
    layer->SetRestToRead([path] {
      HostLayerFile whole;
      whole.OpenWhole(path);
      auto read = std::dynamic_pointer_cast<HostFeatureLayer>(whole.Layer());
      if (!read)
        throw HostError(gisErr::DocumentFormat, kSource,
                        "The layer file \"" + DisplayPath(ToNativePath(path)) + "\" no longer holds a feature layer");
      return read;
    });
    m_layer = layer;
    m_path = path;
    return;
  }
  OpenWhole(path);
}

void HostLayerFile::OpenWhole(const std::string& path) {
  const std::string native = ToNativePath(path);
  struct stat seen {};
  const std::string text = LayerJson::ReadText(native, kSource, &seen);
  const std::unique_ptr<JsonView> view = LayerJson::ParseView(text, native, kSource);
  const JsonValue& j = view->Root();
  std::string anchor;
  LayerPtr layer;
  try {
    JsonObject(j, "");
    if (JsonInteger(j, "version", "") != kLayerFileVersion)
      RefuseJson("\"version\"", "this application reads version " + std::to_string(kLayerFileVersion));
    // The base moves with the file: resolve it against where the file is now.
    if (JsonOptionalMember(j, "relativeBase"))
      anchor = UnderFolder(FolderOfFile(native), JsonText(j, "relativeBase", ""));
    layer = LayerJson::Read(JsonMember(j, "layer", ""), anchor, "\"layer\"");
    // Save writes where the base is whenever the layer has one; without it the
    // base could not be moved with the file.
    if (auto fl = std::dynamic_pointer_cast<FeatureLayer>(layer);
        fl && anchor.empty() && !fl->DataSourceRelativeBase().empty())
      RefuseJson("\"relativeBase\"", "the layer has a data source base but the file does not say where it is");
  } catch (const JsonFormatError& e) {
    throw HostError(gisErr::DocumentFormat, kSource,
                    "The file \"" + DisplayPath(native) + "\" is not a layer file this application can read (" +
                        e.what() + ")");
  }
  if (auto fl = std::dynamic_pointer_cast<FeatureLayer>(layer); fl && !anchor.empty()) {
    std::string base = anchor;
    while (base.size() > 1 && base.back() == '/') base.pop_back();
    fl->SetDataSourceRelativeBase(ToPlatformPath(base));
  }
  // A feature layer with data is remembered with what its layer needs first.
  if (auto fl = std::dynamic_pointer_cast<HostFeatureLayer>(layer); fl && seen.st_ino != 0) {
    const JsonValue& l = JsonMember(j, "layer", "");
    if (const JsonValue* source = JsonOptionalMember(l, "source")) {
      Remembered r;
      r.name = fl->Name();
      r.anchor = anchor;
      r.source = ReadLayerSource(*source, "");
      r.defaultSymbol = JsonMember(JsonMember(l, "renderer", ""), "symbol", "").is_null();
      g_read.With([&](FilesFoundWhole& read) { read.RememberWhole(native, {{native, seen}}, Describe(r)); });
    }
  }
  m_layer = layer;
  m_path = path;
}

void HostLayerFile::Save(const std::string& path) {
  if (!path.empty()) m_path = path;
  if (m_path.empty()) throw HostError(err::InvalidCall, kSource, "The layer file has no path to save to");
  if (!m_layer) throw HostError(err::ObjectRequired, kSource, "The layer file \"" + DisplayPath(m_path) + "\" has no layer to save");
  const std::string native = ToNativePath(m_path);
  std::string anchor, relativeBase;
  if (auto fl = std::dynamic_pointer_cast<FeatureLayer>(m_layer); fl && !fl->DataSourceRelativeBase().empty()) {
    const std::string b = AbsoluteNormalPath(ToNativePath(fl->DataSourceRelativeBase()));
    anchor = b;
    relativeBase = fs::path(b).lexically_relative(fs::path(FolderOfFile(native))).generic_string();
    if (relativeBase.empty()) relativeBase = ".";
  }
  // Members in the order of their keys (see LayerJson).
  JsonTextWriter out;
  out.BeginObject();
  out.Key("layer");
  LayerJson::Write(m_layer, anchor, out);
  if (!anchor.empty()) {
    out.Key("relativeBase");
    out.String(relativeBase);
  }
  out.Key("version");
  out.Integer(kLayerFileVersion);
  out.End();
  LayerJson::WriteFileAtomically(native, out.Text(), kSource);
}

} // namespace tov
