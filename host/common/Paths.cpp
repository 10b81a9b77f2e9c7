#include "host/common/Paths.h"

#include "platform/runtime/HostError.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <unordered_map>

#include <sys/stat.h>

namespace fs = std::filesystem;

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

namespace {
std::string WeaklyCanonical(const std::string& nativePath) {
  std::error_code ec;
  fs::path p = fs::weakly_canonical(nativePath, ec);
  return ec ? nativePath : p.string();
}
} // namespace

namespace {
// Absolute, with no empty, "." or ".." part and no trailing separator.
bool IsAbsoluteNormal(const std::string& p) {
  if (p.empty() || p[0] != '/') return false;
  if (p.size() == 1) return true;
  for (size_t start = 1; start <= p.size();) {
    size_t end = p.find('/', start);
    if (end == std::string::npos) end = p.size();
    const size_t n = end - start;
    if (n == 0 || (n == 1 && p[start] == '.') || (n == 2 && p[start] == '.' && p[start + 1] == '.')) return false;
    start = end + 1;
  }
  return true;
}
} // namespace

std::string AbsoluteNormalPath(const std::string& nativePath) {
  std::string trimmed = nativePath;
  while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
  if (IsAbsoluteNormal(trimmed)) return trimmed;
  std::error_code ec;
  std::string p = fs::absolute(nativePath.empty() ? std::string(".") : nativePath, ec).lexically_normal().string();
  if (ec) p = fs::path(nativePath).lexically_normal().string();
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  return p;
}

std::string FolderOfFile(const std::string& nativeFile) {
  const std::string file = AbsoluteNormalPath(nativeFile);
  const size_t slash = file.rfind('/');
  return slash == 0 || slash == std::string::npos ? "/" : file.substr(0, slash);
}

std::string UnderFolder(const std::string& folder, const std::string& relative) {
  const std::string base = AbsoluteNormalPath(folder);
  if (relative == ".") return base == "/" ? base : base + "/";
  if (!relative.empty() && relative[0] != '/') {
    const std::string joined = base == "/" ? base + relative : base + "/" + relative;
    if (AbsoluteNormalPath(joined) == joined) return joined;
  }
  return (fs::path(base) / relative).lexically_normal().string();
}

std::string ResolvedPath(const std::string& nativePath) {
  static std::mutex mutex;
  static std::unordered_map<std::string, std::string> folders;
  std::string trimmed = nativePath;
  while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
  // Split by hand when the path is plain: it is asked for every layer a
  // document shows, and the library's path type costs more than the lookup.
  std::string parent, leaf;
  if (IsAbsoluteNormal(trimmed) && trimmed.size() > 1) {
    const size_t slash = trimmed.rfind('/');
    parent = slash == 0 ? "/" : trimmed.substr(0, slash);
    leaf = trimmed.substr(slash + 1);
  } else {
    const fs::path path(trimmed);
    const fs::path name = path.filename();
    // Only a plain last name that is no link may be put after its resolved folder.
    if (!path.is_absolute() || name.empty() || name == "." || name == "..") return WeaklyCanonical(nativePath);
    parent = path.parent_path().string();
    leaf = name.string();
  }
  struct stat st {};
  const bool exists = lstat(trimmed.c_str(), &st) == 0;
  if (exists && S_ISLNK(st.st_mode)) return WeaklyCanonical(nativePath);
  // A trailing separator stays on what does not exist as a folder, as weakly_canonical leaves it.
  if (trimmed.size() != nativePath.size() && !(exists && S_ISDIR(st.st_mode))) return WeaklyCanonical(nativePath);
  std::lock_guard<std::mutex> lock(mutex);
  auto it = folders.find(parent);
  if (it == folders.end()) {
    // Only a folder that exists is remembered; one still to be made is resolved each time.
    char* real = realpath(parent.c_str(), nullptr);
    if (!real) return WeaklyCanonical(nativePath);
    it = folders.emplace(parent, std::string(real)).first;
    free(real);
  }
  return it->second == "/" ? "/" + leaf : it->second + "/" + leaf;
}

std::string ComparablePath(const std::string& nativePath) {
  std::error_code ec;
  fs::path p = fs::weakly_canonical(nativePath, ec);
  return ec ? fs::absolute(nativePath, ec).lexically_normal().string() : p.string();
}

} // namespace tov
