// StrToCollection: the first byte gives the delimiter's length (0 to 3), the
// next bytes the delimiter, the rest the text. Joining the items with the
// delimiter gives the text back, except for a trailing delimiter; no item
// holds the delimiter; every item is a text.
#include "FuzzSupport.h"

#include "store/StrUtils.h"

#include <algorithm>

using namespace tov;
using namespace tov::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t delimiterLength = std::min<size_t>(data[0] % 4, size - 1);
  const std::string delimiter = Text(data + 1, delimiterLength);
  const std::string text = Text(data + 1 + delimiterLength, size - 1 - delimiterLength);

  CollectionPtr items = StrToCollection(text, delimiter);
  Require(items != nullptr, "no collection");

  std::string joined;
  for (long i = 1; i <= items->Count(); ++i) {
    const Variant& item = items->Item(i);
    Require(item.GetType() == Variant::Type::String, "an item is not a text");
    const std::string s = item.ToString();
    if (!delimiter.empty()) Require(s.find(delimiter) == std::string::npos, "an item holds the delimiter");
    if (i > 1) joined += delimiter;
    joined += s;
  }
  if (text.empty()) Require(items->Count() == 0, "an empty text gives items");
  if (delimiter.empty() && !text.empty()) Require(items->Count() == 1, "no delimiter gives more than one item");
  if (joined != text) {
    // Only a trailing delimiter is dropped, and only one.
    Require(!delimiter.empty() && joined + delimiter == text, "joining the items does not give the text back");
  }
  return 0;
}
