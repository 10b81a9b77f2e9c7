#pragma once
#include "platform/gis/GeometryEnumerator.h"

#include <vector>

namespace tov {

// Reads every shape of its source in one pass on Reset (or on the first
// Next), which is what a union over a whole class needs.
class HostGeometryEnumerator : public GeometryEnumerator {
public:
  void BindGeometrySource(const QueryFilterPtr& filter, const ObjectPtr& source) override;
  void Reset() override;
  GeometryPtr Next() override;
  long Count() override;

private:
  void Load();

  QueryFilterPtr m_filter;
  ObjectPtr m_source;
  std::vector<GeometryPtr> m_shapes;
  bool m_loaded = false;
  size_t m_next = 0;
};

} // namespace tov
