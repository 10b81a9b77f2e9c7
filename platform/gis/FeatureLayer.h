#pragma once
#include "platform/gis/Layer.h"

namespace tov {

// ProgID "orvaCore.FeatureLayer". A new layer is visible and selectable, has
// no feature class and a simple renderer with a default symbol.
class FeatureLayer : public Layer {
public:
  virtual FeatureClassPtr FeatureClass() const = 0;
  // Also gives the renderer a default symbol for the class's shape type when
  // the layer had no class before.
  virtual void SetFeatureClass(const FeatureClassPtr& featureClass) = 0;
  virtual bool Selectable() const = 0;
  virtual void SetSelectable(bool value) = 0;
  virtual RgbColorPtr SelectionColor() const = 0;
  virtual void SetSelectionColor(const RgbColorPtr& color) = 0;
  // The layer's own selection (an empty pointer without a feature class).
  virtual SelectionSetPtr SelectionSet() const = 0;
  // Combines the features that pass filter with the selection by
  // combination (0 new, 1 add, 2 subtract, 3 and, 4 exclusive or).
  virtual void SelectFeatures(const QueryFilterPtr& filter, long combination, bool justOne) = 0;
  virtual void ClearSelection() = 0;
  virtual SimpleRendererPtr Renderer() const = 0;
  virtual void SetRenderer(const SimpleRendererPtr& renderer) = 0;
  virtual bool DisplayAnnotation() const = 0;
  virtual void SetDisplayAnnotation(bool value) = 0;
  virtual AnnotationPropertiesPtr AnnotationProperties() const = 0;
  // The folder the data source is stored relative to when the layer is
  // saved in a layer file (a platform path; empty: stored absolute).
  virtual std::string DataSourceRelativeBase() const = 0;
  virtual void SetDataSourceRelativeBase(const std::string& folder) = 0;
};

using FeatureLayerPtr = std::shared_ptr<FeatureLayer>;

} // namespace tov
