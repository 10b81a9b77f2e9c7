#include "TestWorld.h"

#include "host/gis/HostSpatialReference.h"
#include "host/gis/OgrGeometrySource.h"
#include "host/session/HostTaskRun.h"
#include "host/studyareas/RegisterHostStudyAreaClasses.h"
#include "host/studyareas/StudyAreaExport.h"
#include "host/studyareas/StudyAreaProperties.h"
#include "host/studyareas/StudyAreaPropertySheetTask.h"
#include "platform/framework/StudyAreaCatalog.h"
#include "platform/framework/StudyAreaRecord.h"
#include "platform/gis/ActiveView.h"
#include "platform/gis/Envelope.h"
#include "platform/gis/Map.h"
#include "platform/gis/MapDocument.h"
#include "platform/runtime/ObjectRegistry.h"

#include <gdal_priv.h>
#include <nlohmann/json.hpp>
#include <ogrsf_frmts.h>

#include <cmath>
#include <filesystem>

namespace tov::test {
namespace {

// A study area made from the extent -74.5..-73.5 x 40.5..41.0 (NAD83) of a
// map in degrees; it is stored in the analysis's projected system.
void MakeStudyArea(const Analysis& analysis, const std::string& name) {
  MapPtr map = analysis.application->Document()->FocusMap();
  map->SetSpatialReference(Geographic(4269));
  auto extent = CreateAs<Envelope>("orvaCore.Envelope");
  extent->PutCoords(-74.5, 40.5, -73.5, 41.0);
  extent->SetSpatialReference(map->SpatialReference());
  As<ActiveView>(map)->SetExtent(extent);
  UseScript("[" + NameTurn(name) + "]");
  ASSERT_TRUE(RunHostTask(analysis, "TovSSA.TovSSACurExtentTask").Stored());
}

class StudyAreaPropertiesTest : public ::testing::Test {
protected:
  void SetUp() override { RegisterHostStudyAreaClasses(); }
  TestWorld world;
};

TEST(GeodesicAreaTest, OneDegreeSquareAtTheEquatorInAnySystem) {
  // About 12,309 square kilometres on the ellipsoid (12,364 on the authalic
  // sphere): a unit slip (degrees, radians, km) is far outside 1 %.
  SpatialReferencePtr wgs = Geographic(4326);
  const double square = GeodesicAreaSquareMetres(Rectangle(0, 0, 1, 1, wgs)) / 1e6;
  EXPECT_NEAR(square, 12309, 12309 * 0.01);
  // A copy in another system has the same area.
  GeometryPtr projected = Rectangle(0, 0, 1, 1, wgs);
  projected->Project(Geographic(4269));
  EXPECT_NEAR(GeodesicAreaSquareMetres(projected) / 1e6, square, square * 1e-6);
  EXPECT_EQ(GeodesicAreaSquareMetres(nullptr), 0);
}

TEST_F(StudyAreaPropertiesTest, DescribesMethodFilesExtentAndArea) {
  AnalysisPtr analysis = world.Open();
  MakeStudyArea(*analysis, "Harbour");
  StudyAreaProperties p = DescribeStudyArea(*analysis, "Harbour");
  EXPECT_EQ(p.name, "Harbour");
  EXPECT_TRUE(p.current);
  EXPECT_EQ(p.method, "SetupStudyArea.CurrentExtent");
  EXPECT_EQ(p.methodCaption, "The current extent");
  EXPECT_EQ(p.mainLayer, "Regions");
  EXPECT_TRUE(p.problem.empty()) << p.problem;
  ASSERT_TRUE(p.hasShape);
  EXPECT_EQ(p.layerFile.find('\\'), std::string::npos) << "people read native paths";
  EXPECT_TRUE(std::filesystem::exists(p.layerFile));
  EXPECT_NEAR(p.lonMin, -74.5, 1e-4);
  EXPECT_NEAR(p.latMax, 41.0, 1e-4);
  // 1 x 0.5 degrees at 40.75 N: about 4,680 sq km.
  EXPECT_NEAR(p.areaSquareKilometres, 4680, 4680 * 0.01);
  EXPECT_NEAR(p.areaSquareMiles, p.areaSquareKilometres / 2.589988110336, 1e-6);
  const std::string text = FormatStudyAreaProperties(p);
  EXPECT_NE(text.find("Name: Harbour (current)"), std::string::npos) << text;
  EXPECT_NE(text.find("Method: The current extent (SetupStudyArea.CurrentExtent)"), std::string::npos) << text;
  auto json = nlohmann::json::parse(StudyAreaPropertiesJson(p));
  EXPECT_EQ(json["name"], "Harbour");
  EXPECT_NEAR(json["areaSquareKilometres"].get<double>(), p.areaSquareKilometres, 1e-9);
  EXPECT_TRUE(json["problem"].is_null());

  EXPECT_THROW(DescribeStudyArea(*analysis, "Nowhere"), HostError);
  std::filesystem::remove(p.layerFile);
  StudyAreaProperties broken = DescribeStudyArea(*analysis, "Harbour");
  EXPECT_FALSE(broken.hasShape);
  EXPECT_EQ(broken.problem, "the layer file is missing");
  EXPECT_TRUE(nlohmann::json::parse(StudyAreaPropertiesJson(broken))["areaSquareMiles"].is_null());
}

TEST_F(StudyAreaPropertiesTest, ExportsOnePolygonThatOtherToolsRead) {
  AnalysisPtr analysis = world.Open();
  MakeStudyArea(*analysis, "Harbour");
  const double area = DescribeStudyArea(*analysis, "Harbour").areaSquareKilometres;
  for (const char* file : {"harbour.geojson", "harbour.gpkg", "harbour.shp", "harbour.kml", "harbour.fgb"}) {
    const std::string path = world.Root() + "/" + file;
    ExportStudyArea(*analysis, "Harbour", path, 0);
    GDALDatasetUniquePtr in(GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR));
    ASSERT_TRUE(in) << file;
    OGRLayer* layer = in->GetLayer(0);
    ASSERT_EQ(layer->GetFeatureCount(), 1) << file;
    OGRFeatureUniquePtr feature(layer->GetNextFeature());
    EXPECT_STREQ(feature->GetFieldAsString("NAME"), "Harbour") << file;
    OGRGeometry* shape = feature->GetGeometryRef();
    ASSERT_TRUE(shape) << file;
    EXPECT_EQ(wkbFlatten(shape->getGeometryType()) == wkbPolygon ||
                  wkbFlatten(shape->getGeometryType()) == wkbMultiPolygon,
              true)
        << file;
    shape->assignSpatialReference(layer->GetSpatialRef());
    auto host = GeometryFromOgr(shape, 4, HostSpatialReference::FromOgr(layer->GetSpatialRef()));
    EXPECT_NEAR(GeodesicAreaSquareMetres(host) / 1e6, area, area * 1e-4) << file;
  }
  // Into another system on request; an existing file and an unknown format are refused.
  ExportStudyArea(*analysis, "Harbour", world.Root() + "/albers.geojson", 5070);
  GDALDatasetUniquePtr albers(GDALDataset::Open((world.Root() + "/albers.geojson").c_str(), GDAL_OF_VECTOR));
  ASSERT_TRUE(albers);
  EXPECT_STREQ(albers->GetLayer(0)->GetSpatialRef()->GetAuthorityCode(nullptr), "5070");
  EXPECT_THROW(ExportStudyArea(*analysis, "Harbour", world.Root() + "/harbour.geojson", 0), HostError);
  EXPECT_THROW(ExportStudyArea(*analysis, "Harbour", world.Root() + "/harbour.txt", 0), HostError);
  EXPECT_THROW(ExportStudyArea(*analysis, "Nowhere", world.Root() + "/n.geojson", 0), HostError);
  EXPECT_FALSE(std::filesystem::exists(world.Root() + "/n.geojson"));
}

// A rebuilder whose function records what it was handed.
struct RebuildLog {
  int edits = 0;
  bool accept = true;
  std::vector<std::string> keys;
  bool fromPropertyPage = false;
};

class RecordingFunction : public ITovFunction {
public:
  explicit RecordingFunction(RebuildLog* log) : m_log(log) {}
  bool Start() override { return true; }
  bool DoStep() override { return false; }
  int32_t LastError() override { return 0; }
  int32_t Status() override { return 1; }
  void Cleanup() override {}
  bool Init() override { return true; }
  bool SetResultParam(const std::string&, Variant&) override { return true; }
  bool SetParam(const std::string& key, Variant& value) override {
    m_log->keys.push_back(key);
    if (key == "FromPropertyPage") m_log->fromPropertyPage = value.ToBool();
    return true;
  }

private:
  RebuildLog* m_log;
};

class RecordingRebuilder : public StudyAreaRebuilder {
public:
  explicit RecordingRebuilder(RebuildLog* log) : m_log(log) {}
  std::string Caption() const override { return "Rebuild from the test"; }
  std::string FunctionProgId() const override { return "Test.RecordingFunction"; }
  bool Edit(const StudyAreaRecordPtr&, const DataManagerPtr&, const HostApplicationPtr&) override {
    ++m_log->edits;
    return m_log->accept;
  }
  void PassParameters(ITovFunction& function) override {
    Variant v("extra");
    function.SetParam("Extra", v);
  }

private:
  RebuildLog* m_log;
};

TEST_F(StudyAreaPropertiesTest, PropertySheetShowsTheStudyAreaAndRebuildsOnlyWhenTheMethodCan) {
  AnalysisPtr analysis = world.Open();
  MakeStudyArea(*analysis, "Harbour");
  StudyAreaRecordPtr record = analysis->dataManager->GetStudyAreaCatalog()->Item("Harbour");
  auto drive = [&](const std::string& script) {
    ScriptedPresenterPtr presenter = UseScript(script);
    auto task = CreateAs<ITovTask>("TovSSAPropertySheet.TovSSAPSTask");
    Variant value(record);
    EXPECT_TRUE(task->SetParam("StudyArea", value));
    EXPECT_TRUE(task->Init(analysis->dataManager, analysis->application));
    EXPECT_TRUE(task->InitParamSelector());
    const int32_t result = task->DoParamSelector();
    bool started = false;
    if (result != -1) {
      EXPECT_TRUE(task->InitFunction());
      started = task->StartFunction();
    }
    return std::make_tuple(result, started, presenter);
  };
  // Without a rebuilder: properties, OK or Cancel, nothing runs.
  auto [ok, okStarted, okPresenter] = drive(R"([{"form": "StudyAreaPropertiesDialog", "actions": [{"click": "OKButton"}]}])");
  EXPECT_EQ(ok, 0);
  EXPECT_FALSE(okStarted);
  auto [cancel, cancelStarted, cancelPresenter] =
      drive(R"([{"form": "StudyAreaPropertiesDialog", "actions": [{"click": "CancelButton"}]}])");
  EXPECT_EQ(cancel, -1);
  EXPECT_FALSE(cancelStarted);

  RebuildLog log;
  RegisterClass("Test.RecordingFunction", [&log] { return std::static_pointer_cast<Object>(std::make_shared<RecordingFunction>(&log)); });
  RegisterStudyAreaRebuilder("SetupStudyArea.CurrentExtent", [&log] { return std::make_unique<RecordingRebuilder>(&log); });
  // A rebuild the user cancels shows the sheet again; one accepted runs the
  // method's function from the property page.
  log.accept = false;
  auto [again, againStarted, againPresenter] = drive(
      R"([{"form": "StudyAreaPropertiesDialog", "actions": [{"click": "RebuildButton"}]},
          {"form": "StudyAreaPropertiesDialog", "actions": [{"click": "CancelButton"}]}])");
  EXPECT_EQ(again, -1);
  EXPECT_EQ(log.edits, 1);
  EXPECT_TRUE(log.keys.empty());
  log.accept = true;
  auto [rebuilt, rebuiltStarted, rebuiltPresenter] =
      drive(R"([{"form": "StudyAreaPropertiesDialog", "actions": [{"click": "RebuildButton"}]}])");
  EXPECT_EQ(rebuilt, 0);
  EXPECT_TRUE(rebuiltStarted);
  EXPECT_EQ(log.keys, (std::vector<std::string>{"Application", "DataManager", "StudyAreaName", "DataSet", "SSATask",
                                                "FromPropertyPage", "Extra"}));
  EXPECT_TRUE(log.fromPropertyPage);
  RegisterStudyAreaRebuilder("SetupStudyArea.CurrentExtent", nullptr);
  UnregisterClass("Test.RecordingFunction");
}

} // namespace
} // namespace tov::test

