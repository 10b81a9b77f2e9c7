#pragma once
#include <functional>
#include <string>

namespace tov {

// Which task ProgID a creation method's descriptor name stands for, as the
// component that owns the methods registers it. A host that runs one method
// task alone (a script naming only the task) finds its descriptor through
// this, without a table of its own.
using MethodTaskLookup = std::function<std::string(const std::string& descriptorName)>;

void SetMethodTaskLookup(MethodTaskLookup lookup);
// The task ProgID of a descriptor name; "" when none is registered.
std::string MethodTaskProgIdFor(const std::string& descriptorName);

} // namespace tov
