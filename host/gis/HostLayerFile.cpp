#include "host/gis/HostLayerFile.h"

#include "host/common/Paths.h"
#include "host/gis/GisErrors.h"
#include "host/gis/LayerJson.h"
#include "platform/gis/FeatureLayer.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace tov {

namespace {
const char kSource[] = "orvaCore.LayerFile";

fs::path FolderOf(const std::string& nativeFile) {
  std::error_code ec;
  return fs::absolute(nativeFile, ec).parent_path().lexically_normal();
}
} // namespace

void HostLayerFile::Open(const std::string& path) {
  if (path.empty()) throw HostError(err::InvalidCall, kSource, "No layer file was named");
  const std::string native = ToNativePath(path);
  nlohmann::json j = LayerJson::ReadFile(native, kSource);
  if (!j.is_object() || !j.contains("layer"))
    throw HostError(gisErr::DocumentFormat, kSource, "The file \"" + DisplayPath(path) + "\" is not a layer file");
  const fs::path folder = FolderOf(native);
  // The base moves with the file: resolve it against where the file is now.
  std::string anchor;
  if (j.contains("relativeBase")) anchor = (folder / j.value("relativeBase", "")).lexically_normal().string();
  LayerPtr layer;
  try {
    layer = LayerJson::Read(j["layer"], anchor);
  } catch (const nlohmann::json::exception& e) {
    throw HostError(gisErr::DocumentFormat, kSource, "The layer file \"" + DisplayPath(path) + "\" is damaged (" + e.what() + ")");
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
  nlohmann::json j = {{"version", 1}};
  std::string anchor;
  if (auto fl = std::dynamic_pointer_cast<FeatureLayer>(m_layer); fl && !fl->DataSourceRelativeBase().empty()) {
    std::error_code ec;
    std::string b = fs::absolute(ToNativePath(fl->DataSourceRelativeBase()), ec).lexically_normal().string();
    while (b.size() > 1 && b.back() == '/') b.pop_back();
    const fs::path base(b);
    anchor = b;
    std::string rel = base.lexically_relative(FolderOf(native)).generic_string();
    j["relativeBase"] = rel.empty() ? "." : rel;
  }
  j["layer"] = LayerJson::Write(m_layer, anchor);
  LayerJson::WriteFileAtomically(native, j.dump(2), kSource);
}

} // namespace tov
