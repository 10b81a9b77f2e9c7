// Map documents: a document.json is either refused with a HostError and a
// message (and the application keeps its document), or loaded; a loaded
// document saves, and the saved file loads and saves again to the same text.
#include "FuzzGisData.h"
#include "FuzzSupport.h"

#include "host/gis/GisApplication.h"
#include "host/gis/RegisterHostGisClasses.h"

using namespace tov;
using namespace tov::fuzz;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  RegisterHostGisClasses();
  MakeGisData();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  WriteFile(ScratchFolder() / "document.json", Text(data, size));
  GisApplication app;
  const MapDocumentPtr before = app.Document();
  try {
    app.LoadDocument(ScratchPath("document.json"));
  } catch (const HostError& e) {
    CheckRefusal(e, "LoadDocument");
    Require(app.Document() == before, "a refused document replaced the current one");
    return 0;
  }
  Require(app.Document() != nullptr, "a document loaded as nothing");
  const std::string first = SaveAndRead([&](const std::string& path) { app.SaveDocument(path); }, "first.json", "document");

  GisApplication again;
  RequireStableSave(
      first, "first.json", "second.json", "document", [&](const std::string& path) { again.LoadDocument(path); },
      [&](const std::string& path) { again.SaveDocument(path); });
  return 0;
}
