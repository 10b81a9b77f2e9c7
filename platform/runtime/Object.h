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

} // namespace tov
