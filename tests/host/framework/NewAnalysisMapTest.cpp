// The focus map of a new analysis as the data set describes it: its
// coordinate system, its first view, and the scale ranges and labels of its
// reference layers, kept when the analysis is saved and opened again.
#include "MiniAnalysisTest.h"

#include "host/gis/HostFeatureLayer.h"

namespace tov::test {
namespace {

class NewAnalysisMapTest : public MiniAnalysisTest {
protected:
  // A description of the regions layer with the given members added to the
  // data set, to the layer and as the projection node's properties (none
  // when empty).
  void Describe(const std::string& datasetMembers, const std::string& layerMembers, const std::string& projection) {
    const std::string config =
        projection.empty() ? "[]"
                           : R"([{"name": "Projections", "children": [{"name": "Projection.ResultantDefault",
                                  "properties": )" + projection + "}]}]";
    std::ofstream(dataRoot + "/dataset.json")
        << R"({"name": "Mini", "geopackage": "mini.gpkg", )" << datasetMembers
        << R"( "layers": [{"name": "Regions", "sourceName": "regions", "reference": true)" << layerMembers
        << R"(}], "configuration": {"children": )" << config << R"(},
        "referenceSymbols": {"Regions": {"LabelSize": "9"}}})";
  }

  static std::vector<double> Corners(const EnvelopePtr& e) { return {e->XMin(), e->YMin(), e->XMax(), e->YMax()}; }
  static MapPtr FocusMap(const AnalysisPtr& analysis) { return analysis->application->Document()->FocusMap(); }
  // The map's view in longitude and latitude (NAD83).
  static EnvelopePtr ViewInDegrees(const AnalysisPtr& analysis) {
    EnvelopePtr view = analysis->application->Document()->ActiveView()->Extent();
    view->Project(Geographic(4269));
    return view;
  }
};

TEST_F(NewAnalysisMapTest, TheMapTakesTheAnalysisSystemElseTheFirstLayers) {
  const std::pair<const char*, long> cases[] = {
      {R"({"Type": "Projected", "ID": "5070"})", 5070},
      {R"({"Type": "Geographic", "ID": "4326"})", 4326},
      {"", 4269},                                        // no node: the layer's system
      {R"({"Type": "projected", "ID": "5070"})", 4269},  // the type is exact
      {R"({"Type": "Geographic", "ID": "5070"})", 4269}, // a code of the other kind
      {R"({"Type": "Projected", "ID": "999999"})", 4269},
  };
  int n = 0;
  for (const auto& [projection, code] : cases) {
    SCOPED_TRACE(projection);
    Describe("", "", projection);
    AnalysisPtr analysis = Open("analysis" + std::to_string(++n));
    ASSERT_TRUE(FocusMap(analysis)->SpatialReference());
    EXPECT_EQ(FocusMap(analysis)->SpatialReference()->FactoryCode(), code);
  }
}

TEST_F(NewAnalysisMapTest, TheFirstViewIsTheInitialExtentElseTheWholeData) {
  const char* albers = R"({"Type": "Projected", "ID": "5070"})";
  Describe(R"("initialExtent": [-110, 30, -90, 45],)", "", albers);
  // The rectangle of the map's system that holds the degrees asked for
  // (its corners reach a little further, more so seen back in degrees).
  const std::vector<double> with = Corners(ViewInDegrees(Open("with")));
  const double low[] = {-115, 29, -90, 45}, high[] = {-110, 30, -85, 47};
  for (size_t i = 0; i < 4; ++i) EXPECT_TRUE(low[i] <= with[i] && with[i] <= high[i]) << i << ": " << with[i];

  Describe("", "", albers);
  const std::vector<double> without = Corners(ViewInDegrees(Open("without")));
  const double data[] = {-100, 40, -98, 41};
  for (size_t i = 0; i < 4; ++i) EXPECT_NEAR(without[i], data[i], 0.1) << i;
}

TEST_F(NewAnalysisMapTest, AnOpenedAnalysisKeepsTheSystemItsDocumentHolds) {
  Describe("", "", R"({"Type": "Projected", "ID": "5070"})");
  ASSERT_EQ(FocusMap(Open("analysis"))->SpatialReference()->FactoryCode(), 5070);
  Describe("", "", R"({"Type": "Geographic", "ID": "4326"})");
  AnalysisPtr again = Open("analysis");
  EXPECT_FALSE(again->created);
  EXPECT_EQ(FocusMap(again)->SpatialReference()->FactoryCode(), 5070);
}

TEST_F(NewAnalysisMapTest, ScaleRangesAndLabelsOfReferenceLayersSurviveSavingAndOpening) {
  Describe("", R"(, "minimumScale": 1500000, "maximumScale": 1000, "labelField": "NAME",
                   "labelMinimumScale": 250000)",
           "");
  for (bool reopened : {false, true}) {
    SCOPED_TRACE(reopened ? "reopened" : "new");
    AnalysisPtr analysis = Open("analysis");
    EXPECT_EQ(analysis->created, !reopened);
    if (!reopened) SaveAnalysis(*analysis);
    auto layer = std::dynamic_pointer_cast<HostFeatureLayer>(FocusMap(analysis)->Layer(0));
    ASSERT_TRUE(layer);
    EXPECT_EQ(layer->MinimumScale(), 1500000);
    EXPECT_EQ(layer->MaximumScale(), 1000);
    EXPECT_TRUE(layer->DisplayAnnotation());
    ASSERT_EQ(layer->AnnotationProperties()->Count(), 1);
    LabelClassPtr labels = layer->AnnotationProperties()->Item(0);
    EXPECT_EQ(labels->Expression(), "[NAME]");
    EXPECT_EQ(labels->MinimumScale(), 250000);
    EXPECT_EQ(labels->MaximumScale(), 0);
    EXPECT_EQ(labels->TextSymbol()->Size(), 9);
  }
}

} // namespace
} // namespace tov::test
