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
  std::error_code ec;
  fs::path abs = fs::absolute(ToNativePath(path.empty() ? std::string(".") : path), ec);
  if (ec) throw HostError(err::PathNotFound, kSource, "The path \"" + DisplayPath(path) + "\" cannot be resolved: " + ec.message());
  std::string native = abs.lexically_normal().string();
  while (native.size() > 1 && native.back() == '/') native.pop_back();
  return ToPlatformPath(native);
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
