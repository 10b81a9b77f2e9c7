#pragma once
#include "platform/gis/MapDocument.h"

#include <functional>
#include <vector>

namespace tov {

class HostMapDocument : public MapDocument {
public:
  // A document with one empty map, which has the focus.
  HostMapDocument();

  MapPtr FocusMap() const override { return m_focus; }
  void SetFocusMap(const MapPtr& map) override;
  long MapCount() const override { return static_cast<long>(m_maps.size()); }
  MapPtr Map(long index) const override;
  void AddMap(const MapPtr& map) override;
  ActiveViewPtr ActiveView() const override;
  void RefreshContentsView() override;

  // Removes every map (a loaded document adds its own).
  void ClearMaps();
  void SetContentsRefreshHandler(std::function<void()> handler) { m_onContentsRefresh = std::move(handler); }
  long ContentsRefreshCount() const { return m_contentsRefreshCount; }

private:
  std::vector<MapPtr> m_maps;
  MapPtr m_focus;
  std::function<void()> m_onContentsRefresh;
  long m_contentsRefreshCount = 0;
};

} // namespace tov
