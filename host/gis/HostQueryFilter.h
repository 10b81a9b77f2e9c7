#pragma once
#include "platform/gis/SpatialFilter.h"

namespace tov {

// Query and spatial filter in one class: a spatial filter without a geometry
// is a plain query filter.
class HostQueryFilter : public SpatialFilter {
public:
  std::string WhereClause() const override { return m_where; }
  void SetWhereClause(const std::string& clause) override { m_where = clause; }
  std::string SubFields() const override { return m_subFields; }
  void SetSubFields(const std::string& fields) override { m_subFields = fields; }
  void AddField(const std::string& name) override {
    if (m_subFields.empty() || m_subFields == "*") m_subFields = name;
    else m_subFields += "," + name;
  }
  GeometryPtr Geometry() const override { return m_geometry; }
  void SetGeometry(const GeometryPtr& geometry) override { m_geometry = geometry; }

private:
  std::string m_where;
  std::string m_subFields = "*";
  GeometryPtr m_geometry;
};

} // namespace tov
