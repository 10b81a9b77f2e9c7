#include "methods/ring/StoredValues.h"

namespace tov {

Variant StoredValue(const TaskPropertySetPtr& propertySet, const char* key) {
  try {
    if (propertySet && propertySet->HasProperty(key)) return propertySet->GetProperty(key);
  } catch (const HostError&) {
  }
  return Variant();
}

bool IsBlank(const Variant& value) {
  return value.IsEmpty() || (value.GetType() == Variant::Type::String && value.ToString().empty());
}

std::string TextOf(const Variant& value) {
  try {
    return value.ToString();
  } catch (const HostError&) {
    return std::string();
  }
}

void ConvertStored(const TaskPropertySetPtr& propertySet, const char* key, double& target) {
  try {
    if (propertySet && propertySet->HasProperty(key)) target = propertySet->GetProperty(key).ToDouble();
  } catch (const HostError&) {
  }
}

} // namespace tov
