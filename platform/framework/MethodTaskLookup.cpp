#include "platform/framework/MethodTaskLookup.h"

#include <map>
#include <mutex>

namespace tov {

namespace {
struct Methods {
  std::mutex lock;
  std::map<std::string, MethodRecord> byName; // exact descriptor name
};
Methods& TheMethods() {
  static Methods methods;
  return methods;
}
} // namespace

void RegisterMethod(const MethodRecord& record) {
  Methods& m = TheMethods();
  std::lock_guard<std::mutex> g(m.lock);
  m.byName[record.descriptorName] = record;
}

std::optional<MethodRecord> FindMethod(const std::string& descriptorName) {
  Methods& m = TheMethods();
  std::lock_guard<std::mutex> g(m.lock);
  auto it = m.byName.find(descriptorName);
  if (it == m.byName.end()) return std::nullopt;
  return it->second;
}

std::string MethodTaskProgIdFor(const std::string& descriptorName) {
  const std::optional<MethodRecord> record = FindMethod(descriptorName);
  return record ? record->taskProgId : std::string();
}

} // namespace tov
