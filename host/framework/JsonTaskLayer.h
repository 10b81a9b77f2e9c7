#pragma once
#include "platform/framework/TaskLayer.h"

#include "host/framework/SimplePropertyList.h"

namespace tov {

// A task layer read from a data set description.
class JsonTaskLayer : public TaskLayer, public SimplePropertyList {
public:
  explicit JsonTaskLayer(std::string name) : m_name(std::move(name)) {}
  std::string Name() override { return m_name; }
  PropertyListPtr GetPropertyList() override { return std::dynamic_pointer_cast<PropertyList>(shared_from_this()); }

private:
  std::string m_name;
};

} // namespace tov
