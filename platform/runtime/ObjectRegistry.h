#pragma once
#include "platform/runtime/HostError.h"
#include "platform/runtime/Object.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tov {

using ObjectFactory = std::function<ObjectPtr()>;

// The one registry of creatable classes, keyed by ProgID (compared without
// regard to case). Registering under a ProgID that is taken replaces the
// class: tests inject host failures this way.
void RegisterClass(const std::string& progId, ObjectFactory factory);
// Removes a registration; true when there was one.
bool UnregisterClass(const std::string& progId);
bool IsClassRegistered(const std::string& progId);
// The factory registered under progId, or an empty one: a test that replaces
// a class puts this one back afterwards.
ObjectFactory RegisteredFactory(const std::string& progId);
std::vector<std::string> RegisteredProgIds();

// Changes with every RegisterClass and UnregisterClass. Whoever keeps an
// object created by ProgID for later calls compares it with the value seen at
// creation and creates the object anew when a class was registered since, so
// that a replaced class takes effect at once.
uint64_t RegistryGeneration();

// Creates an object by ProgID; an unknown ProgID raises 429.
ObjectPtr CreateObject(const std::string& progId);

// Creates an object and casts it; an object without that interface raises 13.
template <class T>
std::shared_ptr<T> CreateAs(const std::string& progId) {
  ObjectPtr o = CreateObject(progId);
  auto t = std::dynamic_pointer_cast<T>(o);
  if (!t) throw HostError(err::TypeMismatch, progId, "The object \"" + progId + "\" does not have the interface asked for");
  return t;
}

// Registers a class whose default constructor makes the object.
template <class T>
void RegisterClassOf(const std::string& progId) {
  RegisterClass(progId, [] { return std::static_pointer_cast<Object>(std::make_shared<T>()); });
}

} // namespace tov
