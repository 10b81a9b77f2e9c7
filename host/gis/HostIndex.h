#pragma once
#include "platform/gis/Index.h"

namespace tov {

class HostIndex : public Index {
public:
  std::string Name() const override { return m_name; }
  void SetName(const std::string& name) override { m_name = name; }
  FieldsPtr Fields() const override { return m_fields; }
  void SetFields(const FieldsPtr& fields) override { m_fields = fields; }

private:
  std::string m_name;
  FieldsPtr m_fields;
};

} // namespace tov
