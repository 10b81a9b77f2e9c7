// The wizard maps' layers, made from a task layer's settings and colour texts.
#include "WorldTest.h"
#include "Recorders.h"

#include "host/common/Paths.h"
#include "store/StrUtils.h"
#include "store/TaskLayerSymbology.h"

namespace tov::test {
namespace {

// A method whose task layers show regions, a line and a point class, as set.
TestWorldOptions SymbologyOptions(const std::string& regions, const std::string& roads, const std::string& sites) {
  TestWorldOptions options;
  options.extraLayers = R"({ "name": "Roads", "sourceName": "roads", "mapLayerName": "Main roads" },
      { "name": "Sites", "sourceName": "sites", "mapLayerName": "Sites" },
      { "name": "Gone", "sourceName": "no_such_class", "mapLayerName": "Gone" })";
  options.extraMethods = MethodJson(kMapListMethod, "Picked", "{}", R"([
      { "name": "Regions", "properties": )" + regions + R"( }, { "name": "Roads", "properties": )" + roads + R"( },
      { "name": "Sites", "properties": )" + sites + R"( }, { "name": "Gone", "properties": {} },
      { "name": "Unlisted", "properties": {} } ])");
  return options;
}

class TaskLayerSymbologyTest : public WorldTest {
protected:
  void Open(const TestWorldOptions& options) {
    world = std::make_unique<TestWorld>(options);
    auto factory = CreateAs<WorkspaceFactory>(kAccessWorkspaceFactoryProgId);
    WorkspacePtr workspace = factory->OpenFromFile(ToPlatformPath(world->DatasetFolder() + "/test.gpkg"));
    for (auto [name, type] : {std::pair<const char*, long>{"roads", geometryPolyline}, {"sites", geometryPoint}})
      workspace->CreateFeatureClass(name, ShapeFields(type, Geographic(4269), false), kFeatureClassClsid, "",
                                    featureTypeSimple, "Shape", "");
    OpenAnalysis();
  }
  FeatureLayerPtr Layer(const std::string& name) {
    return CreateTaskLayer(name, Method(kMapListMethod), Dataset(), Variant(), analysis->application, Dataset());
  }
  template <class T>
  std::shared_ptr<T> SymbolOf(const FeatureLayerPtr& layer) {
    return std::dynamic_pointer_cast<T>(layer->Renderer()->Symbol());
  }
};

TEST_F(TaskLayerSymbologyTest, EachShapeTypeTakesItsKeysAndAnExactTrueMakesItVisible) {
  Open(SymbologyOptions(R"({ "Visible": "true", "SymbolStyle": "orvaSFSHollow", "OutLineWidth": "1,5",
                    "OutLineRGBColor": "0xFF00", "FillTransparency": "128" })",
               R"({ "Visible": "True", "SymbolStyle": "orvaSLSDot", "SymbolRGBColor": "ff",
                    "SymbolTransparency": "40", "SymbolWidth": "2,25" })",
               R"({ "Visible": "TRUE", "SymbolStyle": "orvaSMSDiamond", "OutLine": "True", "FillRGBColor": "c0" })"));

  FeatureLayerPtr regions = Layer("Regions");
  ASSERT_TRUE(regions);
  // Only "True" exactly shows a layer.
  EXPECT_EQ(std::pair(regions->Name(), regions->Visible()), std::pair(std::string("Regions"), false));
  auto fill = SymbolOf<FillSymbol>(regions);
  ASSERT_TRUE(fill);
  EXPECT_EQ(std::make_tuple(fill->Style(), fill->Outline()->Width(), fill->Outline()->Color()->RGB(),
                            fill->Color()->Transparency()),
            std::make_tuple(1, 1.5, 65280, 128)); // style, outline width and colour, transparency

  FeatureLayerPtr roads = Layer("Roads");
  ASSERT_TRUE(roads);
  EXPECT_EQ(std::pair(roads->Name(), roads->Visible()), std::pair(std::string("Main roads"), true));
  auto line = SymbolOf<LineSymbol>(roads);
  ASSERT_TRUE(line);
  EXPECT_EQ(std::make_tuple(line->Style(), line->Color()->RGB(), line->Color()->Transparency(), line->Width()),
            std::make_tuple(2, 255, 40, 2.25));

  FeatureLayerPtr sites = Layer("Sites");
  ASSERT_TRUE(sites);
  EXPECT_FALSE(sites->Visible());
  auto marker = SymbolOf<MarkerSymbol>(sites);
  ASSERT_TRUE(marker);
  // "True" switches the marker outline off.
  EXPECT_EQ(std::make_tuple(marker->Style(), marker->Outline(), marker->Color()->RGB()), std::make_tuple(4, false, 0xC0));
}

TEST_F(TaskLayerSymbologyTest, UnknownNamesLeaveDefaultsAndMissingDataGivesNoLayer) {
  Open(SymbologyOptions(R"({ "SymbolStyle": "orvasfshollow" })", R"({ "SymbolStyle": "orvaSLSSolid" })",
               R"({ "OutLine": "no" })"));
  const long defaultFill = SymbolOf<FillSymbol>(CreateAs<FeatureLayer>("orvaCore.FeatureLayer"))->Style();
  EXPECT_EQ(SymbolOf<FillSymbol>(Layer("Regions"))->Style(), defaultFill) << "names are compared exactly";
  EXPECT_EQ(SymbolOf<LineSymbol>(Layer("Roads"))->Style(), 0);
  EXPECT_TRUE(SymbolOf<MarkerSymbol>(Layer("Sites"))->Outline());
  // A data-set layer that does not open, one the data set does not list.
  for (const char* name : {"Gone", "Unlisted", "Nowhere"}) EXPECT_FALSE(Layer(name)) << name;
}

TEST_F(TaskLayerSymbologyTest, ABadNumberEndsQuietlyWithTheLayerMadeSoFar) {
  Open(SymbologyOptions(R"({ "Visible": "True", "OutLineTransparency": "300" })", "{}", "{}"));
  ReportRecorder recorder;
  FeatureLayerPtr regions = Layer("Regions");
  ASSERT_TRUE(regions);
  EXPECT_TRUE(regions->Visible());
  EXPECT_TRUE(recorder.Reports().empty());
}

TEST(HexToLngTest, DigitsReadFromTheRightUntilANonDigitAndAnEighthDigitIsReported) {
  ReportRecorder recorder;
  for (const auto& [text, value] :
       {std::pair{"ff", 255}, {"0xFF00", 65280}, {"12G4", 4}, {"", 0}, {"0x", 0}, {"FFFFFF", 0xFFFFFF}})
    EXPECT_EQ(HexToLng(text), value) << text;
  EXPECT_TRUE(recorder.Reports().empty());

  // Seven digits fit; the eighth overflows the weight (or, from 8 up, the
  // value), which is reported with the value read so far.
  EXPECT_EQ(HexToLng("7FFFFFFF"), 0x7FFFFFFF);
  EXPECT_EQ(HexToLng("80000000"), 0);
  ASSERT_EQ(recorder.Reports().size(), 2u);
  for (const Report& report : recorder.Reports()) {
    EXPECT_EQ(report.location, "HexToLng TovSSA\\TovSSAUtils");
    EXPECT_EQ(report.number, 6);
  }
}

} // namespace
} // namespace tov::test
