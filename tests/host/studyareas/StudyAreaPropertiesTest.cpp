// A study area's properties, its property sheet and the rebuild it offers.
//
// A study area exported as one polygon named after it that other tools read,
// each format in the coordinate system its readers expect: GeoJSON as RFC
// 7946 unless another system is asked for, KML only in WGS 84, the others
// in the study area's own system.
#include "Recorders.h"
#include "RingWorld.h"
#include "WorldTest.h"

#include "host/gis/HostSpatialReference.h"
#include "host/gis/OgrGeometrySource.h"
#include "host/studyareas/RegisterHostStudyAreaClasses.h"
#include "host/studyareas/StudyAreaExport.h"
#include "host/studyareas/StudyAreaProperties.h"
#include "host/studyareas/StudyAreaPropertySheetTask.h"
#include "host/studyareas/StudyAreaRebuilder.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

namespace tov::test {
namespace {

class StudyAreaPropertiesTest : public WorldTest {
protected:
  void SetUp() override {
    RegisterHostStudyAreaClasses();
    OpenAnalysis();
  }
  // A study area made from the extent -74.5..-73.5 x 40.5..41.0 (NAD83) of a
  // map in degrees; it is stored in the analysis's projected system.
  void MakeStudyArea(const std::string& name) {
    FocusMap()->SetSpatialReference(Geographic(4269));
    auto extent = CreateAs<Envelope>("orvaCore.Envelope");
    extent->PutCoords(-74.5, 40.5, -73.5, 41.0);
    extent->SetSpatialReference(FocusMap()->SpatialReference());
    As<ActiveView>(FocusMap())->SetExtent(extent);
    ASSERT_TRUE(RunScripted(NameTurn(name), kCurExtentTaskProgId).Stored());
  }
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
  MakeStudyArea("Harbour");
  StudyAreaProperties p = DescribeStudyArea(*analysis, "Harbour");
  EXPECT_EQ(std::vector<std::string>({p.name, p.method, p.methodCaption, p.mainLayer, p.problem}),
            std::vector<std::string>({"Harbour", "SetupStudyArea.CurrentExtent", "The current extent", "Regions", ""}));
  EXPECT_TRUE(p.current);
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

// A rebuilder whose page the user accepts or not; its function is a spy.
class RecordingRebuilder : public StudyAreaRebuilder {
public:
  explicit RecordingRebuilder(std::function<bool()> edit) : m_edit(std::move(edit)) {}
  std::string Caption() const override { return "Rebuild from the test"; }
  std::string FunctionProgId() const override { return "Test.RecordingFunction"; }
  bool Edit(const StudyAreaRecordPtr&, const DataManagerPtr&, const HostApplicationPtr&) override { return m_edit(); }
  void PassParameters(ITovFunction& function) override {
    Variant v("extra");
    function.SetParam("Extra", v);
  }

private:
  std::function<bool()> m_edit;
};

TEST_F(StudyAreaPropertiesTest, PropertySheetShowsTheStudyAreaAndRebuildsOnlyWhenTheMethodCan) {
  const std::string kSheet = "StudyAreaPropertiesDialog";
  MakeStudyArea("Harbour");
  StudyAreaRecordPtr record = analysis->dataManager->GetStudyAreaCatalog()->Item("Harbour");
  // Runs the sheet with the buttons pressed, one per showing: the page's
  // result and whether a function started.
  auto drive = [&](std::initializer_list<const char*> buttons) {
    std::string turns;
    for (const char* button : buttons) turns += (turns.empty() ? "" : ",") + ClickTurn(kSheet, button);
    UseScript("[" + turns + "]");
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
    return std::make_pair(result, started);
  };
  // Without a rebuilder: properties, OK or Cancel, nothing runs.
  EXPECT_EQ(drive({"OKButton"}), std::make_pair(0, false));
  EXPECT_EQ(drive({"CancelButton"}), std::make_pair(-1, false));

  SpyFunctionScope spy("Test.RecordingFunction");
  int edits = 0;
  bool accept = false;
  RegisterStudyAreaRebuilder(kCurrentExtentMethod, [&] {
    return std::make_unique<RecordingRebuilder>([&] { ++edits; return accept; });
  });
  // A rebuild the user cancels shows the sheet again; one accepted runs the
  // method's function from the property page.
  EXPECT_EQ(drive({"RebuildButton", "CancelButton"}).first, -1);
  EXPECT_EQ(edits, 1);
  EXPECT_TRUE(spy.log.keys.empty());
  accept = true;
  EXPECT_EQ(drive({"RebuildButton"}), std::make_pair(0, true));
  EXPECT_EQ(spy.log.keys, (std::vector<std::string>{"Application", "DataManager", "StudyAreaName", "DataSet",
                                                    "SSATask", "FromPropertyPage", "Extra"}));
  EXPECT_TRUE(spy.log.values["FromPropertyPage"].ToBool());
  RegisterStudyAreaRebuilder(kCurrentExtentMethod, nullptr);
}


// The whole layer method stored again through the property sheet's store:
// the same layer file with the one feature, the union of both regions.
TEST_F(StudyAreaPropertiesTest, WholeLayerRebuildStoresTheLayerAgainInPlace) {
  UseWorld([] {
    TestWorldOptions options;
    options.extraMethods = MethodJson(kUseWholeMethod, "All regions", R"({ "MainLayer": "regions" })");
    return options;
  }());
  ASSERT_TRUE(RunScripted(NameTurn("All"), kUseWholeTaskProgId, kUseWholeMethod).Stored());
  const auto written = LayerFileTime("All");
  presenter = UseScript("[" + RebuildTurn() + "]");
  ASSERT_TRUE(RunPropertySheet("All"));
  EXPECT_EQ(LayerFileTime("All"), written);
  EXPECT_EQ(Catalog()->Count(), 1);
  StudyAreaProperties after = DescribeStudyArea(*analysis, "All");
  ASSERT_TRUE(after.hasShape);
  EXPECT_NEAR(after.lonMin, -75.0, 1e-6);
  EXPECT_NEAR(after.lonMax, -73.0, 1e-6);
}

// 3 miles in metres.
constexpr double kRadius = 3 * 1609.344;

// What OGR reads back from an exported file.
struct ReadBack {
  OGREnvelope extent;
  std::string system; // the layer's authority code, "" when it names none
  std::string name;
  double squareKilometres = 0;
};

void Read(const std::string& path, ReadBack& back) {
  GDALDatasetUniquePtr in(GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR));
  ASSERT_TRUE(in) << path << " cannot be read";
  OGRLayer* layer = in->GetLayer(0);
  EXPECT_EQ(layer->GetFeatureCount(), 1) << path;
  OGRFeatureUniquePtr feature(layer->GetNextFeature());
  OGRGeometry* shape = feature ? feature->GetGeometryRef() : nullptr;
  ASSERT_TRUE(shape) << path << " holds no shape";
  EXPECT_TRUE(wkbFlatten(shape->getGeometryType()) == wkbPolygon ||
              wkbFlatten(shape->getGeometryType()) == wkbMultiPolygon)
      << path;
  shape->getEnvelope(&back.extent);
  back.name = feature->GetFieldAsString("NAME");
  OGRSpatialReference* sr = layer->GetSpatialRef();
  const char* code = sr ? sr->GetAuthorityCode(nullptr) : nullptr;
  back.system = code ? code : "";
  shape->assignSpatialReference(sr);
  back.squareKilometres = GeodesicAreaSquareMetres(GeometryFromOgr(shape, 4, HostSpatialReference::FromOgr(sr))) / 1e6;
}

class StudyAreaExportTest : public WorldTest {
protected:
  StudyAreaExportTest() : WorldTest(RingWorldOptions()) {}
  void SetUp() override {
    ASSERT_EQ(Tovana("setup ring --lat 40.7128 --lon -74.0060 --radius 3 --name Ring"), 0) << errors;
    analysis = world->Open();
  }
  // Exports the ring into that file of the world's folder; its path.
  std::string Export(const std::string& file, long system = 0) {
    const std::string path = world->Root() + "/" + file;
    ExportStudyArea(*analysis, "Ring", path, system);
    return path;
  }
};

TEST_F(StudyAreaExportTest, EachFormatHoldsOneNamedPolygonInTheSystemItsReadersExpectOrTheOneAsked) {
  const double area = DescribeStudyArea(*analysis, "Ring").areaSquareKilometres;
  for (const char* file : {"ring.geojson", "ring.kml", "ring.gpkg", "ring.shp", "ring.fgb"}) {
    ReadBack back;
    Read(Export(file), back);
    EXPECT_EQ(back.name, "Ring") << file;
    EXPECT_NEAR(back.squareKilometres, area, area * 1e-4) << file;
    if (Has(file, ".geojson") || Has(file, ".kml")) {
      // Degrees around the site; six miles north to south is about 0.087 degrees.
      EXPECT_NEAR((back.extent.MinX + back.extent.MaxX) / 2, -74.006, 0.005) << file;
      EXPECT_NEAR((back.extent.MinY + back.extent.MaxY) / 2, 40.7128, 0.005) << file;
      EXPECT_NEAR(back.extent.MaxY - back.extent.MinY, 2 * kRadius / 111035, 0.002) << file;
    } else {
      EXPECT_EQ(back.system, "5070") << file;
      EXPECT_NEAR(back.extent.MaxX - back.extent.MinX, 2 * kRadius, 2 * kRadius * 0.02) << file;
    }
  }
  EXPECT_FALSE(nlohmann::json::parse(ReadTextFile(world->Root() + "/ring.geojson")).contains("crs"));

  // Another system on request, but KML only in WGS 84, and nothing overwritten.
  const std::string albers = Export("albers.geojson", 5070);
  const auto json = nlohmann::json::parse(ReadTextFile(albers));
  ASSERT_TRUE(json.contains("crs"));
  EXPECT_TRUE(Has(json["crs"].dump(), "5070")) << json["crs"].dump();
  ReadBack metres;
  Read(albers, metres);
  EXPECT_EQ(metres.system, "5070");
  EXPECT_NEAR(metres.extent.MaxX - metres.extent.MinX, 2 * kRadius, 2 * kRadius * 0.02);
  EXPECT_NEAR(metres.extent.MaxY - metres.extent.MinY, 2 * kRadius, 2 * kRadius * 0.02);

  const std::string refused = world->Root() + "/albers.kml";
  EXPECT_EQ(Tovana("export Ring --srs EPSG:5070 --out '" + refused + "'"), 2);
  EXPECT_TRUE(Has(errors, "WGS 84")) << errors;
  EXPECT_FALSE(fs::exists(refused));
  // An existing file, an unknown format, an unknown study area.
  EXPECT_THROW(Export("albers.geojson"), HostError);
  EXPECT_THROW(Export("ring.txt"), HostError);
  EXPECT_THROW(ExportStudyArea(*analysis, "Nowhere", world->Root() + "/n.geojson", 0), HostError);
  EXPECT_FALSE(fs::exists(world->Root() + "/n.geojson"));
}

} // namespace
} // namespace tov::test
