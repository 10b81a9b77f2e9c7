#include "host/gis/HostGroupLayer.h"

#include "platform/runtime/HostError.h"
#include "platform/runtime/ProgIds.h"

#include <algorithm>

namespace tov {

namespace {
const char* const kSource = kGroupLayerProgId;
}

void HostGroupLayer::Add(const LayerPtr& layer) {
  if (!layer) throw HostError(err::ObjectRequired, kSource, "No layer was given to add to \"" + m_name + "\"");
  if (layer.get() == static_cast<tov::Layer*>(this))
    throw HostError(err::InvalidCall, kSource, "The group layer \"" + m_name + "\" cannot contain itself");
  m_children.push_back(layer);
}

void HostGroupLayer::Delete(const LayerPtr& layer) {
  auto it = std::find(m_children.begin(), m_children.end(), layer);
  if (it == m_children.end())
    throw HostError(err::InvalidCall, kSource, "The layer is not a member of the group layer \"" + m_name + "\"");
  m_children.erase(it);
}

LayerPtr HostGroupLayer::Layer(long index) const {
  if (index < 0 || index >= Count())
    throw HostError(err::SubscriptOutOfRange, kSource,
                    "The group layer \"" + m_name + "\" has no layer number " + std::to_string(index) + " (it has " +
                        std::to_string(Count()) + ")");
  return m_children[static_cast<size_t>(index)];
}

bool HostGroupLayer::DeleteNested(const LayerPtr& layer) {
  auto it = std::find(m_children.begin(), m_children.end(), layer);
  if (it != m_children.end()) {
    m_children.erase(it);
    return true;
  }
  for (auto& child : m_children)
    if (auto group = std::dynamic_pointer_cast<HostGroupLayer>(child))
      if (group->DeleteNested(layer)) return true;
  return false;
}

} // namespace tov
