#include "host/gis/HostLayerFile.h"

#include "host/common/Paths.h"
#include "host/gis/GisErrors.h"
#include "host/gis/LayerJson.h"
#include "host/gis/StrictJson.h"
#include "platform/gis/FeatureLayer.h"
#include "platform/runtime/ProgIds.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace tov {

namespace {
const char* const kSource = kLayerFileProgId;
constexpr long kLayerFileVersion = 1;
} // namespace

void HostLayerFile::Open(const std::string& path) {
  if (path.empty()) throw HostError(err::InvalidCall, kSource, "No layer file was named");
  const std::string native = ToNativePath(path);
  const std::string text = LayerJson::ReadText(native, kSource);
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
