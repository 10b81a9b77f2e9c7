#include "host/gis/HostGeometryEnumerator.h"

#include "host/gis/HostFeatureClass.h"
#include "platform/gis/Feature.h"
#include "platform/gis/FeatureCursor.h"
#include "platform/gis/Geometry.h"
#include "platform/gis/SelectionSet.h"
#include "platform/runtime/ProgIds.h"

namespace tov {

void HostGeometryEnumerator::BindGeometrySource(const QueryFilterPtr& filter, const ObjectPtr& source) {
  if (!std::dynamic_pointer_cast<HostFeatureClass>(source) && !std::dynamic_pointer_cast<SelectionSet>(source))
    throw HostError(err::TypeMismatch, kGeometryEnumeratorProgId,
                    "Shapes can only be enumerated from a feature class or a selection set");
  m_filter = filter;
  m_source = source;
  m_loaded = false;
  m_shapes.clear();
  m_next = 0;
}

void HostGeometryEnumerator::Load() {
  m_shapes.clear();
  if (auto fc = std::dynamic_pointer_cast<HostFeatureClass>(m_source)) {
    m_shapes = fc->ReadShapes(m_filter);
  } else if (auto set = std::dynamic_pointer_cast<SelectionSet>(m_source)) {
    FeatureCursorPtr cursor = set->Search(m_filter, false);
    while (FeaturePtr f = cursor->NextFeature()) m_shapes.push_back(f->Shape());
  } else {
    throw HostError(err::ObjectRequired, kGeometryEnumeratorProgId, "The enumerator is not bound to any shapes");
  }
  m_loaded = true;
}

void HostGeometryEnumerator::Reset() {
  Load();
  m_next = 0;
}

GeometryPtr HostGeometryEnumerator::Next() {
  if (!m_loaded) Load();
  if (m_next >= m_shapes.size()) return nullptr;
  return m_shapes[m_next++];
}

long HostGeometryEnumerator::Count() {
  if (!m_loaded) Load();
  return static_cast<long>(m_shapes.size());
}

} // namespace tov
