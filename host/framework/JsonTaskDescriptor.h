#pragma once
#include "platform/framework/TaskDescriptor.h"

#include "host/framework/SimplePropertyList.h"

#include <vector>

namespace tov {

// A registered task read from a data set description.
class JsonTaskDescriptor : public TaskDescriptor, public SimplePropertyList {
public:
  JsonTaskDescriptor(std::string name, std::string caption)
      : m_name(std::move(name)), m_caption(std::move(caption)) {}

  std::string Name() override { return m_name; }
  std::string Caption() override { return m_caption; }
  PropertyListPtr GetPropertyList() override { return std::dynamic_pointer_cast<PropertyList>(shared_from_this()); }
  long ChildCount() override { return static_cast<long>(m_children.size()); }
  TaskDescriptorPtr Child(long index) override;
  TaskDescriptorPtr ChildByName(const std::string& name) override;
  long LayerCount() override { return static_cast<long>(m_layers.size()); }
  TaskLayerPtr Layer(long index) override;
  TaskLayerPtr LayerByName(const std::string& name) override;

  void AddChild(TaskDescriptorPtr child) { m_children.push_back(std::move(child)); }
  void AddLayer(TaskLayerPtr layer) { m_layers.push_back(std::move(layer)); }

private:
  std::string m_name;
  std::string m_caption;
  std::vector<TaskDescriptorPtr> m_children;
  std::vector<TaskLayerPtr> m_layers;
};

} // namespace tov
