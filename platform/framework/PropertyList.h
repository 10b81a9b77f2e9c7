#pragma once
#include "platform/runtime/Object.h"

#include <string>

namespace tov {

// A read-mostly list of named text attributes (descriptor settings,
// configuration node attributes). Names are compared exactly.
class PropertyList : public virtual Object {
public:
  // The value of the attribute, or "" when the list has no such attribute.
  virtual std::string GetValue(const std::string& name) = 0;
  virtual void SetValue(const std::string& name, const std::string& value) = 0;
  virtual bool HasValue(const std::string& name) = 0;
  virtual long Count() = 0;
  // Name of the attribute at index (from 0, in the order written); 5 when out of range.
  virtual std::string NameAt(long index) = 0;
};

using PropertyListPtr = std::shared_ptr<PropertyList>;

} // namespace tov
