#pragma once
#include "host/gis/HostFeatureClass.h"
#include "platform/gis/FeatureCursor.h"

#include <deque>
#include <vector>

namespace tov {

// Walks a list of object ids fixed when the cursor was opened, so several
// cursors on one class never disturb each other.
class HostFeatureCursor : public FeatureCursor {
public:
  // subFields: the fields a reading cursor fetches ("" or "*": all).
  HostFeatureCursor(HostFeatureClassPtr featureClass, std::vector<long> ids, bool forUpdate,
                    std::string subFields = std::string());

  FeaturePtr NextFeature() override;
  void UpdateFeature(const FeaturePtr& feature) override;
  void DeleteFeature() override;
  FieldsPtr Fields() const override { return m_class->Fields(); }
  long FindField(const std::string& name) const override { return m_class->FindField(name); }

private:
  HostFeatureClassPtr m_class;
  std::vector<long> m_ids;
  size_t m_next = 0;
  bool m_forUpdate;
  std::string m_subFields;
  FeaturePtr m_current;
  // A reading cursor fetches its rows a batch at a time.
  std::deque<FeaturePtr> m_read;
};

} // namespace tov
