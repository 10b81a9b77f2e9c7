#include "host/gis/HostMapDocument.h"

#include "host/gis/HostMap.h"
#include "platform/runtime/HostError.h"

#include <algorithm>

namespace tov {

namespace {
const char kSource[] = "orvaCore.MapDocument";
}

HostMapDocument::HostMapDocument() { AddMap(std::make_shared<HostMap>()); }

void HostMapDocument::SetFocusMap(const MapPtr& map) {
  if (std::find(m_maps.begin(), m_maps.end(), map) == m_maps.end())
    throw HostError(err::InvalidCall, kSource, "Only a map of this document can have the focus");
  m_focus = map;
}

MapPtr HostMapDocument::Map(long index) const {
  if (index < 0 || index >= MapCount())
    throw HostError(err::SubscriptOutOfRange, kSource,
                    "The document has no map number " + std::to_string(index) + " (it has " + std::to_string(MapCount()) + ")");
  return m_maps[static_cast<size_t>(index)];
}

void HostMapDocument::AddMap(const MapPtr& map) {
  if (!std::dynamic_pointer_cast<tov::ActiveView>(map))
    throw HostError(err::TypeMismatch, kSource, "Only a map made by this application can be added to the document");
  m_maps.push_back(map);
  if (!m_focus) m_focus = map;
}

void HostMapDocument::ClearMaps() {
  m_maps.clear();
  m_focus.reset();
}

ActiveViewPtr HostMapDocument::ActiveView() const { return std::dynamic_pointer_cast<tov::ActiveView>(m_focus); }

void HostMapDocument::RefreshContentsView() {
  ++m_contentsRefreshCount;
  if (m_onContentsRefresh) m_onContentsRefresh();
}

} // namespace tov
