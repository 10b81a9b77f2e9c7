#include "host/render/MapRenderer.h"

#include "host/common/Paths.h"
#include "host/gis/HostFeatureLayer.h"
#include "host/gis/HostSpatialReference.h"
#include "host/gis/OgrGeometrySource.h"
#include "platform/gis/EnumElement.h"
#include "platform/gis/FeatureLayer.h"
#include "platform/gis/GraphicElement.h"
#include "platform/gis/GroupLayer.h"
#include "platform/gis/LabelClass.h"
#include "platform/gis/Map.h"
#include "platform/gis/RgbColor.h"
#include "platform/gis/SelectionSet.h"
#include "platform/gis/SimpleRenderer.h"
#include "platform/gis/SpatialReference.h"
#include "platform/runtime/HostError.h"

#include <ogr_geometry.h>
#include <ogr_spatialref.h>

#include <QPainter>

#include <cmath>
#include <filesystem>
#include <set>

namespace tov {

double MapRenderer::ScaleOf(const Map& map, const MapViewport& viewport) {
  double metresPerUnit = 1;
  auto sr = map.SpatialReference();
  if (sr && sr->IsGeographic()) {
    const double lat = viewport.VisibleMapRect().center().y() * M_PI / 180;
    metresPerUnit = 111320.0 * std::max(std::cos(lat), 0.01);
  } else if (const OGRSpatialReference* o = HostSpatialReference::OgrOf(sr)) {
    metresPerUnit = o->GetLinearUnits();
  }
  const double metresPerPixel = 0.0254 / 96;
  return viewport.Resolution() * metresPerUnit / metresPerPixel;
}

void MapRenderer::DrawLayer(QPainter& painter, const LayerPtr& layer, const Map& map, const MapViewport& viewport,
                            double scale, long phases, MapLabels& labels) {
  if (!layer || !layer->Visible()) return;
  if (auto group = std::dynamic_pointer_cast<GroupLayer>(layer)) {
    for (long i = group->Count() - 1; i >= 0; --i)
      DrawLayer(painter, group->Layer(i), map, viewport, scale, phases, labels);
    return;
  }
  auto fl = std::dynamic_pointer_cast<FeatureLayer>(layer);
  if (!fl) return;
  // Beyond its scale range a layer is left out, its data not even read.
  if (auto host = std::dynamic_pointer_cast<HostFeatureLayer>(fl); host && !host->ShowsAtScale(scale)) return;
  if (!fl->Valid() || !fl->FeatureClass()) {
    // Said once per drawing, in the geography phase that would have drawn it.
    if (!(phases & drawPhaseGeography)) return;
    std::string why = "its data is missing";
    if (auto host = std::dynamic_pointer_cast<HostFeatureLayer>(fl); host && !host->DataSource().nativePath.empty())
      why = "its data is missing: " +
            DisplayPath(host->DataSource().format == "shapefile"
                            ? (std::filesystem::path(host->DataSource().nativePath) / (host->DataSource().dataset + ".shp"))
                                  .lexically_normal()
                                  .string()
                            : host->DataSource().nativePath);
    m_undrawn.push_back(layer->Name());
    m_errors.push_back(layer->Name() + ": " + why);
    return;
  }
  try {
    ShapeCache::Shapes* shapes = m_shapes.ShapesOf(fl, map);
    if (!shapes) return;
    const QRectF visible = viewport.VisibleMapRect();
    const QTransform toPixel = viewport.MapToPixel();
    auto renderer = fl->Renderer();
    const SymbolPtr symbol = renderer ? renderer->Symbol() : nullptr;
    if (phases & drawPhaseGeography) {
      const SymbolStyle style = SymbolStyle::Of(symbol);
      for (const ShapeCache::Feature& f : shapes->features)
        if (f.bounds.intersects(visible) || f.bounds.isEmpty()) style.Draw(painter, f, toPixel);
    }
    if (phases & drawPhaseGeoSelection) {
      auto selection = fl->SelectionSet();
      if (selection && selection->Count() > 0) {
        const auto ids = selection->IDs();
        const std::set<long> wanted(ids.begin(), ids.end());
        const QColor colour = fl->SelectionColor() ? ToQColor(fl->SelectionColor()) : QColor(0, 255, 255);
        const SymbolStyle style = SymbolStyle::Of(symbol, &colour);
        for (const ShapeCache::Feature& f : shapes->features)
          if (wanted.count(f.oid)) style.Draw(painter, f, toPixel);
      }
    }
    if (phases & drawPhaseLabels)
      if (auto lc = MapLabels::LabelClassAt(fl, scale))
        labels.Add(*shapes, m_shapes.LabelsOf(*shapes, fl, lc->Expression()), lc);
  } catch (const HostError& e) {
    m_undrawn.push_back(layer->Name());
    m_errors.push_back(layer->Name() + ": " + e.Description());
  }
}

void MapRenderer::DrawGraphics(QPainter& painter, const Map& map, const MapViewport& viewport, long phases) {
  const QTransform toPixel = viewport.MapToPixel();
  std::set<const GraphicElement*> selected;
  if (auto e = map.SelectedElements()) {
    e->Reset();
    while (auto el = e->Next()) selected.insert(el.get());
  }
  for (long i = 0; i < map.ElementCount(); ++i) {
    auto element = map.Element(i);
    if (!element) continue;
    auto ogr = OgrGeometryOf(element->Geometry());
    if (!ogr) continue;
    const ShapeCache::Feature f = ShapeCache::FeatureOf(ogr.get());
    if (phases & drawPhaseGraphics) {
      SymbolPtr symbol = element->Symbol();
      if (!symbol && !f.path.isEmpty()) {
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(toPixel.map(f.path));
      } else {
        SymbolStyle::Of(symbol).Draw(painter, f, toPixel);
      }
    }
    if ((phases & drawPhaseGraphicSelection) && selected.count(element.get())) {
      // Selected graphics get handles at the corners of their box.
      const QRectF box = toPixel.mapRect(f.bounds);
      painter.setPen(QPen(QColor(0, 160, 255), 1, Qt::DashLine));
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(box);
      painter.setPen(Qt::NoPen);
      painter.setBrush(QColor(0, 160, 255));
      for (const QPointF& c : {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()})
        painter.drawRect(QRectF(c.x() - 3, c.y() - 3, 6, 6));
    }
  }
}

void MapRenderer::Draw(QPainter& painter, const Map& map, const MapViewport& viewport, long phases) {
  m_errors.clear();
  m_undrawn.clear();
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  if (phases & drawPhaseBackground) painter.fillRect(QRectF(QPointF(0, 0), viewport.Size()), Qt::white);
  const double scale = ScaleOf(map, viewport);
  MapLabels labels;
  for (long i = map.LayerCount() - 1; i >= 0; --i)
    DrawLayer(painter, map.Layer(i), map, viewport, scale, phases, labels);
  if (phases & (drawPhaseGraphics | drawPhaseGraphicSelection)) DrawGraphics(painter, map, viewport, phases);
  if (phases & drawPhaseLabels) {
    MapLabels::Key key = labels.KeyOf(viewport);
    if (!m_labelsPlaced || !(key == m_labelKey)) {
      m_placedLabels = labels.Place(viewport);
      m_labelKey = std::move(key);
      m_labelsPlaced = true;
    }
    MapLabels::Paint(painter, m_placedLabels);
  }
  painter.restore();
}

} // namespace tov
