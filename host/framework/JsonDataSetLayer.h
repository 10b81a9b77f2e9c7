#pragma once
#include "platform/framework/DataSetLayer.h"

namespace tov {

// How a data set layer shows on the focus map of a new analysis. Scales are
// denominators; 0 means no limit. A layer or its labels show while the
// map's scale is at most the minimum scale and at least the maximum scale.
struct LayerDisplay {
  double minimumScale = 0;
  double maximumScale = 0;
  std::string labelField; // empty: no labels
  double labelMinimumScale = 0;
  double labelMaximumScale = 0;
};

// A data set layer read from a data set description.
class JsonDataSetLayer : public DataSetLayer {
public:
  JsonDataSetLayer(std::string name, std::string sourceName, std::string mapLayerName, bool reference,
                   LayerDisplay display = LayerDisplay())
      : m_name(std::move(name)), m_sourceName(std::move(sourceName)), m_mapLayerName(std::move(mapLayerName)),
        m_reference(reference), m_display(std::move(display)) {}

  std::string Name() override { return m_name; }
  std::string SourceName() override { return m_sourceName; }
  std::string MapLayerName() override { return m_mapLayerName; }
  // Shown in the focus map of a new analysis.
  bool IsReference() const { return m_reference; }
  const LayerDisplay& Display() const { return m_display; }

private:
  std::string m_name, m_sourceName, m_mapLayerName;
  bool m_reference;
  LayerDisplay m_display;
};

} // namespace tov
