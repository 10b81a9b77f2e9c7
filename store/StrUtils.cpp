#include "store/StrUtils.h"

#include "store/ModuleErrors.h"

#include <limits>

namespace tov {

CollectionPtr StrToCollection(const std::string& text, const std::string& delimiter) {
  auto result = std::make_shared<Collection>();
  Trap(ModuleErrorSite(kStrUtilsModule), "StrToCollection ", [&] {
    if (delimiter.empty()) {
      if (!text.empty()) result->Add(text);
      return;
    }
    std::string rest = text;
    while (!rest.empty()) {
      const size_t at = rest.find(delimiter);
      if (at == std::string::npos) {
        result->Add(rest);
        break;
      }
      result->Add(rest.substr(0, at));
      rest = rest.substr(at + delimiter.size());
    }
  });
  return result;
}

std::string GetFileNameByPath(const std::string& path) {
  std::string name;
  Trap(ModuleErrorSite(kStrUtilsModule), "GetFileNameByPath ", [&] {
    CollectionPtr parts = StrToCollection(path, "\\");
    if (parts->Count() > 0) name = parts->Item(parts->Count()).ToString();
  });
  return name;
}

std::string GetDirNameByPath(const std::string& path) {
  std::string dir;
  Trap(ModuleErrorSite(kStrUtilsModule), "GetDirNameByPath ", [&] {
    dir = path.substr(0, path.size() - GetFileNameByPath(path).size());
  });
  return dir;
}

std::string NumberToWord(int32_t n) {
  static const char* const kWords[] = {"one", "two", "three", "four", "five", "six", "seven", "eight", "nine", "ten"};
  if (n >= 1 && n <= 10) return kWords[n - 1];
  return "more then ten";
}

int32_t HexToLng(const std::string& text) {
  int32_t value = 0;
  Trap(ModuleErrorSite(kTovSSAUtilsModule), "HexToLng ", [&] {
    std::string rest = text;
    if (rest.size() >= 2 && rest[0] == '0' && rest[1] == 'x') rest.erase(0, 2);
    int32_t weight = 1;
    const auto overflow = [] { return HostError(err::Overflow, "TovSSA", "Overflow"); };
    while (!rest.empty()) {
      const char c = rest.back();
      rest.pop_back();
      int32_t digit;
      if (c >= '0' && c <= '9') digit = c - '0';
      else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
      else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
      else return;
      // 32-bit arithmetic as the colour value has it: an eighth digit overflows.
      int64_t sum = static_cast<int64_t>(digit) * weight + value;
      if (sum > std::numeric_limits<int32_t>::max() || sum < std::numeric_limits<int32_t>::min()) throw overflow();
      value = static_cast<int32_t>(sum);
      const int64_t next = static_cast<int64_t>(weight) * 16;
      if (next > std::numeric_limits<int32_t>::max()) throw overflow();
      weight = static_cast<int32_t>(next);
    }
  });
  return value;
}

} // namespace tov