namespace tov::test {
namespace {

TEST(WholeLayerRebuildTest, ThePropertySheetStoresTheLayerAgainInPlace) {
  RegisterHostStudyAreaClasses();
  TestWorldOptions options;
  options.extraMethods = R"({ "name": "SetupStudyArea.UseWhole", "caption": "All regions",
      "properties": { "MainLayer": "regions" }, "layers": [], "children": [] })";
  TestWorld world(options);
  AnalysisPtr analysis = world.Open();
  UseScript("[" + NameTurn("All") + "]");
  ASSERT_TRUE(RunHostTask(*analysis, "TovSSA.TovSSAUseWholeTask", "SetupStudyArea.UseWhole").Stored());
  StudyAreaRecordPtr record = analysis->dataManager->GetStudyAreaCatalog()->Item("All");
  const std::string layerFile = DescribeStudyArea(*analysis, "All").layerFile;
  const auto written = std::filesystem::last_write_time(layerFile);

  UseScript(R"([{"form": "StudyAreaPropertiesDialog", "actions": [{"click": "RebuildButton"}]}])");
  auto task = CreateAs<ITovTask>("TovSSAPropertySheet.TovSSAPSTask");
  Variant value(record);
  task->SetParam("StudyArea", value);
  ASSERT_TRUE(task->Init(analysis->dataManager, analysis->application));
  ASSERT_EQ(task->DoParamSelector(), 0);
  ASSERT_TRUE(task->InitFunction());
  ASSERT_TRUE(task->StartFunction());
  EXPECT_EQ(task->LastError(), 0);
  // Stored again through the property sheet's store: the same layer file,
  // the same one feature, the union of both regions.
  EXPECT_EQ(std::filesystem::last_write_time(layerFile), written);
  StudyAreaProperties after = DescribeStudyArea(*analysis, "All");
  ASSERT_TRUE(after.hasShape);
  EXPECT_NEAR(after.lonMin, -75.0, 1e-6);
  EXPECT_NEAR(after.lonMax, -73.0, 1e-6);
}

} // namespace
} // namespace tov::test
