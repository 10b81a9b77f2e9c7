#pragma once
#include "platform/framework/TaskPropertySet.h"

#include <map>

namespace tov {

// "TovKernel.TaskPropertySet": the wizard state of one run, in memory.
class MemoryTaskPropertySet : public TaskPropertySet {
public:
  Variant GetProperty(const std::string& key) override;
  void SetProperty(const std::string& key, const Variant& value) override { m_values[key] = value; }
  bool HasProperty(const std::string& key) override { return m_values.count(key) != 0; }
  void RemoveProperty(const std::string& key) override { m_values.erase(key); }
  long Count() override { return static_cast<long>(m_values.size()); }

private:
  std::map<std::string, Variant> m_values;
};

} // namespace tov
