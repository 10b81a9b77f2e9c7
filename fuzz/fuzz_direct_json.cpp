// The direct JSON reader against json::parse: where it takes a text, the
// value is the one json::parse gives (written the same, so that number types
// count); where json::parse refuses a text, the direct reader refuses it too.
// The direct writer against dump(): the same text for every value read, and
// for the input as one text value the same text or the same refusal. The
// view of the text takes what json::parse takes, with the same value.
#include "FuzzSupport.h"

#include "host/gis/DirectJson.h"
#include "host/gis/JsonView.h"

#include <nlohmann/json.hpp>

using namespace tov;
using namespace tov::fuzz;
using nlohmann::json;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = Text(data, size);
  json direct;
  const bool taken = ParseJsonDirectly(text, direct);
  json parsed = json::parse(text, nullptr, false);
  const bool discarded = parsed.is_discarded();
  if (discarded) {
    Require(!taken, "the direct reader took a text json::parse refuses");
    parsed = nullptr;
  }
  if (taken) Require(direct.dump() == parsed.dump(), "the direct reader read another value than json::parse");
  try {
    const JsonView view(text);
    Require(!discarded, "the view took a text json::parse refuses");
    Require(view.Root().Tree().dump() == parsed.dump(), "the view read another value than json::parse");
  } catch (const json::exception&) {
    Require(discarded, "the view refused a text json::parse takes");
  }
  Require(WriteJson(parsed) == parsed.dump(), "the direct writer wrote another text than dump()");
  const json asText = text;
  std::string dumped;
  try {
    dumped = asText.dump();
  } catch (const json::exception&) {
    std::string written;
    Require(!WriteJsonDirectly(asText, written), "the direct writer wrote a text dump() refuses");
    return 0;
  }
  Require(WriteJson(asText) == dumped, "the direct writer wrote a text value otherwise than dump()");
  return 0;
}
