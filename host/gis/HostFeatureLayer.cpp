#include "host/gis/HostFeatureLayer.h"

#include "host/gis/GisErrors.h"
#include "host/gis/HostAnnotationProperties.h"
#include "host/gis/HostFeatureClass.h"
#include "host/gis/HostFillSymbol.h"
#include "host/gis/HostMarkerSymbol.h"
#include "host/gis/HostSelectionSet.h"
#include "host/gis/HostSimpleRenderer.h"
#include "platform/gis/QueryFilter.h"
#include "platform/runtime/ProgIds.h"

#include <cmath>

namespace tov {

namespace {
const char* const kSource = kFeatureLayerProgId;

LayerDataSource SourceOf(const HostFeatureClass& host) {
  LayerDataSource source;
  source.format = host.IsPostgis()                                              ? "postgis"
                  : host.HostWorkspaceOf()->Kind() == WorkspaceKind::Shapefile ? "shapefile"
                                                                                : "geopackage";
  source.nativePath = host.HostWorkspaceOf()->NativePath();
  source.dataset = host.Name();
  return source;
}

SymbolPtr DefaultSymbol(long shapeType) {
  switch (shapeType) {
  case geometryPoint: return std::make_shared<HostMarkerSymbol>();
  case geometryPolyline: return std::make_shared<HostLineSymbol>();
  default: return std::make_shared<HostFillSymbol>();
  }
}
} // namespace

HostFeatureLayer::HostFeatureLayer()
    : m_selectionColor(std::make_shared<HostRgbColor>(0x00FFFF)), m_renderer(std::make_shared<HostSimpleRenderer>()),
      m_annotation(std::make_shared<HostAnnotationProperties>()) {
  m_renderer->SetSymbol(DefaultSymbol(geometryPolygon));
}

struct HostFeatureLayer::DataToOpen {
  LayerDataOpener open;
  SavedDataSource saved;
  bool defaultSymbol = false;
  bool tried = false;
  std::shared_ptr<HostFeatureClass> featureClass;

  std::shared_ptr<HostFeatureClass> Open() {
    if (!tried) {
      tried = true;
      LayerDataOpener opener = std::move(open);
      open = nullptr;
      featureClass = std::dynamic_pointer_cast<HostFeatureClass>(opener ? opener() : nullptr);
    }
    return featureClass;
  }
};

void HostFeatureLayer::SetDataToOpen(const LayerDataSource& source, const SavedDataSource& saved, bool defaultSymbol,
                                     LayerDataOpener open) {
  m_featureClass.reset();
  m_source = source;
  m_toOpen = std::make_shared<DataToOpen>();
  m_toOpen->open = std::move(open);
  m_toOpen->saved = saved;
  m_toOpen->defaultSymbol = defaultSymbol;
  m_selection = std::make_shared<HostSelectionSet>([toOpen = m_toOpen] { return toOpen->Open(); });
}

const SavedDataSource* HostFeatureLayer::UnopenedSource() const {
  return m_toOpen && !m_toOpen->tried ? &m_toOpen->saved : nullptr;
}

void HostFeatureLayer::OpenData() const {
  if (!m_toOpen || m_featureClass) return;
  std::shared_ptr<HostFeatureClass> host = m_toOpen->Open();
  if (!host) {
    // As a layer whose data was missing when it was read.
    m_selection.reset();
    return;
  }
  m_featureClass = host;
  m_source = SourceOf(*host);
  if (m_toOpen->defaultSymbol) {
    m_toOpen->defaultSymbol = false;
    m_renderer->SetSymbol(DefaultSymbol(host->ShapeType()));
  }
}

void HostFeatureLayer::ReadRestNow() const {
  auto read = std::move(m_rest);
  m_rest = nullptr;
  std::shared_ptr<HostFeatureLayer> whole;
  try {
    whole = read();
  } catch (...) {
    m_rest = std::move(read); // asked again, read again
    throw;
  }
  // What the layer is, not how it is held: read when first asked for.
  auto& self = const_cast<HostFeatureLayer&>(*this);
  self.m_name = whole->m_name;
  self.m_visible = whole->m_visible;
  self.m_selectable = whole->m_selectable;
  self.m_selectionColor = whole->m_selectionColor;
  self.m_renderer = whole->m_renderer;
  self.m_displayAnnotation = whole->m_displayAnnotation;
  self.m_annotation = whole->m_annotation;
  self.m_relativeBase = whole->m_relativeBase;
  self.m_minimumScale = whole->m_minimumScale;
  self.m_maximumScale = whole->m_maximumScale;
  // Data opened already took its shape type's symbol where the file has none.
  if (m_featureClass && whole->m_toOpen && whole->m_toOpen->defaultSymbol)
    self.m_renderer->SetSymbol(DefaultSymbol(std::static_pointer_cast<HostFeatureClass>(m_featureClass)->ShapeType()));
}

FeatureClassPtr HostFeatureLayer::FeatureClass() const {
  OpenData();
  return m_featureClass;
}

SelectionSetPtr HostFeatureLayer::SelectionSet() const {
  // A selection is kept without the data; once the data turns out to be
  // missing there is none, as for a layer read without data.
  if (m_toOpen && m_toOpen->tried) OpenData();
  return m_selection;
}

void HostFeatureLayer::SetFeatureClass(const FeatureClassPtr& featureClass) {
  ReadRest();
  m_toOpen.reset();
  const bool first = !m_featureClass;
  auto host = std::dynamic_pointer_cast<HostFeatureClass>(featureClass);
  if (featureClass && !host)
    throw HostError(err::TypeMismatch, kSource, "The feature class was not opened by this application");
  m_featureClass = featureClass;
  m_selection = host ? std::make_shared<HostSelectionSet>(host) : nullptr;
  if (host) {
    m_source = SourceOf(*host);
    if (first) m_renderer->SetSymbol(DefaultSymbol(host->ShapeType()));
    if (m_name.empty()) m_name = host->Name();
  }
}

RgbColorPtr HostFeatureLayer::SelectionColor() const {
  ReadRest();
  return m_selectionColor->Clone();
}

void HostFeatureLayer::SetSelectionColor(const RgbColorPtr& color) {
  ReadRest();
  m_selectionColor = HostRgbColor::CopyOf(color);
}

void HostFeatureLayer::SetRenderer(const SimpleRendererPtr& renderer) {
  ReadRest();
  if (!renderer) throw HostError(err::ObjectRequired, kSource, "The layer \"" + m_name + "\" needs a renderer");
  m_renderer = renderer;
}

void HostFeatureLayer::SetScaleRange(double minimumScale, double maximumScale) {
  ReadRest();
  if (!(minimumScale >= 0) || !(maximumScale >= 0) || !std::isfinite(minimumScale) || !std::isfinite(maximumScale))
    throw HostError(err::InvalidCall, kSource, "The scales of the layer \"" + m_name + "\" must be 0 or more");
  m_minimumScale = minimumScale;
  m_maximumScale = maximumScale;
}

void HostFeatureLayer::SelectFeatures(const QueryFilterPtr& filter, long combination, bool justOne) {
  auto host = std::dynamic_pointer_cast<HostFeatureClass>(FeatureClass());
  if (!host)
    throw HostError(gisErr::DatasetNotFound, kSource, "The layer \"" + m_name + "\" has no data to select from");
  auto hits = std::make_shared<HostSelectionSet>(host);
  for (long id : host->CollectIds(filter)) {
    hits->Add(id);
    if (justOne) break;
  }
  m_selection->Combine(hits, combination);
}

void HostFeatureLayer::ClearSelection() {
  if (m_selection) m_selection->Clear();
}

} // namespace tov
