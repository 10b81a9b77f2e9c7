#include "host/framework/SimplePropertyList.h"

#include "platform/runtime/HostError.h"

namespace tov {

std::string SimplePropertyList::GetValue(const std::string& name) {
  for (const auto& [key, value] : m_values)
    if (key == name) return value;
  return std::string();
}

void SimplePropertyList::SetValue(const std::string& name, const std::string& value) {
  for (auto& entry : m_values)
    if (entry.first == name) {
      entry.second = value;
      return;
    }
  m_values.emplace_back(name, value);
}

bool SimplePropertyList::HasValue(const std::string& name) {
  for (const auto& entry : m_values)
    if (entry.first == name) return true;
  return false;
}

std::string SimplePropertyList::NameAt(long index) {
  if (index < 0 || index >= Count())
    throw HostError(err::InvalidCall, "PropertyList",
                    "There is no attribute number " + std::to_string(index) + " (the list has " +
                        std::to_string(Count()) + ").");
  return m_values[static_cast<size_t>(index)].first;
}

} // namespace tov
