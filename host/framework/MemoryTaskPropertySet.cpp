#include "host/framework/MemoryTaskPropertySet.h"

#include "platform/runtime/HostError.h"
#include "platform/runtime/ProgIds.h"

namespace tov {

Variant MemoryTaskPropertySet::GetProperty(const std::string& key) {
  auto it = m_values.find(key);
  // Page positions rely on this failure to centre a page on its first showing.
  if (it == m_values.end())
    throw HostError(err::InvalidCall, kTaskPropertySetProgId,
                    "The property \"" + key + "\" has not been set in this run.");
  return it->second;
}

} // namespace tov
