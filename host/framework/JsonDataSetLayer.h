#pragma once
#include "platform/framework/DataSetLayer.h"

namespace tov {

// A data set layer read from a data set description.
class JsonDataSetLayer : public DataSetLayer {
public:
  JsonDataSetLayer(std::string name, std::string sourceName, std::string mapLayerName, bool reference)
      : m_name(std::move(name)), m_sourceName(std::move(sourceName)), m_mapLayerName(std::move(mapLayerName)),
        m_reference(reference) {}

  std::string Name() override { return m_name; }
  std::string SourceName() override { return m_sourceName; }
  std::string MapLayerName() override { return m_mapLayerName; }
  // Shown in the focus map of a new analysis.
  bool IsReference() const { return m_reference; }

private:
  std::string m_name, m_sourceName, m_mapLayerName;
  bool m_reference;
};

} // namespace tov
