#include "host/framework/JsonConfigNode.h"

#include "platform/runtime/HostError.h"

namespace tov {

ConfigNodePtr JsonConfigNode::Child(long index) {
  if (index < 0 || index >= ChildCount())
    throw HostError(err::InvalidCall, "ConfigNode",
                    "The configuration node \"" + m_name + "\" has no child number " + std::to_string(index) + ".");
  return m_children[static_cast<size_t>(index)];
}

ConfigNodePtr JsonConfigNode::ChildByName(const std::string& name) {
  for (const auto& child : m_children)
    if (child->Name() == name) return child;
  return nullptr;
}

} // namespace tov
