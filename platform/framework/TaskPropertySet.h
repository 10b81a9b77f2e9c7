#pragma once
#include "platform/runtime/ProgIds.h"
#include "platform/runtime/Object.h"
#include "platform/runtime/Variant.h"

#include <string>

namespace tov {

// The wizard state of one run: string keys (compared exactly), variant values.
class TaskPropertySet : public virtual Object {
public:
  // The value stored under key; a key that was never set raises HostError 5.
  virtual Variant GetProperty(const std::string& key) = 0;
  virtual void SetProperty(const std::string& key, const Variant& value) = 0;
  virtual bool HasProperty(const std::string& key) = 0;
  virtual void RemoveProperty(const std::string& key) = 0;
  virtual long Count() = 0;
};

using TaskPropertySetPtr = std::shared_ptr<TaskPropertySet>;

} // namespace tov
