#pragma once
#include "platform/gis/FeatureLayer.h"

#include <functional>
#include <string>

namespace tov {

// Where a layer's data lives, kept even when the data is missing so that the
// layer can be saved again unchanged.
struct LayerDataSource {
  std::string format;     // "shapefile", "geopackage" or "postgis"; empty: none
  std::string nativePath; // the workspace (a connection string for "postgis")
  std::string dataset;    // the feature class name
};

// A layer's source as a saved document or layer file gave it, kept for a
// layer whose data was never opened so that it is saved again as it was.
struct SavedDataSource {
  std::string format, dataset, path, relativePath;
  bool hasRelativePath = false;
};

// Opens a layer's data when it is first needed; no object when it cannot.
using LayerDataOpener = std::function<FeatureClassPtr()>;

class HostFeatureLayer : public FeatureLayer {
public:
  HostFeatureLayer();

  std::string Name() const override { return m_name; }
  void SetName(const std::string& name) override {
    ReadRest();
    m_name = name;
  }
  bool Visible() const override {
    ReadRest();
    return m_visible;
  }
  void SetVisible(bool visible) override {
    ReadRest();
    m_visible = visible;
  }
  bool Valid() const override { return FeatureClass() != nullptr; }

  FeatureClassPtr FeatureClass() const override;
  void SetFeatureClass(const FeatureClassPtr& featureClass) override;
  bool Selectable() const override {
    ReadRest();
    return m_selectable;
  }
  void SetSelectable(bool value) override {
    ReadRest();
    m_selectable = value;
  }
  RgbColorPtr SelectionColor() const override;
  void SetSelectionColor(const RgbColorPtr& color) override;
  SelectionSetPtr SelectionSet() const override;
  void SelectFeatures(const QueryFilterPtr& filter, long combination, bool justOne) override;
  void ClearSelection() override;
  SimpleRendererPtr Renderer() const override {
    ReadRest();
    return m_renderer;
  }
  void SetRenderer(const SimpleRendererPtr& renderer) override;
  bool DisplayAnnotation() const override {
    ReadRest();
    return m_displayAnnotation;
  }
  void SetDisplayAnnotation(bool value) override {
    ReadRest();
    m_displayAnnotation = value;
  }
  AnnotationPropertiesPtr AnnotationProperties() const override {
    ReadRest();
    return m_annotation;
  }
  std::string DataSourceRelativeBase() const override {
    ReadRest();
    return m_relativeBase;
  }
  void SetDataSourceRelativeBase(const std::string& folder) override {
    ReadRest();
    m_relativeBase = folder;
  }

  // The scales the layer shows at, as denominators (0: no limit): at most
  // the minimum scale and at least the maximum scale, so that a detailed
  // layer appears only when zoomed in.
  double MinimumScale() const {
    ReadRest();
    return m_minimumScale;
  }
  double MaximumScale() const {
    ReadRest();
    return m_maximumScale;
  }
  void SetScaleRange(double minimumScale, double maximumScale);
  bool ShowsAtScale(double scale) const {
    ReadRest();
    return !(m_minimumScale > 0 && scale > m_minimumScale) && !(m_maximumScale > 0 && scale < m_maximumScale);
  }

  const LayerDataSource& DataSource() const { return m_source; }
  // For a layer whose data could not be opened.
  void SetMissingDataSource(const LayerDataSource& source) { m_source = source; }
  // The layer's data is opened by `open` when it is first needed (drawn,
  // selected, read): a document of many layers opens quickly, and a command
  // opens only what it touches. Until then DataSource() says `source`, a
  // save writes `saved`, and the selection set gathers ids without the data.
  // Without a saved symbol the layer takes its shape type's default when
  // opened. A layer whose data cannot be opened is as one never given any.
  void SetDataToOpen(const LayerDataSource& source, const SavedDataSource& saved, bool defaultSymbol,
                     LayerDataOpener open);
  // The saved source of a layer whose data is still to be opened, else null.
  const SavedDataSource* UnopenedSource() const;
  void SetAnnotationProperties(const AnnotationPropertiesPtr& props) {
    ReadRest();
    m_annotation = props;
  }

  // A layer made from what was remembered of a layer file (its name and
  // where its data is) reads the rest of it from the file by `read` when
  // first asked for any of it; a failing read raises there.
  void SetRestToRead(std::function<std::shared_ptr<HostFeatureLayer>()> read) { m_rest = std::move(read); }

private:
  struct DataToOpen;
  // Opens the data to open, once.
  void OpenData() const;
  void ReadRest() const {
    if (m_rest) ReadRestNow();
  }
  void ReadRestNow() const;

  std::string m_name;
  bool m_visible = true;
  bool m_selectable = true;
  RgbColorPtr m_selectionColor;
  mutable FeatureClassPtr m_featureClass;
  mutable SelectionSetPtr m_selection;
  SimpleRendererPtr m_renderer;
  bool m_displayAnnotation = false;
  AnnotationPropertiesPtr m_annotation;
  std::string m_relativeBase;
  double m_minimumScale = 0, m_maximumScale = 0;
  mutable LayerDataSource m_source;
  std::shared_ptr<DataToOpen> m_toOpen; // shared with the selection set
  mutable std::function<std::shared_ptr<HostFeatureLayer>()> m_rest;
};

using HostFeatureLayerPtr = std::shared_ptr<HostFeatureLayer>;

} // namespace tov
