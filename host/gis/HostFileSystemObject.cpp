#include "host/gis/HostFileSystemObject.h"

#include "host/common/Paths.h"
#include "platform/runtime/HostError.h"
#include "platform/runtime/ProgIds.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace tov {

namespace {
const char* const kSource = kFileSystemObjectProgId;
}

bool HostFileSystemObject::FileExists(const std::string& path) const {
  std::error_code ec;
  return !path.empty() && fs::is_regular_file(ToNativePath(path), ec);
}

bool HostFileSystemObject::FolderExists(const std::string& path) const {
  std::error_code ec;
  return !path.empty() && fs::is_directory(ToNativePath(path), ec);
}

std::string HostFileSystemObject::GetAbsolutePathName(const std::string& path) const {
  const std::string native = ToNativePath(path.empty() ? std::string(".") : path);
  // An absolute path needs no working folder, so it cannot fail.
  if (!native.empty() && native[0] == '/') return ToPlatformPath(AbsoluteNormalPath(native));
  std::error_code ec;
  fs::path abs = fs::absolute(native, ec);
  if (ec) throw HostError(err::PathNotFound, kSource, "The path \"" + DisplayPath(path) + "\" cannot be resolved: " + ec.message());
  return ToPlatformPath(AbsoluteNormalPath(abs.string()));
}

void HostFileSystemObject::DeleteFile(const std::string& path) {
  std::error_code ec;
  const std::string native = ToNativePath(path);
  if (!fs::is_regular_file(native, ec))
    throw HostError(err::FileNotFound, kSource, "The file \"" + DisplayPath(path) + "\" cannot be deleted because it does not exist");
  if (!fs::remove(native, ec))
    throw HostError(75, kSource, "The file \"" + DisplayPath(path) + "\" cannot be deleted: " + ec.message());
}

} // namespace tov
