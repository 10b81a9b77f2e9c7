#include "host/gis/HostSelectionSet.h"

#include "host/gis/GisErrors.h"
#include "host/gis/HostFeatureCursor.h"
#include "platform/gis/GisConstants.h"
#include "platform/gis/QueryFilter.h"
#include "platform/gis/SpatialFilter.h"

namespace tov {

HostFeatureClassPtr HostSelectionSet::Class() const {
  if (!m_class && m_target) m_class = m_target();
  return m_class;
}

HostFeatureClassPtr HostSelectionSet::SearchedClass() const {
  HostFeatureClassPtr target = Class();
  if (!target) throw HostError(gisErr::DatasetNotFound, "orvaCore.SelectionSet", "The layer's data is missing");
  return target;
}

FeatureCursorPtr HostSelectionSet::Search(const QueryFilterPtr& filter, bool) {
  const HostFeatureClassPtr target = SearchedClass();
  std::vector<long> ids;
  const bool filtered = filter && (!filter->WhereClause().empty() ||
                                   (std::dynamic_pointer_cast<SpatialFilter>(filter) &&
                                    std::dynamic_pointer_cast<SpatialFilter>(filter)->Geometry()));
  if (filtered) {
    for (long id : target->CollectIds(filter))
      if (m_ids.count(id)) ids.push_back(id);
  } else {
    ids.assign(m_ids.begin(), m_ids.end());
  }
  return std::make_shared<HostFeatureCursor>(target, std::move(ids), false);
}

void HostSelectionSet::Combine(const SelectionSetPtr& other, long combination) {
  std::vector<long> theirs = other ? other->IDs() : std::vector<long>();
  switch (combination) {
  case selectionAdd: m_ids.insert(theirs.begin(), theirs.end()); break;
  case selectionSubtract:
    for (long id : theirs) m_ids.erase(id);
    break;
  case selectionAnd: {
    std::set<long> both;
    for (long id : theirs)
      if (m_ids.count(id)) both.insert(id);
    m_ids.swap(both);
    break;
  }
  case selectionXOr:
    for (long id : theirs)
      if (!m_ids.erase(id)) m_ids.insert(id);
    break;
  default: m_ids = std::set<long>(theirs.begin(), theirs.end()); break;
  }
}

} // namespace tov
