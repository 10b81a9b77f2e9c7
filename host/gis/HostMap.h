#pragma once
#include "platform/gis/ActiveView.h"
#include "platform/gis/Map.h"

#include <functional>
#include <vector>

namespace tov {

// A map and its view. Drawing is someone else's: whoever shows the map sets
// a refresh handler and draws when it is called.
class HostMap : public tov::Map, public tov::ActiveView {
public:
  using RefreshHandler = std::function<void(long phase)>;

  HostMap();

  std::string Name() const override { return m_name; }
  void SetName(const std::string& name) override { m_name = name; }
  long LayerCount() const override { return static_cast<long>(m_layers.size()); }
  LayerPtr Layer(long index) const override;
  EnumLayerPtr Layers(bool allLevels) const override;
  void AddLayer(const LayerPtr& layer) override;
  void InsertLayer(const LayerPtr& layer, long index) override;
  void DeleteLayer(const LayerPtr& layer) override;
  void ClearLayers() override { m_layers.clear(); }
  EnumFeaturePtr FeatureSelection() const override;
  long SelectionCount() const override;
  void SelectByShape(const GeometryPtr& shape, const SelectionEnvironmentPtr& env, bool justOne) override;
  void ClearSelection() override;
  void AddElement(const GraphicElementPtr& element) override;
  void DeleteElement(const GraphicElementPtr& element) override;
  void DeleteAllElements() override;
  long ElementCount() const override { return static_cast<long>(m_elements.size()); }
  GraphicElementPtr Element(long index) const override;
  void SelectElement(const GraphicElementPtr& element) override;
  void UnselectAllElements() override { m_selectedElements.clear(); }
  long ElementSelectionCount() const override { return static_cast<long>(m_selectedElements.size()); }
  EnumElementPtr SelectedElements() const override;
  SpatialReferencePtr SpatialReference() const override { return m_sr; }
  void SetSpatialReference(const SpatialReferencePtr& sr) override;

  EnvelopePtr Extent() const override;
  void SetExtent(const EnvelopePtr& extent) override;
  EnvelopePtr FullExtent() const override;
  void Refresh() override;
  void PartialRefresh(long phase) override;

  void SetRefreshHandler(RefreshHandler handler) { m_onRefresh = std::move(handler); }
  // Every layer in map order (a group before its children).
  std::vector<LayerPtr> AllLayers() const;
  long RefreshCount() const { return m_refreshCount; }

private:
  std::string m_name = "Layers";
  std::vector<LayerPtr> m_layers;
  std::vector<GraphicElementPtr> m_elements;
  std::vector<GraphicElementPtr> m_selectedElements;
  SpatialReferencePtr m_sr;
  EnvelopePtr m_extent;
  RefreshHandler m_onRefresh;
  long m_refreshCount = 0;
};

using HostMapPtr = std::shared_ptr<HostMap>;

} // namespace tov
