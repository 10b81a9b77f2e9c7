#pragma once
#include "platform/framework/PropertyList.h"

#include <utility>
#include <vector>

namespace tov {

// Text attributes in the order written; names compared exactly.
class SimplePropertyList : public virtual PropertyList {
public:
  std::string GetValue(const std::string& name) override;
  void SetValue(const std::string& name, const std::string& value) override;
  bool HasValue(const std::string& name) override;
  long Count() override { return static_cast<long>(m_values.size()); }
  std::string NameAt(long index) override;

private:
  std::vector<std::pair<std::string, std::string>> m_values;
};

} // namespace tov
