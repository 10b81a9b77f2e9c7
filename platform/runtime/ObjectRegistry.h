#pragma once
#include "platform/runtime/HostError.h"
#include "platform/runtime/Object.h"

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
std::vector<std::string> RegisteredProgIds();

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
