// The selected shapes method run as the host runs it: the summary page, the
// name page, then the union of the selected polygon shapes built a few shapes
// per step and stored in the last one.
#include "AnalysisViews.h"
#include "WorldTest.h"
#include "HostWrappers.h"

#include "framework/TovSSAMethodFunction.h"
#include "host/common/Paths.h"
#include "Recorders.h"

#include "host/session/HostTaskRun.h"

namespace tov::test {
namespace {

// What a recording progress runner saw of one run.
struct StepLog {
  bool started = false;
  // After each DoStep: its result and the area of the function's polygon
  // (0 without one).
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
    for (long step = 0; step < 1000; ++step) {
      const bool more = function->DoStep();
      auto polygon = method ? As<Polygon>(method->Geometry()) : PolygonPtr();
      m_log->results.push_back(more);
      m_log->areas.push_back(polygon ? polygon->Area() : 0.0);
      if (!more) return;
    }
    ADD_FAILURE() << "The function was still stepping after 1000 steps";
  }

private:
  StepLog* m_log;
};

// A polygon that passes every call to a real one but can refuse to be
// projected or united, as odd shapes sometimes are. Its copies refuse too.
class FailingPolygon : public Polygon {
public:
  enum class Fails { Project, Union };
  FailingPolygon(PolygonPtr inner, Fails fails) : m_inner(std::move(inner)), m_fails(fails) {}

  long GeometryType() const override { return m_inner->GeometryType(); }
  bool IsEmpty() const override { return m_inner->IsEmpty(); }
  void SetEmpty() override { m_inner->SetEmpty(); }
  EnvelopePtr Envelope() const override { return m_inner->Envelope(); }
  SpatialReferencePtr SpatialReference() const override { return m_inner->SpatialReference(); }
  void SetSpatialReference(const SpatialReferencePtr& sr) override { m_inner->SetSpatialReference(sr); }
  void Project(const SpatialReferencePtr& sr) override {
    if (m_fails == Fails::Project) throw HostError(5, "orvaCore.Polygon", "The shape cannot be projected");
    m_inner->Project(sr);
  }
  GeometryPtr Copy() const override { return std::make_shared<FailingPolygon>(As<Polygon>(m_inner->Copy()), m_fails); }
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
  GeometryPtr Union(const GeometryPtr& other) const override {
    if (m_fails == Fails::Union) throw HostError(5, "orvaCore.Polygon", "The shapes cannot be united");
    return m_inner->Union(other);
  }
  void ConstructUnion(const GeometryEnumeratorPtr& geometries) override { m_inner->ConstructUnion(geometries); }

private:
  PolygonPtr m_inner;
  Fails m_fails;
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


constexpr double kTolerance = 1e-9;

class SelectedShapesMethodTest : public SelShapesTest {
protected:
  HostTaskRunResult Run(const std::string& turns) { return RunScripted(turns, kCurSelShapesTaskProgId); }

