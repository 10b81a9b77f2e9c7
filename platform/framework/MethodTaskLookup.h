#pragma once
#include <optional>
#include <string>

namespace tov {

// A creation method as its own folder registers it: the name of its
// descriptor under "SetupStudyArea", the task that runs it, and whether its
// first page picks regions on a map or from a list (the chooser then offers
// that choice and hands it to the task as "FromMapOrList").
struct MethodRecord {
  std::string descriptorName;
  std::string taskProgId;
  bool picksOnMapOrList = false;
};

// Registers a method; a record of the same descriptor name is replaced. The
// chooser runs, and a host running one method task alone finds its
// descriptor by, only what is registered here: no table elsewhere.
void RegisterMethod(const MethodRecord& record);
// The record of a descriptor name, compared exactly; none when no method of
// that name is registered.
std::optional<MethodRecord> FindMethod(const std::string& descriptorName);
// The task ProgID of a descriptor name; "" when none is registered.
std::string MethodTaskProgIdFor(const std::string& descriptorName);

} // namespace tov
