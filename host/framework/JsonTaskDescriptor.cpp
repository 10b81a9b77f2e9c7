#include "host/framework/JsonTaskDescriptor.h"

#include "platform/runtime/HostError.h"

namespace tov {

TaskDescriptorPtr JsonTaskDescriptor::Child(long index) {
  if (index < 0 || index >= ChildCount())
    throw HostError(err::InvalidCall, "TaskDescriptor",
                    "The task \"" + m_name + "\" has no child task number " + std::to_string(index) + ".");
  return m_children[static_cast<size_t>(index)];
}

TaskDescriptorPtr JsonTaskDescriptor::ChildByName(const std::string& name) {
  for (const auto& child : m_children)
    if (child->Name() == name) return child;
  return nullptr;
}

TaskLayerPtr JsonTaskDescriptor::Layer(long index) {
  if (index < 0 || index >= LayerCount())
    throw HostError(err::InvalidCall, "TaskDescriptor",
                    "The task \"" + m_name + "\" has no layer number " + std::to_string(index) + ".");
  return m_layers[static_cast<size_t>(index)];
}

TaskLayerPtr JsonTaskDescriptor::LayerByName(const std::string& name) {
  for (const auto& layer : m_layers)
    if (layer->Name() == name) return layer;
  return nullptr;
}

} // namespace tov
