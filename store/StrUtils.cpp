#include "store/StrUtils.h"

#include "store/ModuleErrors.h"

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

} // namespace tov
