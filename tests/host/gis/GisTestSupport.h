#pragma once
#include "Errors.h"
#include "GisBuilders.h"
#include "TempFolder.h"
#include "host/common/Paths.h"
#include "host/gis/HostPolygon.h"
#include "host/gis/RegisterHostGisClasses.h"

#include <fstream>
#include <sstream>

namespace tov::test {

// A polygon class of the shape and NAME (and the object id "OID" when asked).
inline FeatureClassPtr PolygonClass(const WorkspacePtr& ws, const std::string& name, const SpatialReferencePtr& sr,
                                    bool withOid) {
  return ws->CreateFeatureClass(name, PolygonFields(sr, withOid), kFeatureClassClsid, "", featureTypeSimple, "Shape", "");
}

// Stores a unit square per name, eastwards from (x, y), with its NAME.
inline void AddSquares(const FeatureClassPtr& fc, const std::vector<std::string>& names, double x, double y,
                       const SpatialReferencePtr& sr) {
  for (const std::string& name : names) {
    FeaturePtr f = fc->CreateFeature();
    f->SetShape(Square(x++, y, 1, sr));
    f->SetValue(fc->FindField("NAME"), name);
    f->Store();
  }
}

// A fresh temporary folder per test, removed afterwards.
class GisTest : public ::testing::Test {
protected:
  GisTest() { RegisterHostGisClasses(); }
  std::string Native(const std::string& name = "") const { return name.empty() ? m_tmp.Path() : m_tmp / name; }
  std::string Platform(const std::string& name = "") const { return ToPlatformPath(Native(name)); }

  // The shapefile folder `folder` of the test's folder (made when missing).
  WorkspacePtr Shapefiles(const std::string& folder = "") const {
    std::filesystem::create_directories(Native(folder));
    return CreateAs<WorkspaceFactory>("orvaCore.ShapefileWorkspaceFactory")->OpenFromFile(Platform(folder));
  }
  // A new GeoPackage `name`.gpkg in the test's folder.
  WorkspacePtr NewGeoPackage(const std::string& name = "Area") const {
    auto factory = CreateAs<WorkspaceFactory>("orvaCore.AccessWorkspaceFactory");
    return factory->OpenFromFile(factory->Create(Platform(), name, nullptr));
  }
  // A layer of unit squares with these NAMEs side by side from the origin,
  // in the class "Squares" of the shapefile folder `folder`.
  FeatureLayerPtr SquaresLayer(const std::vector<std::string>& names, const std::string& folder = "") const {
    FeatureClassPtr fc = PolygonClass(Shapefiles(folder), "Squares", Geographic(4326), false);
    AddSquares(fc, names, 0, 0, Geographic(4326));
    auto layer = CreateAs<FeatureLayer>("orvaCore.FeatureLayer");
    layer->SetFeatureClass(fc);
    return layer;
  }

  tov::testing::TempFolder m_tmp;
};

// An index named `name` on the field `field` of the class.
inline IndexPtr IndexOn(const FeatureClassPtr& fc, const std::string& field, const std::string& name) {
  auto fields = CreateAs<Fields>("orvaCore.Fields");
  fields->AddField(fc->Fields()->Field(fc->FindField(field)));
  auto index = CreateAs<Index>("orvaCore.Index");
  index->SetName(name);
  index->SetFields(fields);
  return index;
}

inline QueryFilterPtr Where(const std::string& clause) {
  auto filter = CreateAs<QueryFilter>("orvaCore.QueryFilter");
  filter->SetWhereClause(clause);
  return filter;
}

inline EnvelopePtr Box(double xmin, double ymin, double xmax, double ymax, SpatialReferencePtr sr = nullptr) {
  auto box = CreateAs<Envelope>("orvaCore.Envelope");
  box->PutCoords(xmin, ymin, xmax, ymax);
  box->SetSpatialReference(std::move(sr));
  return box;
}

// A group layer of that name holding the layers given.
inline GroupLayerPtr GroupOf(const std::string& name, const std::vector<LayerPtr>& layers = {}) {
  auto group = CreateAs<GroupLayer>("orvaCore.GroupLayer");
  group->SetName(name);
  for (const LayerPtr& layer : layers) group->Add(layer);
  return group;
}

// A graphic of the shape, with the symbol when one is given, drawn on the map.
inline GraphicElementPtr AddGraphic(const MapPtr& map, const GeometryPtr& shape, const SymbolPtr& symbol = nullptr) {
  auto element = CreateAs<GraphicElement>("orvaCore.GraphicElement");
  element->SetGeometry(shape);
  if (symbol) element->SetSymbol(symbol);
  map->AddElement(element);
  return element;
}

// The envelope's XMin, YMin, XMax and YMax.
inline std::vector<double> Corners(const EnvelopePtr& e) { return {e->XMin(), e->YMin(), e->XMax(), e->YMax()}; }

inline std::string ReadText(const std::string& nativePath) {
  std::ifstream in(nativePath);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The layer saved as a layer file, and a feature layer read back from one.
inline void SaveLayerFile(const LayerPtr& layer, const std::string& path) {
  auto file = CreateAs<LayerFile>("orvaCore.LayerFile");
  file->SetLayer(layer);
  file->Save(path);
}
inline FeatureLayerPtr OpenLayerFile(const std::string& path) {
  auto file = CreateAs<LayerFile>("orvaCore.LayerFile");
  file->Open(path);
  return std::dynamic_pointer_cast<FeatureLayer>(file->Layer());
}

// The width of the layer's fill outline, changed as a user does: on the
// copies the symbol hands out, put back.
inline void SetOutlineWidth(const FeatureLayerPtr& layer, double width) {
  auto fill = std::dynamic_pointer_cast<FillSymbol>(layer->Renderer()->Symbol());
  ASSERT_TRUE(fill);
  LineSymbolPtr outline = fill->Outline();
  outline->SetWidth(width);
  fill->SetOutline(outline);
  layer->Renderer()->SetSymbol(fill);
}
inline double OutlineWidthOf(const FeatureLayerPtr& layer) {
  auto fill = layer ? std::dynamic_pointer_cast<FillSymbol>(layer->Renderer()->Symbol()) : nullptr;
  return fill ? fill->Outline()->Width() : -1;
}

// Hands a fixed list of shapes to ConstructUnion.
struct ListEnumerator : GeometryEnumerator {
  explicit ListEnumerator(std::vector<GeometryPtr> list) : shapes(std::move(list)) {}
  void BindGeometrySource(const QueryFilterPtr&, const ObjectPtr&) override {}
  void Reset() override { next = 0; }
  GeometryPtr Next() override { return next < shapes.size() ? shapes[next++] : nullptr; }
  long Count() override { return static_cast<long>(shapes.size()); }
  std::vector<GeometryPtr> shapes;
  size_t next = 0;
};

// The host's union of the shapes and, when asked, how it was made.
inline PolygonPtr UnionOf(std::vector<GeometryPtr> shapes, UnionMethod* method = nullptr) {
  auto result = CreateAs<Polygon>("orvaCore.Polygon");
  auto enumerator = std::make_shared<ListEnumerator>(std::move(shapes));
  if (method) *method = std::dynamic_pointer_cast<HostPolygon>(result)->ConstructUnionReportingMethod(enumerator);
  else result->ConstructUnion(enumerator);
  return result;
}

} // namespace tov::test
