// Layer files: a file is either refused with a HostError and a message, or
// opened; an opened layer saves, and the saved file opens and saves again to
// the same text.
#include "FuzzGisData.h"
#include "FuzzSupport.h"

#include "host/gis/HostLayerFile.h"
#include "host/gis/RegisterHostGisClasses.h"

using namespace tov;
using namespace tov::fuzz;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  RegisterHostGisClasses();
  MakeGisData();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  WriteFile(ScratchFolder() / "input.lyr", Text(data, size));
  HostLayerFile file;
  try {
    file.Open(ScratchPath("input.lyr"));
  } catch (const HostError& e) {
    CheckRefusal(e, "Open");
    return 0;
  }
  Require(file.Layer() != nullptr, "a layer file opened without a layer");
  const std::string first = SaveAndRead([&](const std::string& path) { file.Save(path); }, "first.lyr", "layer file");

  HostLayerFile again;
  RequireStableSave(
      first, "first.lyr", "second.lyr", "layer file", [&](const std::string& path) { again.Open(path); },
      [&](const std::string& path) { again.Save(path); });
  return 0;
}
