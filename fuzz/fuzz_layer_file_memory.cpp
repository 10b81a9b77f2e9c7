// What the cache remembers of a layer file: whatever an entry says, the
// file opens (from the entry or read whole) without failing, and once more
// than its name and data is asked for, the layer is the file's.
#include "FuzzGisData.h"
#include "FuzzSupport.h"

#include "host/gis/FilesFoundWhole.h"
#include "host/gis/HostLayerFile.h"
#include "host/gis/RegisterHostGisClasses.h"
#include "platform/gis/FeatureLayer.h"
#include "platform/gis/SimpleRenderer.h"

#include <cstdlib>
#include <sys/stat.h>

using namespace tov;
using namespace tov::fuzz;

namespace {
const char kLayer[] =
    R"({"layer":{"dataSourceRelativeBase":"","displayAnnotation":false,"labelClasses":[],"name":"Squares",)"
    R"("renderer":{"label":"","symbol":null},"selectable":true,"selectionColor":{"rgb":65535,"transparency":255},)"
    R"("source":{"dataset":"squares","format":"shapefile","path":"/nonexistent/shapes","relativePath":"shapes"},)"
    R"("type":"feature","visible":false},"relativeBase":".","version":1})";

std::string Identity(const std::filesystem::path& file) {
  struct stat st {};
  if (stat(file.c_str(), &st) != 0) Fail("cannot stat " + file.string());
  auto ns = [](const timespec& t) { return std::to_string(int64_t{t.tv_sec} * 1000000000 + t.tv_nsec); };
  return std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino) + ":" + std::to_string(st.st_size) + ":" +
         ns(st.st_mtim) + ":" + ns(st.st_ctim);
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("XDG_CACHE_HOME", (ScratchFolder() / "cache").c_str(), 1);
  RegisterHostGisClasses();
  MakeGisData();
  WriteFile(ScratchFolder() / "area.lyr", kLayer);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string folder = ScratchFolder().string();
  const std::filesystem::path layerFile = ScratchFolder() / "area.lyr";
  const std::filesystem::path cache = FilesFoundWhole::CacheFile("layerfiles", folder);
  std::filesystem::create_directories(cache.parent_path());
  // The file's entry, as it is now, followed by what the input says was found.
  WriteFile(cache, "tovana layer files read 1\t" + folder + "\n" + layerFile.string() + "\t" + layerFile.string() +
                       "\t" + Identity(layerFile) + "\t" + Text(data, size) + "\n");
  UseLayerFileCacheOf("");
  UseLayerFileCacheOf(folder);

  HostLayerFile file;
  try {
    file.Open(ToPlatformPath(layerFile.string()));
  } catch (const HostError& e) {
    Fail("a whole layer file was refused: " + e.Description());
  }
  auto layer = std::dynamic_pointer_cast<FeatureLayer>(file.Layer());
  Require(layer != nullptr, "a feature layer's file opened without a feature layer");
  layer->FeatureClass(); // from what the entry says, whatever that is
  Require(layer->Renderer() && !layer->Visible() && layer->Name() == "Squares",
          "the rest of a layer is not the file's");
  UseLayerFileCacheOf("");
  return 0;
}
