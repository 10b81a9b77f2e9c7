#include "host/gis/HostFeatureCursor.h"

#include "host/gis/GisErrors.h"
#include "platform/gis/Feature.h"

#include <algorithm>

namespace tov {

namespace {
const char kSource[] = "orvaCore.FeatureCursor";
}

HostFeatureCursor::HostFeatureCursor(HostFeatureClassPtr featureClass, std::vector<long> ids, bool forUpdate,
                                     std::string subFields)
    : m_class(std::move(featureClass)), m_ids(std::move(ids)), m_forUpdate(forUpdate), m_subFields(std::move(subFields)) {}

namespace {
// Rows a reading cursor fetches at once.
constexpr size_t kBatch = 512;
} // namespace

FeaturePtr HostFeatureCursor::NextFeature() {
  if (!m_forUpdate) {
    // Rows deleted since the cursor opened are not among those read.
    while (m_read.empty() && m_next < m_ids.size()) {
      const size_t end = std::min(m_ids.size(), m_next + kBatch);
      std::vector<long> batch(m_ids.begin() + static_cast<long>(m_next), m_ids.begin() + static_cast<long>(end));
      m_next = end;
      for (FeaturePtr& f : m_class->ReadFeatures(batch, m_subFields)) m_read.push_back(std::move(f));
    }
    if (m_read.empty()) {
      m_current.reset();
      return nullptr;
    }
    m_current = std::move(m_read.front());
    m_read.pop_front();
    return m_current;
  }
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
