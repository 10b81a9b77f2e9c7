#include "host/common/Paths.h"

#include "platform/runtime/HostError.h"

#include <algorithm>

namespace tov {

std::string ToNativePath(const std::string& platformPath) {
  std::string native = platformPath;
  std::replace(native.begin(), native.end(), '\\', '/');
  return native;
}

std::string ToPlatformPath(const std::string& nativePath) {
  if (nativePath.find('\\') != std::string::npos)
    throw HostError(err::PathNotFound, "Tovana.Paths",
                    "The file or folder \"" + nativePath +
                        "\" has a backslash in its name, which this application cannot handle. "
                        "Rename it without the backslash and try again.");
  std::string platform = nativePath;
  std::replace(platform.begin(), platform.end(), '/', '\\');
  return platform;
}

std::string DisplayPath(const std::string& path) {
  // A path with a "/" is native already; its backslashes (which the host
  // refuses elsewhere) are part of a name and are shown as they are.
  if (path.find('/') != std::string::npos) return path;
  return ToNativePath(path);
}

std::string JoinPlatformPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  std::string head = folder;
  while (head.size() > 1 && head.back() == '\\') head.pop_back();
  std::string tail = name;
  size_t skip = 0;
  while (skip < tail.size() && tail[skip] == '\\') ++skip;
  tail.erase(0, skip);
  if (head == "\\") return head + tail;
  return head + "\\" + tail;
}

} // namespace tov
