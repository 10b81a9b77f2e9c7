#include "host/gis/HostWorkspaceFactory.h"

#include "host/common/Paths.h"
#include "host/gis/GisErrors.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace tov {

namespace {
const char kSource[] = "orvaCore.WorkspaceFactory";
}

std::string HostWorkspaceFactory::ClassID() const {
  return m_kind == WorkspaceKind::Shapefile ? kShapefileClsid : kGeoPackageClsid;
}

WorkspacePtr HostWorkspaceFactory::OpenFromFile(const std::string& path) {
  if (path.empty()) throw HostError(err::InvalidCall, kSource, "No workspace path was given");
  return HostWorkspace::Open(m_kind, ToNativePath(path));
}

bool HostWorkspaceFactory::IsWorkspace(const std::string& path) const {
  std::error_code ec;
  const std::string native = ToNativePath(path);
  if (m_kind == WorkspaceKind::Shapefile) return fs::is_directory(native, ec);
  return fs::is_regular_file(native, ec);
}

std::string HostWorkspaceFactory::Create(const std::string& folder, const std::string& name, const ObjectPtr&) {
  if (name.empty()) throw HostError(err::InvalidCall, kSource, "A new workspace needs a name");
  const fs::path dir = ToNativePath(folder);
  std::error_code ec;
  if (!fs::is_directory(dir, ec))
    throw HostError(err::PathNotFound, kSource, "The folder \"" + DisplayPath(folder) + "\" does not exist");
  if (m_kind == WorkspaceKind::Shapefile) {
    const fs::path target = dir / name;
    if (fs::exists(target, ec))
      throw HostError(gisErr::DatasetExists, kSource, "The folder \"" + DisplayPath(target.string()) + "\" already exists");
    if (!fs::create_directory(target, ec))
      throw HostError(err::PathNotFound, kSource,
                      "The folder \"" + DisplayPath(target.string()) + "\" cannot be created: " + ec.message());
    return ToPlatformPath(target.string());
  }
  std::string fileName = name;
  if (fs::path(fileName).extension() != ".gpkg") fileName += ".gpkg";
  const fs::path target = dir / fileName;
  if (fs::exists(target, ec))
    throw HostError(gisErr::DatasetExists, kSource,
                    "The geodatabase \"" + DisplayPath(target.string()) + "\" already exists; choose another name");
  GDALDriver* drv = GetGDALDriverManager()->GetDriverByName("GPKG");
  ResetOgrError();
  GDALDataset* ds = drv ? drv->Create(target.string().c_str(), 0, 0, 0, GDT_Unknown, nullptr) : nullptr;
  if (!ds) ThrowOgrError(gisErr::DataAccess, kSource, "The geodatabase \"" + DisplayPath(target.string()) + "\" cannot be created");
  GDALClose(ds);
  return ToPlatformPath(target.string());
}

} // namespace tov
