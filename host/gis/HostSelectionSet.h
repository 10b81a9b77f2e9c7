#pragma once
#include "host/gis/HostFeatureClass.h"
#include "platform/gis/SelectionSet.h"

#include <functional>
#include <set>

namespace tov {

class HostSelectionSet : public SelectionSet {
public:
  explicit HostSelectionSet(HostFeatureClassPtr featureClass) : m_class(std::move(featureClass)) {}
  // The selection of a layer whose data is opened when first needed: ids
  // are kept without it; searching opens it through `target`.
  explicit HostSelectionSet(std::function<HostFeatureClassPtr()> target) : m_target(std::move(target)) {}

  long Count() const override { return static_cast<long>(m_ids.size()); }
  FeatureClassPtr Target() const override { return Class(); }
  FeatureCursorPtr Search(const QueryFilterPtr& filter, bool recycling) override;
  void Add(long oid) override { m_ids.insert(oid); }
  void Remove(long oid) override { m_ids.erase(oid); }
  bool Contains(long oid) const override { return m_ids.count(oid) != 0; }
  std::vector<long> IDs() const override { return {m_ids.begin(), m_ids.end()}; }
  void Clear() override { m_ids.clear(); }
  void Combine(const SelectionSetPtr& other, long combination) override;

private:
  // The class searched; raises when the layer's data cannot be opened.
  HostFeatureClassPtr Class() const;
  HostFeatureClassPtr SearchedClass() const;

  mutable HostFeatureClassPtr m_class;
  std::function<HostFeatureClassPtr()> m_target;
  std::set<long> m_ids;
};

} // namespace tov
