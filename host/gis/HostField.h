#pragma once
#include "platform/gis/Field.h"
#include "platform/gis/GisConstants.h"

namespace tov {

class HostField : public Field {
public:
  HostField() = default;
  HostField(std::string name, long type, long length = 0) : m_name(std::move(name)), m_type(type), m_length(length) {}

  std::string Name() const override { return m_name; }
  void SetName(const std::string& name) override { m_name = name; }
  std::string AliasName() const override { return m_alias.empty() ? m_name : m_alias; }
  void SetAliasName(const std::string& alias) override { m_alias = alias; }
  long Type() const override { return m_type; }
  void SetType(long type) override { m_type = type; }
  long Length() const override { return m_length; }
  void SetLength(long length) override { m_length = length; }
  bool IsNullable() const override { return m_nullable; }
  void SetIsNullable(bool value) override { m_nullable = value; }
  GeometryDefPtr GeometryDef() const override { return m_geometryDef; }
  void SetGeometryDef(const GeometryDefPtr& def) override { m_geometryDef = def; }

private:
  std::string m_name;
  std::string m_alias;
  long m_type = fieldTypeString;
  long m_length = 0;
  bool m_nullable = true;
  GeometryDefPtr m_geometryDef;
};

} // namespace tov
