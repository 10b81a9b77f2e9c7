#include "SelShapesTest.h"

#include "framework/TovSSAMethodFunction.h"
#include "host/common/Paths.h"
#include "platform/gis/Feature.h"
#include "platform/gis/FeatureClass.h"
#include "platform/gis/MapDocument.h"
#include "platform/gis/Polyline.h"
#include "platform/gis/SelectionSet.h"
#include "platform/gis/Workspace.h"
#include "platform/gis/WorkspaceFactory.h"

namespace tov::test {

namespace {

constexpr long kStepLimit = 1000;

TestWorldOptions SelShapesWorld() {
  TestWorldOptions options;
  options.projection = R"({"Type": "Geographic", "ID": "4269"})";
  options.extraMethods = MethodJson(kSelectedShapesMethod, "Selected shapes on the map");
  return options;
}

FieldsPtr ShapeFields(long geometryType, const SpatialReferencePtr& sr) {
  auto fields = CreateAs<Fields>("orvaCore.Fields");
  auto oid = CreateAs<Field>("orvaCore.Field");
  oid->SetName("OID");
  oid->SetType(fieldTypeOID);
  oid->SetIsNullable(false);
  fields->AddField(oid);
  fields->AddField(ShapeField(geometryType, sr));
  return fields;
}

FeatureLayerPtr AddLayer(const MapPtr& map, const FeatureClassPtr& featureClass, const std::string& name) {
  auto layer = CreateAs<FeatureLayer>("orvaCore.FeatureLayer");
  layer->SetFeatureClass(featureClass);
  layer->SetName(name);
  map->AddLayer(layer);
  return layer;
}

void AddFeature(const FeatureClassPtr& featureClass, const GeometryPtr& shape) {
  FeaturePtr feature = featureClass->CreateFeature();
  feature->SetShape(shape);
  feature->Store();
}

} // namespace

void RecordingProgressRunner::Run(const ITovFunctionPtr& function, const std::string&, const std::string&,
                                  const std::string&, int64_t) {
  m_log->started = function->Start();
  if (!m_log->started) return;
  auto method = std::dynamic_pointer_cast<TovSSAMethodFunction>(function);
  for (long step = 0; step < kStepLimit; ++step) {
    const bool more = function->DoStep();
    auto polygon = method ? As<Polygon>(method->Geometry()) : PolygonPtr();
    m_log->results.push_back(more);
    m_log->areas.push_back(polygon ? polygon->Area() : 0.0);
    if (!more) return;
  }
  ADD_FAILURE() << "The function was still stepping after " << kStepLimit << " steps";
}

void FailingPolygon::Project(const SpatialReferencePtr& sr) {
  if (m_fails == Fails::Project) throw HostError(5, "orvaCore.Polygon", "The shape cannot be projected");
  m_inner->Project(sr);
}

GeometryPtr FailingPolygon::Copy() const {
  return std::make_shared<FailingPolygon>(As<Polygon>(m_inner->Copy()), m_fails);
}

GeometryPtr FailingPolygon::Union(const GeometryPtr& other) const {
  if (m_fails == Fails::Union) throw HostError(5, "orvaCore.Polygon", "The shapes cannot be united");
  return m_inner->Union(other);
}

SelShapesTest::SelShapesTest() : WorldTest(SelShapesWorld()) {}

void SelShapesTest::SetUp() {
  OpenAnalysis();
  auto factory = CreateAs<WorkspaceFactory>("orvaCore.AccessWorkspaceFactory");
  WorkspacePtr workspace = factory->OpenFromFile(ToPlatformPath(world->DatasetFolder() + "/test.gpkg"));
  SpatialReferencePtr sr = Geographic(4269);

  FeatureClassPtr squareClass = workspace->CreateFeatureClass("squares", ShapeFields(geometryPolygon, sr),
                                                              kFeatureClassClsid, "", featureTypeSimple, "Shape", "");
  for (int i = 0; i < 30; ++i)
    AddFeature(squareClass, Square(-74.9 + (i % 10) * 0.2, 40.0 + (i / 10) * 0.2, kSquareSize, sr));

  FeatureClassPtr siteClass = workspace->CreateFeatureClass("sites", ShapeFields(geometryPoint, sr),
                                                            kFeatureClassClsid, "", featureTypeSimple, "Shape", "");
  for (int i = 0; i < 3; ++i) {
    PointPtr site = MakePoint(-74.5 + i * 0.1, 40.9);
    site->SetSpatialReference(sr);
    AddFeature(siteClass, site);
  }

  FeatureClassPtr roadClass = workspace->CreateFeatureClass("roads", ShapeFields(geometryPolyline, sr),
                                                            kFeatureClassClsid, "", featureTypeSimple, "Shape", "");
  auto road = CreateAs<Polyline>("orvaCore.Polyline");
  road->AddPoint(MakePoint(-74.9, 40.95));
  road->AddPoint(MakePoint(-73.1, 40.95));
  road->SetSpatialReference(sr);
  AddFeature(roadClass, road);

  MapPtr map = FocusMap();
  squares = AddLayer(map, squareClass, "Squares");
  sites = AddLayer(map, siteClass, "Sites");
  roads = AddLayer(map, roadClass, "Roads");
}

void SelShapesTest::SelectFirst(const FeatureLayerPtr& layer, long count) {
  for (long oid = 1; oid <= count; ++oid) layer->SelectionSet()->Add(oid);
}

GraphicElementPtr SelShapesTest::AddSelectedGraphic(const GeometryPtr& geometry, const SymbolPtr& symbol) {
  auto element = CreateAs<GraphicElement>("orvaCore.GraphicElement");
  element->SetGeometry(geometry);
  if (symbol) element->SetSymbol(symbol);
  FocusMap()->AddElement(element);
  FocusMap()->SelectElement(element);
  return element;
}

GeometryPtr SelShapesTest::StoredShape(const std::string& name) {
  if (analysis->extension->ExtensionProperties()->GetProperty("CurrentExtent") != name) return nullptr;
  return analysis->extension->CurrentStudyAreaGeometry();
}

std::string SelShapesTest::Turns(const std::string& name) {
  return R"([{"form": "SummarySelShapesDialog", "actions": [{"click": "NextButton"}]}, )" + NameTurn(name) + "]";
}

} // namespace tov::test