  StepLog steps;
  ClassOverride runner{kProgressRunnerProgId, [this] {
                         return std::static_pointer_cast<Object>(std::make_shared<RecordingProgressRunner>(&steps));
                       }};
};

TEST_F(SelectedShapesMethodTest, FeaturesAreReadTenAStepThenTheGraphicsOneAStepThenStored) {
  SelectFirst(squares, 25);
  AddSelectedGraphic(Square(-73.5, 40.7, 0.2, Geographic(4269)));

  HostTaskRunResult result = Run(Turns("Twenty five"));
  ASSERT_TRUE(result.Stored());
  EXPECT_EQ(result.currentStudyArea, "Twenty five");

  // 10, 10 and 5 features; opening the graphics; the graphic; the end of the
  // graphics; the store, which releases the union.
  const std::vector<bool> more = {true, true, true, true, true, true, false};
  EXPECT_EQ(steps.results, more);
  const std::vector<double> areas = {10 * kSquareArea, 20 * kSquareArea, 25 * kSquareArea, 25 * kSquareArea,
                                     25 * kSquareArea + 0.04, 25 * kSquareArea + 0.04, 0.0};
  ASSERT_EQ(steps.areas.size(), areas.size());
  for (size_t i = 0; i < areas.size(); ++i) EXPECT_NEAR(steps.areas[i], areas[i], kTolerance) << "after step " << i;

  auto stored = As<Polygon>(StoredShape("Twenty five"));
  ASSERT_TRUE(stored);
  EXPECT_NEAR(stored->Area(), 25 * kSquareArea + 0.04, kTolerance);
}

TEST_F(SelectedShapesMethodTest, PointLineAndTextShapesArePassedOverAndGraphicsKeepTheirShape) {
  SpatialReferencePtr sr = Geographic(4269);
  SelectFirst(squares, 2);
  SelectFirst(sites, 3);
  SelectFirst(roads, 1);
  PointPtr anchor = MakePoint(-73.9, 40.9);
  anchor->SetSpatialReference(sr);
  AddSelectedGraphic(anchor, CreateAs<TextSymbol>(kTextSymbolProgId));
  auto line = CreateAs<Polyline>(kPolylineProgId);
  line->AddPoint(MakePoint(-74.0, 40.6));
  line->AddPoint(MakePoint(-73.2, 40.6));
  line->SetSpatialReference(sr);
  AddSelectedGraphic(line);
  // Midpoints on the sides: generalising drops them, which must not happen
  // to the graphic on the map.
  PolygonPtr square = MakePolygon(
      {{-73.5, 40.7}, {-73.5, 40.8}, {-73.5, 40.9}, {-73.4, 40.9}, {-73.3, 40.9}, {-73.3, 40.8}, {-73.3, 40.7}, {-73.4, 40.7}},
      sr);
  square->Simplify();
  GraphicElementPtr polygonGraphic = AddSelectedGraphic(square);
  const long verticesBefore = As<Polygon>(polygonGraphic->Geometry())->PointCount();

  ReportRecorder reports;
  HostTaskRunResult result = Run(Turns("Mixed"));
  ASSERT_TRUE(result.Stored());
  auto stored = As<Polygon>(StoredShape("Mixed"));
  ASSERT_TRUE(stored);
  EXPECT_NEAR(stored->Area(), 2 * kSquareArea + 0.04, kTolerance);
  EXPECT_TRUE(reports.Reports().empty()) << reports.Reports().front().location;
  // Six features in one step, opening the graphics, three graphics and
  // their end, the store.
  EXPECT_EQ(steps.results.size(), 7u);
  EXPECT_EQ(As<Polygon>(polygonGraphic->Geometry())->PointCount(), verticesBefore);
}

TEST_F(SelectedShapesMethodTest, AShapeThatCannotBeProjectedOrUnitedIsLeftOut) {
  SpatialReferencePtr sr = Geographic(4269);
  SelectFirst(squares, 1);
  AddSelectedGraphic(std::make_shared<FailingPolygon>(Square(-73.9, 40.7, 0.2, sr), FailingPolygon::Fails::Project));
  AddSelectedGraphic(std::make_shared<FailingPolygon>(Square(-73.6, 40.7, 0.2, sr), FailingPolygon::Fails::Union));
  AddSelectedGraphic(Square(-73.3, 40.7, 0.3, sr));

  ReportRecorder reports;
  HostTaskRunResult result = Run(Turns("Survivors"));
  ASSERT_TRUE(result.Stored());
  auto stored = As<Polygon>(StoredShape("Survivors"));
  ASSERT_TRUE(stored);
  EXPECT_NEAR(stored->Area(), kSquareArea + 0.09, kTolerance);
  EXPECT_TRUE(reports.Reports().empty()) << reports.Reports().front().location;
}

TEST_F(SelectedShapesMethodTest, NothingSelectedReachesTheStoreWithoutAShapeAndStoresNothing) {
  ReportRecorder reports;
  HostTaskRunResult result = Run(Turns("Empty"));
  EXPECT_FALSE(result.Stored());
  EXPECT_EQ(result.pageResult, 0);
  // The features step finds none, there is no graphic selection, the store fails.
  const std::vector<bool> more = {true, true, false};
  EXPECT_EQ(steps.results, more);
  // The store's first step fails on the missing shape: reported, and not the
  // empty-area message, which is for a shape that is there but empty.
  EXPECT_TRUE(presenter->Messages().empty());
  EXPECT_EQ(reports.Locations(), std::vector<std::string>{"CreateStudyArea TovSSA\\TovSSAUtils"});
  EXPECT_TRUE(reports.Reports().empty() || Has(reports.Reports()[0].description, "nStep = 0"));
}

// A scripted presenter that keeps what the summary page showed when each
// showing ended.
class SummaryRecorder : public ScriptedPresenter {
public:
  void ShowModal(Form& form) override {
    ScriptedPresenter::ShowModal(form);
    if (form.Name() != "SummarySelShapesDialog") return;
    ControlPtr box = form.Ctl("SummarySelShapes");
    texts.push_back(box->Text());
    captions.push_back(form.Caption());
    boxPlaces.push_back({box->Left(), box->Top(), box->Width()});
  }
  std::vector<std::string> texts, captions;
  std::vector<std::vector<float>> boxPlaces;
};

class SummaryPageTest : public SelShapesTest {
protected:
  HostTaskRunResult Run(const std::string& script) {
    summaries = std::make_shared<SummaryRecorder>();
    summaries->LoadScript(script);
    SetPresenter(summaries);
    HostTaskRunResult result = RunHostTask(*analysis, kCurSelShapesTaskProgId);
    summaries->CheckFinished();
    for (const std::string& error : summaries->Errors()) ADD_FAILURE() << error;
    return result;
  }
  std::vector<std::string> FormsShown() const {
    std::vector<std::string> names;
    for (const auto& shown : summaries->ShownForms()) names.push_back(shown.Form);
    return names;
  }

