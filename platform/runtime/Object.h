#pragma once
#include <memory>

namespace tov {

// Base of every host and component object. Objects are shared: "release" is
// reset(), "no object" is an empty pointer. Owners hold children; a child
// never holds its owner.
class Object : public std::enable_shared_from_this<Object> {
public:
  virtual ~Object() = default;
};

using ObjectPtr = std::shared_ptr<Object>;

// The object behind p as interface T, or an empty pointer.
template <class T, class U>
std::shared_ptr<T> As(const std::shared_ptr<U>& p) {
  return std::dynamic_pointer_cast<T>(p);
}

// p itself, or HostError 91 ("object variable not set") naming what was
// missing: the component calls host operations on results that may be "no
// object", and a missing one must become a reported failure, not a crash.
template <class T>
const std::shared_ptr<T>& Must(const std::shared_ptr<T>& p, const char* what);

} // namespace tov

#include "platform/runtime/HostError.h"

#include <string>

namespace tov {
template <class T>
const std::shared_ptr<T>& Must(const std::shared_ptr<T>& p, const char* what) {
  if (!p) throw HostError(91, "", std::string("Object variable not set: ") + what + " is missing");
  return p;
}
} // namespace tov
