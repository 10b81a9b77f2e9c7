#include "host/gis/HostScratchWorkspaceFactory.h"

#include "host/common/Paths.h"
#include "host/gis/HostWorkspaceFactory.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace tov {

namespace {
WorkspacePtr& Scratch() {
  static WorkspacePtr scratch;
  return scratch;
}

void RemoveScratch() {
  if (WorkspacePtr& ws = Scratch()) {
    try {
      ws->Delete();
    } catch (...) {
      // At exit there is nobody to tell; the temporary folder is cleaned anyway.
    }
    ws.reset();
  }
}
} // namespace

WorkspacePtr HostScratchWorkspaceFactory::DefaultScratchWorkspace() {
  if (!Scratch()) {
    HostWorkspaceFactory gpkg(WorkspaceKind::GeoPackage);
    const std::string folder = ToPlatformPath(fs::temp_directory_path().string());
    const std::string name = "tovana_scratch_" + std::to_string(::getpid());
    const std::string existing = JoinPlatformPath(folder, name + ".gpkg");
    const std::string path = gpkg.IsWorkspace(existing) ? existing : gpkg.Create(folder, name, nullptr);
    Scratch() = gpkg.OpenFromFile(path);
    std::atexit(RemoveScratch);
  }
  return Scratch();
}

} // namespace tov
