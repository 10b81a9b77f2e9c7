#include "host/gis/HostScratchWorkspaceFactory.h"

#include "host/common/Paths.h"
#include "host/common/UserFolders.h"
#include "host/gis/HostWorkspaceFactory.h"

#include <csignal>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace tov {

namespace {
constexpr char kPrefix[] = "tovana_scratch_";

WorkspacePtr& Scratch() {
  static WorkspacePtr scratch;
  return scratch;
}

void RemoveScratch() {
  if (WorkspacePtr& ws = Scratch()) {
    try {
      ws->Delete();
    } catch (...) {
      // At exit there is nobody to tell; the next process removes it.
    }
    ws.reset();
  }
}

// Scratch workspaces of processes that were killed ("tovana_scratch_<pid>.*").
void RemoveAbandonedScratch(const fs::path& folder) {
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.rfind(kPrefix, 0) != 0) continue;
    const long pid = std::strtol(name.c_str() + sizeof(kPrefix) - 1, nullptr, 10);
    if (pid > 0 && pid != getpid() && kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
      std::error_code ignored;
      fs::remove(it->path(), ignored);
    }
  }
}
} // namespace

WorkspacePtr HostScratchWorkspaceFactory::DefaultScratchWorkspace() {
  if (!Scratch()) {
    HostWorkspaceFactory gpkg(WorkspaceKind::GeoPackage);
    // In the user's private cache: a name in a shared temporary folder could
    // be made first by someone else.
    const fs::path native = fs::path(UserCacheFolder()) / "scratch";
    std::error_code ec;
    fs::create_directories(native, ec);
    RemoveAbandonedScratch(native);
    const std::string folder = ToPlatformPath(native.string());
    const std::string name = kPrefix + std::to_string(::getpid());
    const std::string existing = JoinPlatformPath(folder, name + ".gpkg");
    const std::string path = gpkg.IsWorkspace(existing) ? existing : gpkg.Create(folder, name, nullptr);
    Scratch() = gpkg.OpenFromFile(path);
    std::atexit(RemoveScratch);
  }
  return Scratch();
}

} // namespace tov
