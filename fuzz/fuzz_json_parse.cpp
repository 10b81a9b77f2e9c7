// The direct JSON reader against json::parse: where it takes a text, the
// value is the one json::parse gives (written the same, so that number types
// count); where json::parse refuses a text, the direct reader refuses it too.
#include "FuzzSupport.h"

#include "host/gis/JsonParse.h"

#include <nlohmann/json.hpp>

using namespace tov;
using namespace tov::fuzz;
using nlohmann::json;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = Text(data, size);
  json direct;
  const bool taken = ParseJsonDirectly(text, direct);
  json parsed = json::parse(text, nullptr, false);
  if (parsed.is_discarded()) {
    Require(!taken, "the direct reader took a text json::parse refuses");
    return 0;
  }
  if (taken) Require(direct.dump() == parsed.dump(), "the direct reader read another value than json::parse");
  return 0;
}
