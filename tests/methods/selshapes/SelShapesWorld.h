#pragma once
// The world of the selected shapes method's tests: an analysis with squares,
// points and a line to select, a progress runner that records each step, and
// polygons that misbehave on purpose.
#include "AnalysisViews.h"
#include "HostWrappers.h"
#include "Recorders.h"
#include "WorldTest.h"

#include "framework/TovSSAMethodFunction.h"
#include "host/common/Paths.h"
#include "methods/selshapes/TovSSACurSelShapesFunction.h"

namespace tov::test {

// What a recording progress runner saw of one run.
struct StepLog {
  bool started = false;
  // After each DoStep: its result and the area held (the function's polygon
  // and the shapes gathered, not yet united).
  std::vector<bool> results;
  std::vector<double> areas;
};

// Drives the function as the host's runner does and records every step; a
// function still stepping after 1000 steps fails the test instead of hanging.
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

// A polygon passing every call to a real one, for doubles to override.
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

// A polygon refusing to be projected or united, as odd shapes do; so do its
// copies, and the host's union of many shapes, as it is none of the host's.
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

// A graphic's polygon noting the step of a recorded run (the index into the
// results) it was copied in; copies made before the run note the same.
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

// The test data set in geographic 4269 (areas in square degrees) with the
// method, and in the focus map "Squares" (30 separate squares of 0.1 degree),
// "Sites" (points) and "Roads" (a line).
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
    std::vector<GeometryPtr> shapes, points;
    for (int i = 0; i < 30; ++i) shapes.push_back(Square(-74.9 + (i % 10) * 0.2, 40.0 + (i / 10) * 0.2, kSquareSize, sr));
    for (int i = 0; i < 3; ++i) points.push_back(MakePoint(-74.5 + i * 0.1, 40.9, sr));
    squares = AddLayer(workspace, "Squares", geometryPolygon, shapes);
    sites = AddLayer(workspace, "Sites", geometryPoint, points);
    roads = AddLayer(workspace, "Roads", geometryPolyline, {Line(-74.9, -73.1, 40.95)});
  }
  // A line along the parallel y from x0 to x1 in geographic 4269.
  static PolylinePtr Line(double x0, double x1, double y) {
    auto line = CreateAs<Polyline>(kPolylineProgId);
    line->AddPoint(MakePoint(x0, y));
    line->AddPoint(MakePoint(x1, y));
    line->SetSpatialReference(Geographic(4269));
    return line;
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
  // The summary page's Next, then the name page.
  static std::string Turns(const std::string& name) {
    return ClickTurn("SummarySelShapesDialog", "NextButton") + ", " + NameTurn(name);
  }
  // A graphic square of that size in geographic 4269.
  static PolygonPtr Graphic(double x, double size) { return Square(x, 40.7, size, Geographic(4269)); }

  static constexpr double kSquareSize = 0.1;
  static constexpr double kSquareArea = kSquareSize * kSquareSize;

  FeatureLayerPtr squares, sites, roads;
};

// The method run as the host runs it, with the recording progress runner.
class SelectedShapesRunTest : public SelShapesTest {
protected:
  HostTaskRunResult Run(const std::string& turns) { return RunScripted(turns, kCurSelShapesTaskProgId); }
  // Runs the method to a study area of that name, stored and current with
  // nothing reported; its area (-1 when none was stored).
  double StoredArea(const std::string& name) {
    ReportRecorder reports;
    EXPECT_TRUE(Run(Turns(name)).Stored());
    EXPECT_TRUE(reports.Reports().empty()) << reports.Reports().front().location << ": "
                                           << reports.Reports().front().description;
    EXPECT_EQ(CurrentStudyArea(), name);
    return CurrentStudyArea() == name && CurrentShape() ? CurrentShape()->Area() : -1.0;
  }

  StepLog steps;
  ClassOverride runner{kProgressRunnerProgId, [this] {
                         return std::static_pointer_cast<Object>(std::make_shared<RecordingProgressRunner>(&steps));
                       }};
};

} // namespace tov::test
