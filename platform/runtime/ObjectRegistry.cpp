#include "platform/runtime/ObjectRegistry.h"

#include "platform/runtime/TextCase.h"

#include <atomic>
#include <map>
#include <mutex>

namespace tov {

namespace {
struct Registry {
  std::mutex lock;
  std::map<std::string, std::pair<std::string, ObjectFactory>> classes; // folded -> (ProgID, factory)
  std::atomic<uint64_t> generation{1};
};
Registry& TheRegistry() {
  static Registry r;
  return r;
}
std::string Fold(const std::string& s) { return LowerCase(s); }
} // namespace

void RegisterClass(const std::string& progId, ObjectFactory factory) {
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> g(r.lock);
  r.classes[Fold(progId)] = {progId, std::move(factory)};
  ++r.generation;
}

bool UnregisterClass(const std::string& progId) {
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> g(r.lock);
  const bool removed = r.classes.erase(Fold(progId)) != 0;
  ++r.generation;
  return removed;
}

bool IsClassRegistered(const std::string& progId) {
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> g(r.lock);
  return r.classes.count(Fold(progId)) != 0;
}

ObjectFactory RegisteredFactory(const std::string& progId) {
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> g(r.lock);
  auto it = r.classes.find(Fold(progId));
  return it == r.classes.end() ? ObjectFactory() : it->second.second;
}

std::vector<std::string> RegisteredProgIds() {
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> g(r.lock);
  std::vector<std::string> ids;
  for (auto& kv : r.classes) ids.push_back(kv.second.first);
  return ids;
}

uint64_t RegistryGeneration() { return TheRegistry().generation.load(); }

ObjectPtr CreateObject(const std::string& progId) {
  ObjectFactory factory;
  {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> g(r.lock);
    auto it = r.classes.find(Fold(progId));
    if (it != r.classes.end()) factory = it->second.second;
  }
  if (!factory)
    throw HostError(err::CannotCreateObject, "CreateObject",
                    "Cannot create the object \"" + progId + "\": no class is registered under that name");
  ObjectPtr o = factory();
  if (!o)
    throw HostError(err::CannotCreateObject, "CreateObject", "The class \"" + progId + "\" did not create an object");
  return o;
}

} // namespace tov
