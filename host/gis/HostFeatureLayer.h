#pragma once
#include "platform/gis/FeatureLayer.h"

#include <string>

namespace tov {

// Where a layer's data lives, kept even when the data is missing so that the
// layer can be saved again unchanged.
struct LayerDataSource {
  std::string format;     // "shapefile", "geopackage" or "postgis"; empty: none
  std::string nativePath; // the workspace (a connection string for "postgis")
  std::string dataset;    // the feature class name
};

class HostFeatureLayer : public FeatureLayer {
public:
  HostFeatureLayer();

  std::string Name() const override { return m_name; }
  void SetName(const std::string& name) override { m_name = name; }
  bool Visible() const override { return m_visible; }
  void SetVisible(bool visible) override { m_visible = visible; }
  bool Valid() const override { return m_featureClass != nullptr; }

  FeatureClassPtr FeatureClass() const override { return m_featureClass; }
  void SetFeatureClass(const FeatureClassPtr& featureClass) override;
  bool Selectable() const override { return m_selectable; }
  void SetSelectable(bool value) override { m_selectable = value; }
  RgbColorPtr SelectionColor() const override;
  void SetSelectionColor(const RgbColorPtr& color) override;
  SelectionSetPtr SelectionSet() const override { return m_selection; }
  void SelectFeatures(const QueryFilterPtr& filter, long combination, bool justOne) override;
  void ClearSelection() override;
  SimpleRendererPtr Renderer() const override { return m_renderer; }
  void SetRenderer(const SimpleRendererPtr& renderer) override;
  bool DisplayAnnotation() const override { return m_displayAnnotation; }
  void SetDisplayAnnotation(bool value) override { m_displayAnnotation = value; }
  AnnotationPropertiesPtr AnnotationProperties() const override { return m_annotation; }
  std::string DataSourceRelativeBase() const override { return m_relativeBase; }
  void SetDataSourceRelativeBase(const std::string& folder) override { m_relativeBase = folder; }

  // The scales the layer shows at, as denominators (0: no limit): at most
  // the minimum scale and at least the maximum scale, so that a detailed
  // layer appears only when zoomed in.
  double MinimumScale() const { return m_minimumScale; }
  double MaximumScale() const { return m_maximumScale; }
  void SetScaleRange(double minimumScale, double maximumScale);
  bool ShowsAtScale(double scale) const {
    return !(m_minimumScale > 0 && scale > m_minimumScale) && !(m_maximumScale > 0 && scale < m_maximumScale);
  }

  const LayerDataSource& DataSource() const { return m_source; }
  // For a layer whose data could not be opened.
  void SetMissingDataSource(const LayerDataSource& source) { m_source = source; }
  void SetAnnotationProperties(const AnnotationPropertiesPtr& props) { m_annotation = props; }

private:
  std::string m_name;
  bool m_visible = true;
  bool m_selectable = true;
  RgbColorPtr m_selectionColor;
  FeatureClassPtr m_featureClass;
  SelectionSetPtr m_selection;
  SimpleRendererPtr m_renderer;
  bool m_displayAnnotation = false;
  AnnotationPropertiesPtr m_annotation;
  std::string m_relativeBase;
  double m_minimumScale = 0, m_maximumScale = 0;
  LayerDataSource m_source;
};

using HostFeatureLayerPtr = std::shared_ptr<HostFeatureLayer>;

} // namespace tov
