// Layer files: a file is either refused with a HostError and a message, or
// opened; an opened layer saves, and the saved file opens and saves again to
// the same text.
#include "FuzzGisData.h"
#include "FuzzSupport.h"

#include "host/common/Paths.h"
#include "host/gis/HostLayerFile.h"
#include "host/gis/RegisterHostGisClasses.h"

using namespace tov;
using namespace tov::fuzz;

namespace {

std::string Platform(const char* name) { return ToPlatformPath((ScratchFolder() / name).string()); }

std::string SaveAndRead(HostLayerFile& file, const char* name) {
  try {
    file.Save(Platform(name));
  } catch (const HostError& e) {
    Fail(std::string("a layer that was read cannot be saved: ") + e.Description());
  }
  return ReadFile(ScratchFolder() / name);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  RegisterHostGisClasses();
  MakeGisData();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  WriteFile(ScratchFolder() / "input.lyr", Text(data, size));
  HostLayerFile file;
  try {
    file.Open(Platform("input.lyr"));
  } catch (const HostError& e) {
    CheckRefusal(e, "Open");
    return 0;
  }
  Require(file.Layer() != nullptr, "a layer file opened without a layer");
  const std::string first = SaveAndRead(file, "first.lyr");

  HostLayerFile again;
  try {
    again.Open(Platform("first.lyr"));
  } catch (const HostError& e) {
    Fail("a saved layer file cannot be opened: " + e.Description() + "\n" + first);
  }
  const std::string second = SaveAndRead(again, "second.lyr");
  Require(first == second, "a layer file saved twice differs:\n" + first + "\n---\n" + second);
  return 0;
}
