#pragma once
#include "platform/runtime/Object.h"

#include <string>

namespace tov {

// A persisted key/value set of texts: the extension's properties and options
// and a catalogue record's properties. Keys are compared exactly.
class TextPropertySet : public virtual Object {
public:
  // The stored text, or "" when the key was never set.
  virtual std::string GetProperty(const std::string& key) = 0;
  // Stores the value at once (one transaction); a failure raises HostError.
  virtual void SetProperty(const std::string& key, const std::string& value) = 0;
  virtual bool HasProperty(const std::string& key) = 0;
};

using TextPropertySetPtr = std::shared_ptr<TextPropertySet>;

} // namespace tov
