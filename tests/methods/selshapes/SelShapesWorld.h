#pragma once
// The world of the selected shapes method's tests: an analysis with squares,
// points and a line to select, a progress runner that records each step, and
// polygons that misbehave on purpose.
#include "AnalysisViews.h"
#include "WorldTest.h"
#include "HostWrappers.h"

#include "framework/TovSSAMethodFunction.h"
#include "methods/selshapes/TovSSACurSelShapesFunction.h"
#include "host/common/Paths.h"
#include "Recorders.h"

#include "host/session/HostTaskRun.h"

namespace tov::test {

// What a recording progress runner saw of one run.
struct StepLog {
  bool started = false;
  // After each DoStep: its result and the area the function holds: its
  // polygon's (0 without one) and, for the selected shapes method, that of
  // each shape gathered and not yet united.
  std::vector<bool> results;
  std::vector<double> areas;
};

// A progress runner that drives the function as the host's does (Start, then
// DoStep until False) and records every step. It gives up after 1000 steps
// so that a function that never ends fails the test instead of hanging it.
class RecordingProgressRunner : public ProgressRunner {
public:
  explicit RecordingProgressRunner(StepLog* log) : m_log(log) {}
  void Run(const ITovFunctionPtr& function, const std::string&, const std::string&, const std::string&,
           int64_t) override {
    m_log->started = function->Start();
    if (!m_log->started) return;
    auto method = std::dynamic_pointer_cast<TovSSAMethodFunction>(function);
    auto gathering = std::dynamic_pointer_cast<TovSSACurSelShapesFunction>(function);
    for (long step = 0; step < 1000; ++step) {
      const bool more = function->DoStep();
      auto polygon = method ? As<Polygon>(method->Geometry()) : PolygonPtr();
      double area = polygon ? polygon->Area() : 0.0;
      if (gathering)
        for (const PolygonPtr& shape : gathering->GatheredShapes()) area += shape->Area();
      m_log->results.push_back(more);
      m_log->areas.push_back(area);
      if (!more) return;
    }
    ADD_FAILURE() << "The function was still stepping after 1000 steps";
  }

private:
  StepLog* m_log;
};

// A polygon that passes every call to a real one; a test double derives
// from it and overrides the call it wants to behave otherwise.
class DelegatingPolygon : public Polygon {
public:
  explicit DelegatingPolygon(PolygonPtr inner) : m_inner(std::move(inner)) {}

  long GeometryType() const override { return m_inner->GeometryType(); }
  bool IsEmpty() const override { return m_inner->IsEmpty(); }
  void SetEmpty() override { m_inner->SetEmpty(); }
  EnvelopePtr Envelope() const override { return m_inner->Envelope(); }
  SpatialReferencePtr SpatialReference() const override { return m_inner->SpatialReference(); }
  void SetSpatialReference(const SpatialReferencePtr& sr) override { m_inner->SetSpatialReference(sr); }
  void Project(const SpatialReferencePtr& sr) override { m_inner->Project(sr); }
  GeometryPtr Copy() const override { return m_inner->Copy(); }
  void AddPoint(const PointPtr& point) override { m_inner->AddPoint(point); }
  void StartNewPart() override { m_inner->StartNewPart(); }
  long PartCount() const override { return m_inner->PartCount(); }
  long RingCount() const override { return m_inner->RingCount(); }
  long PointCount() const override { return m_inner->PointCount(); }
  PointPtr Point(long index) const override { return m_inner->Point(index); }
  double Area() const override { return m_inner->Area(); }
  bool IsClosed() const override { return m_inner->IsClosed(); }
  bool IsKnownSimple() const override { return m_inner->IsKnownSimple(); }
  void SetIsKnownSimple(bool value) override { m_inner->SetIsKnownSimple(value); }
  void Simplify() override { m_inner->Simplify(); }
  void Densify(double maxSegmentLength, double maxDeviation) override { m_inner->Densify(maxSegmentLength, maxDeviation); }
  void Generalize(double maxOffset) override { m_inner->Generalize(maxOffset); }
  GeometryPtr Union(const GeometryPtr& other) const override { return m_inner->Union(other); }
  void ConstructUnion(const GeometryEnumeratorPtr& geometries) override { m_inner->ConstructUnion(geometries); }

protected:
  PolygonPtr m_inner;
};

// A polygon that can refuse to be projected or united, as odd shapes
// sometimes are. Its copies refuse too; the host's union of many shapes
// refuses it as well, since it is none of the host's own.
class FailingPolygon : public DelegatingPolygon {
public:
  enum class Fails { Project, Union };
  FailingPolygon(PolygonPtr inner, Fails fails) : DelegatingPolygon(std::move(inner)), m_fails(fails) {}

