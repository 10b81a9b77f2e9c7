#pragma once
#include "platform/gis/GisForward.h"
#include "platform/runtime/Object.h"

#include <string>

namespace tov {

// A map: its layers (index 0 is the top of the drawing list), selection,
// graphics and coordinate system. The host's map object is also the map's
// ActiveView (As<ActiveView>(map)).
class Map : public virtual Object {
public:
  virtual std::string Name() const = 0;
  virtual void SetName(const std::string& name) = 0;

  // Top-level layers.
  virtual long LayerCount() const = 0;
  virtual LayerPtr Layer(long index) const = 0;
  // Layers in map order: every level (a group before its children) or the
  // top level only.
  virtual EnumLayerPtr Layers(bool allLevels) const = 0;
  // Puts the layer on top (index 0). A map without a spatial reference takes
  // the one of the first layer with data.
  virtual void AddLayer(const LayerPtr& layer) = 0;
  // Puts the layer at index (clamped to the list).
  virtual void InsertLayer(const LayerPtr& layer, long index) = 0;
  // Removes a top-level or nested layer (the same object).
  virtual void DeleteLayer(const LayerPtr& layer) = 0;
  virtual void ClearLayers() = 0;

  // Selected features of every feature layer, in map order.
  virtual EnumFeaturePtr FeatureSelection() const = 0;
  virtual long SelectionCount() const = 0;
  // Selects the features of the selectable feature layers that the geometry
  // touches, combined as env says (a missing env means "new").
  virtual void SelectByShape(const GeometryPtr& shape, const SelectionEnvironmentPtr& env, bool justOne) = 0;
  virtual void ClearSelection() = 0;

  // Graphics: drawn elements, some of them selected.
  virtual void AddElement(const GraphicElementPtr& element) = 0;
  virtual void DeleteElement(const GraphicElementPtr& element) = 0;
  virtual void DeleteAllElements() = 0;
  virtual long ElementCount() const = 0;
  virtual GraphicElementPtr Element(long index) const = 0;
  virtual void SelectElement(const GraphicElementPtr& element) = 0;
  virtual void UnselectAllElements() = 0;
  virtual long ElementSelectionCount() const = 0;
  // The selected elements, or an empty pointer when none is selected.
  virtual EnumElementPtr SelectedElements() const = 0;

  virtual SpatialReferencePtr SpatialReference() const = 0;
  // Sets the system the map shows; the extent is projected into it.
  virtual void SetSpatialReference(const SpatialReferencePtr& sr) = 0;
};

using MapPtr = std::shared_ptr<Map>;

} // namespace tov
