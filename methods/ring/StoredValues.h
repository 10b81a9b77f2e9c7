#pragma once
#include "platform/framework/TaskPropertySet.h"
#include "platform/runtime/Variant.h"

#include <string>

namespace tov {

// Reading the ring pages' saved state: a value that is missing or does not
// convert is passed over, and reading goes on with the next one.

// The value stored under key; empty when the key was never set or cannot
// be read.
Variant StoredValue(const TaskPropertySetPtr& propertySet, const char* key);
// True for an empty value and an empty text.
bool IsBlank(const Variant& value);
// The value as text; "" when it has none (an object).
std::string TextOf(const Variant& value);
// target = the stored value as a number; unchanged when it is not one.
void ConvertStored(const TaskPropertySetPtr& propertySet, const char* key, double& target);

} // namespace tov
