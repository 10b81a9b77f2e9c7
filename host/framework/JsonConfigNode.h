#pragma once
#include "platform/framework/ConfigNode.h"

#include "host/framework/SimplePropertyList.h"

#include <vector>

namespace tov {

// A configuration node read from a data set description.
class JsonConfigNode : public ConfigNode {
public:
  explicit JsonConfigNode(std::string name) : m_name(std::move(name)), m_properties(std::make_shared<SimplePropertyList>()) {}

  std::string Name() override { return m_name; }
  PropertyListPtr Properties() override { return m_properties; }
  long ChildCount() override { return static_cast<long>(m_children.size()); }
  ConfigNodePtr Child(long index) override;
  ConfigNodePtr ChildByName(const std::string& name) override;

  void AddChild(ConfigNodePtr child) { m_children.push_back(std::move(child)); }

private:
  std::string m_name;
  std::shared_ptr<SimplePropertyList> m_properties;
  std::vector<ConfigNodePtr> m_children;
};

} // namespace tov
