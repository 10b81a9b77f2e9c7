#pragma once
#include "platform/gis/LayerFile.h"

namespace tov {

// A layer file in JSON. The data source is stored relative to the layer's
// data source relative base, which itself is stored relative to the file.
class HostLayerFile : public LayerFile {
public:
  std::string Filename() const override { return m_path; }
  void SetFilename(const std::string& path) override { m_path = path; }
  void Open(const std::string& path) override;
  LayerPtr Layer() const override { return m_layer; }
  void SetLayer(const LayerPtr& layer) override { m_layer = layer; }
  void Save(const std::string& path = std::string()) override;

private:
  std::string m_path;
  LayerPtr m_layer;
};

} // namespace tov
