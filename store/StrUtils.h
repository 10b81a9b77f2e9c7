#pragma once
#include "platform/runtime/Collection.h"

#include <cstdint>
#include <string>

namespace tov {

// Module path under which the string utilities report their failures.
constexpr char kStrUtilsModule[] = "StrUtils";

// Splits text at every occurrence of delimiter (exact, case-sensitive).
// Consecutive delimiters give empty items and a leading one an empty first
// item; a trailing delimiter gives no empty last item; "" gives no item.
CollectionPtr StrToCollection(const std::string& text, const std::string& delimiter);

// Last backslash-separated component ("C:\a\b\" gives "b").
std::string GetFileNameByPath(const std::string& path);

// The path without its last component: "C:\data\area.shp" gives "C:\data\",
// "C:\a\b\" gives "C:\a\b".
std::string GetDirNameByPath(const std::string& path);

// "one" to "ten"; every other number, zero and negatives included, is
// "more then ten" (the wording users have always seen).
std::string NumberToWord(int32_t n);

// A colour text ("ff", "0xFF00") as its value, the first digit the most
// significant. Reading stops at the first character that is no hexadecimal
// digit; a failure (an eighth digit overflows) is reported under
// "HexToLng " and the value read so far is returned.
int32_t HexToLng(const std::string& text);

} // namespace tov
