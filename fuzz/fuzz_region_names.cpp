// The region name texts: a stored features list split into identifiers, and
// the closest names to a name not in the list. The input is the features
// list; split at line ends it is also the wanted name (first line), the
// list's names (the other lines) and, from its first byte, how many to give.
// Quoting the identifiers again gives the list back; the closest names are
// as many as asked (or the list's size) and all of the list.
#include "FuzzSupport.h"

#include "host/join/RegionNameText.h"

#include <algorithm>

using namespace tov;
using namespace tov::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = Text(data, size);

  const std::vector<std::string> ids = FeaturesListIdentifiers(text);
  const bool quoted = text.size() >= 2 && text.front() == '\'' && text.back() == '\'';
  Require(quoted != ids.empty(), "a quoted list gives no identifier, or an unquoted one gives some");
  if (quoted) {
    std::string again = "'";
    for (size_t i = 0; i < ids.size(); ++i) again += (i ? "','" : "") + ids[i];
    Require(again + "'" == text, "quoting the identifiers again does not give the list back");
  }

  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t at; (at = text.find('\n', start)) != std::string::npos; start = at + 1)
    lines.push_back(text.substr(start, at - start));
  lines.push_back(text.substr(start));
  const std::string wanted = lines.front();
  const std::vector<std::string> names(lines.begin() + 1, lines.end());
  const size_t count = size > 0 ? data[0] % 8 : 0;
  const std::vector<std::string> closest = ClosestNames(names, wanted, count);
  Require(closest.size() == std::min(count, names.size()), "not as many closest names as asked");
  for (const std::string& name : closest)
    Require(std::find(names.begin(), names.end(), name) != names.end(), "a closest name is not in the list");
  return 0;
}
