#pragma once
#include "platform/gis/LayerFile.h"

namespace tov {

// A layer file in JSON. The data source is stored relative to the layer's
// data source relative base, which itself is stored relative to the file.
// A feature layer's file read whole before and unchanged since is not read
// again until more than the layer's name or data is asked of it.
class HostLayerFile : public LayerFile {
public:
  std::string Filename() const override { return m_path; }
  void SetFilename(const std::string& path) override { m_path = path; }
  void Open(const std::string& path) override;
  LayerPtr Layer() const override { return m_layer; }
  void SetLayer(const LayerPtr& layer) override { m_layer = layer; }
  void Save(const std::string& path = std::string()) override;

private:
  // Reads the file whole.
  void OpenWhole(const std::string& path);

  std::string m_path;
  LayerPtr m_layer;
};

// From now on the layer files read whole are remembered in the cache of that
// analysis folder (FilesFoundWhole); "" for the process only.
void UseLayerFileCacheOf(const std::string& analysisFolder);
// Writes what was read since into the cache in use.
void SaveLayerFileCache();

} // namespace tov
