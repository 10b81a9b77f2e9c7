#pragma once
#include "host/gis/HostFeatureClass.h"
#include "platform/gis/SelectionSet.h"

#include <set>

namespace tov {

class HostSelectionSet : public SelectionSet {
public:
  explicit HostSelectionSet(HostFeatureClassPtr featureClass) : m_class(std::move(featureClass)) {}

  long Count() const override { return static_cast<long>(m_ids.size()); }
  FeatureClassPtr Target() const override { return m_class; }
  FeatureCursorPtr Search(const QueryFilterPtr& filter, bool recycling) override;
  void Add(long oid) override { m_ids.insert(oid); }
  void Remove(long oid) override { m_ids.erase(oid); }
  bool Contains(long oid) const override { return m_ids.count(oid) != 0; }
  std::vector<long> IDs() const override { return {m_ids.begin(), m_ids.end()}; }
  void Clear() override { m_ids.clear(); }
  void Combine(const SelectionSetPtr& other, long combination) override;

private:
  HostFeatureClassPtr m_class;
  std::set<long> m_ids;
};

} // namespace tov
