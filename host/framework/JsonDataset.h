#pragma once
#include "platform/framework/HostDataset.h"

#include "host/framework/JsonDataSetLayer.h"

#include <array>
#include <map>
#include <optional>
#include <vector>

namespace tov {

// A data set from data/<folder>/dataset.json beside its GeoPackage, or
// with its layers as tables of a PostGIS database ("postgis").
// Its DataSetPath is its name: one text names and locates it.
class JsonDataset : public HostDataset {
public:
  using SymbolKeys = std::map<std::string, std::string>;

  // Reads <nativeFolder>/dataset.json. A missing or malformed description
  // raises HostError naming the file and what is wrong.
  static std::shared_ptr<JsonDataset> Load(const std::string& nativeFolder);
  // Every data set under dataRoot (folders holding a dataset.json), by name.
  // A folder whose description cannot be read raises HostError.
  static std::vector<std::shared_ptr<JsonDataset>> LoadAll(const std::string& nativeDataRoot);

  std::string Name() override { return m_name; }
  std::string DataSetPath() override { return m_name; }
  long TaskCount() override { return static_cast<long>(m_tasks.size()); }
  TaskDescriptorPtr Task(long index) override;
  TaskDescriptorPtr TaskByName(const std::string& name) override;
  long LayerCount() override { return static_cast<long>(m_layers.size()); }
  DataSetLayerPtr Layer(long index) override;
  DataSetLayerPtr LayerByName(const std::string& name) override;
  ConfigNodePtr Configuration() override { return m_configuration; }

  // Host side.
  const std::string& Folder() const { return m_folder; }
  // Native path of the GeoPackage.
  const std::string& GeoPackagePath() const { return m_geopackage; }
  // GDAL's connection string of the database holding the layers
  // ("PG:dbname=... schemas=..."); empty: the layers are in the GeoPackage.
  const std::string& PostgisConnection() const { return m_postgis; }
  // Where the layers are, as people read it.
  std::string DataLocation() const;
  const std::vector<std::shared_ptr<JsonDataSetLayer>>& Layers() const { return m_layers; }
  // Symbol keys for a reference layer of a new analysis (empty when none).
  SymbolKeys ReferenceSymbols(const std::string& layerName) const;
  // What a new analysis shows first: [WEST, SOUTH, EAST, NORTH] in degrees
  // of longitude and latitude; none: the full extent of its layers.
  const std::optional<std::array<double, 4>>& InitialExtent() const { return m_initialExtent; }
  // The data's sources in one short line, drawn on maps (may be empty).
  const std::string& Attribution() const { return m_attribution; }
  // The data set a new analysis takes when it is given none ("default": true).
  bool IsDefault() const { return m_default; }
  // The data set layer whose SourceName or Name is this text, or no object.
  std::shared_ptr<JsonDataSetLayer> FindSource(const std::string& sourceOrName) const;

private:
  std::string m_name, m_folder, m_geopackage, m_postgis, m_attribution;
  std::optional<std::array<double, 4>> m_initialExtent;
  bool m_default = false;
  std::vector<std::shared_ptr<JsonDataSetLayer>> m_layers;
  std::vector<TaskDescriptorPtr> m_tasks;
  ConfigNodePtr m_configuration;
  std::map<std::string, SymbolKeys> m_referenceSymbols;
};

using JsonDatasetPtr = std::shared_ptr<JsonDataset>;

} // namespace tov