  void Project(const SpatialReferencePtr& sr) override {
    if (m_fails == Fails::Project) throw HostError(5, "orvaCore.Polygon", "The shape cannot be projected");
    m_inner->Project(sr);
  }
  GeometryPtr Copy() const override { return std::make_shared<FailingPolygon>(As<Polygon>(m_inner->Copy()), m_fails); }
  GeometryPtr Union(const GeometryPtr& other) const override {
    if (m_fails == Fails::Union) throw HostError(5, "orvaCore.Polygon", "The shapes cannot be united");
    return m_inner->Union(other);
  }

private:
  Fails m_fails;
};

// A graphic's polygon that notes in which step of a recorded run it was
// copied (the index into the log's results). Copies made before the run
// (the graphic element keeps one) note the same; one made in the run is a
// plain polygon.
class StepStampedPolygon : public DelegatingPolygon {
public:
  StepStampedPolygon(PolygonPtr inner, const StepLog* log, std::vector<size_t>* copiedIn)
      : DelegatingPolygon(std::move(inner)), m_log(log), m_copiedIn(copiedIn) {}
  GeometryPtr Copy() const override {
    if (!m_log->started) return std::make_shared<StepStampedPolygon>(As<Polygon>(m_inner->Copy()), m_log, m_copiedIn);
    m_copiedIn->push_back(m_log->results.size());
    return m_inner->Copy();
  }

private:
  const StepLog* m_log;
  std::vector<size_t>* m_copiedIn;
};

// An analysis on the test data set (analysis coordinate system: geographic
// 4269, so that areas are in square degrees) that offers the selected shapes
// method, with three layers in the focus map: "Squares" (30 squares of 0.1
// degree, apart from each other), "Sites" (points) and "Roads" (lines).
class SelShapesTest : public WorldTest {
protected:
  SelShapesTest()
      : WorldTest([] {
          TestWorldOptions options;
          options.projection = R"({"Type": "Geographic", "ID": "4269"})";
          options.extraMethods = MethodJson(kSelectedShapesMethod, "Selected shapes on the map");
          return options;
        }()) {}
  void SetUp() override {
    OpenAnalysis();
    auto factory = CreateAs<WorkspaceFactory>(kAccessWorkspaceFactoryProgId);
    WorkspacePtr workspace = factory->OpenFromFile(ToPlatformPath(world->DatasetFolder() + "/test.gpkg"));
    SpatialReferencePtr sr = Geographic(4269);
    std::vector<GeometryPtr> shapes;
    for (int i = 0; i < 30; ++i) shapes.push_back(Square(-74.9 + (i % 10) * 0.2, 40.0 + (i / 10) * 0.2, kSquareSize, sr));
    squares = AddLayer(workspace, "Squares", geometryPolygon, shapes);
    shapes.clear();
    for (int i = 0; i < 3; ++i) {
      shapes.push_back(MakePoint(-74.5 + i * 0.1, 40.9));
      shapes.back()->SetSpatialReference(sr);
    }
    sites = AddLayer(workspace, "Sites", geometryPoint, shapes);
    auto road = CreateAs<Polyline>(kPolylineProgId);
    road->AddPoint(MakePoint(-74.9, 40.95));
    road->AddPoint(MakePoint(-73.1, 40.95));
    road->SetSpatialReference(sr);
    roads = AddLayer(workspace, "Roads", geometryPolyline, {road});
  }
  // A class of the shapes, shown in the focus map by a layer of that name.
  FeatureLayerPtr AddLayer(const WorkspacePtr& workspace, const std::string& name, long type,
                           const std::vector<GeometryPtr>& shapes) {
    FeatureClassPtr data = workspace->CreateFeatureClass(name, ShapeFields(type, Geographic(4269), true),
                                                         kFeatureClassClsid, "", featureTypeSimple, "Shape", "");
    for (const GeometryPtr& shape : shapes) {
      FeaturePtr feature = data->CreateFeature();
      feature->SetShape(shape);
      feature->Store();
    }
    auto layer = NamedLayer(name);
    layer->SetFeatureClass(data);
    FocusMap()->AddLayer(layer);
    return layer;
  }
  // Selects the features of the layer whose object ids are 1 to count.
  static void SelectFirst(const FeatureLayerPtr& layer, long count) {
    for (long oid = 1; oid <= count; ++oid) layer->SelectionSet()->Add(oid);
  }
  // Adds a graphic with the geometry (and symbol) to the map and selects it.
  GraphicElementPtr AddSelectedGraphic(const GeometryPtr& geometry, const SymbolPtr& symbol = nullptr) {
    auto element = CreateAs<GraphicElement>(kGraphicElementProgId);
    element->SetGeometry(geometry);
    if (symbol) element->SetSymbol(symbol);
    FocusMap()->AddElement(element);
    FocusMap()->SelectElement(element);
    return element;
  }
  // The stored shape of the study area when it is the current one, else no object.
  GeometryPtr StoredShape(const std::string& name) {
    return CurrentStudyArea() == name ? analysis->extension->CurrentStudyAreaGeometry() : nullptr;
  }
  // The summary page's Next, then the name page.
  static std::string Turns(const std::string& name) {
    return ClickTurn("SummarySelShapesDialog", "NextButton") + ", " + NameTurn(name);
  }

  static constexpr double kSquareSize = 0.1;
  static constexpr double kSquareArea = kSquareSize * kSquareSize;

  FeatureLayerPtr squares, sites, roads;
};

// The method run as the host runs it, with the recording progress runner.
class SelectedShapesRunTest : public SelShapesTest {
protected:
  HostTaskRunResult Run(const std::string& turns) { return RunScripted(turns, kCurSelShapesTaskProgId); }

  StepLog steps;
  ClassOverride runner{kProgressRunnerProgId, [this] {
                         return std::static_pointer_cast<Object>(std::make_shared<RecordingProgressRunner>(&steps));
                       }};
};

} // namespace tov::test