  std::shared_ptr<SummaryRecorder> summaries;
};

TEST_F(SummaryPageTest, BackOnTheNamePageShowsTheSummaryAgainWhichCannotBeEdited) {
  SelectFirst(squares, 3);
  AddSelectedGraphic(Square(-73.5, 40.7, 0.2, Geographic(4269)));
  const std::string summary =
      "The new study area will be created from:\r\n\r\n3 selected polygons from Squares\r\n1 selected graphic polygon";

  HostTaskRunResult result = Run(R"([
    {"form": "SummarySelShapesDialog", "actions": [{"type": "SummarySelShapes", "text": "x"}, {"click": "NextButton"}]},
    {"form": "SelectSANameDialog", "actions": [{"set": "StudyAreaNameText", "text": "Three"}, {"click": "BackButton"}]},
    {"form": "SummarySelShapesDialog", "actions": [{"click": "NextButton"}]},
    {"form": "SelectSANameDialog", "actions": [{"click": "NextButton"}]}])");

  const std::vector<std::string> forms = {"SummarySelShapesDialog", "SelectSANameDialog", "SummarySelShapesDialog",
                                          "SelectSANameDialog"};
  EXPECT_EQ(FormsShown(), forms);
  EXPECT_EQ(result.pageResult, 0);
  EXPECT_TRUE(result.Stored());
  EXPECT_EQ(result.currentStudyArea, "Three");
  ASSERT_EQ(summaries->texts.size(), 2u);
  EXPECT_EQ(summaries->texts[0], summary);
  EXPECT_EQ(summaries->texts[1], summary);

  // Its texts and layout come from the resource components.
  ResourceFinderPtr texts = CreateAs<ResourceFinder>(kTextResourcesProgId);
  EXPECT_EQ(summaries->captions[0], texts->FindString("222"));
  ResourceFinderPtr layout = CreateAs<ResourceFinder>(kGuiResourcesProgId);
  const std::vector<float> place = {std::stof(layout->FindString("1223")), std::stof(layout->FindString("1224")),
                                    std::stof(layout->FindString("1225"))};
  EXPECT_EQ(summaries->boxPlaces[0], place);
}

TEST_F(SummaryPageTest, BackOnTheSummaryReturnsToTheChooser) {
  SelectFirst(squares, 1);
  HostTaskRunResult result = Run(R"([{"form": "SummarySelShapesDialog", "actions": [{"click": "BackButton"}]}])");
  EXPECT_EQ(result.pageResult, 2);
  EXPECT_EQ(FormsShown(), std::vector<std::string>{"SummarySelShapesDialog"});
  EXPECT_FALSE(result.initFunction);
  EXPECT_FALSE(result.Stored());
}

} // namespace
} // namespace tov::test
