#include "host/gis/HostFeatureCursor.h"

#include "host/gis/GisErrors.h"
#include "platform/gis/Feature.h"

namespace tov {

namespace {
const char kSource[] = "orvaCore.FeatureCursor";
}

HostFeatureCursor::HostFeatureCursor(HostFeatureClassPtr featureClass, std::vector<long> ids, bool forUpdate)
    : m_class(std::move(featureClass)), m_ids(std::move(ids)), m_forUpdate(forUpdate) {}

FeaturePtr HostFeatureCursor::NextFeature() {
  while (m_next < m_ids.size()) {
    const long id = m_ids[m_next++];
    // A row deleted since the cursor opened is skipped.
    try {
      m_current = m_class->GetFeature(id);
      return m_current;
    } catch (const HostError& e) {
      if (e.Number() != gisErr::DatasetNotFound) throw;
    }
  }
  m_current.reset();
  return nullptr;
}

void HostFeatureCursor::UpdateFeature(const FeaturePtr& feature) {
  if (!m_forUpdate) throw HostError(err::InvalidCall, kSource, "This cursor was not opened for updating");
  if (!feature) throw HostError(err::ObjectRequired, kSource, "No feature was given to update");
  feature->Store();
}

void HostFeatureCursor::DeleteFeature() {
  if (!m_forUpdate) throw HostError(err::InvalidCall, kSource, "This cursor was not opened for updating");
  if (!m_current) throw HostError(err::InvalidCall, kSource, "The cursor has no current feature to delete");
  m_current->Delete();
  m_current.reset();
}

} // namespace tov
