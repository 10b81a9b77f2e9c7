// Layer files, the map document (extent and drawn graphics) and coordinate
// systems write and read their numbers with "." under a comma-decimal locale.
#include "GisTestSupport.h"

#include "CommaLocale.h"
#include "host/gis/GisApplication.h"

namespace tov::test {
namespace {

class CommaLocaleTest : public GisTest {
protected:
  void SetUp() override {
    if (!german.Active()) GTEST_SKIP() << german.SkipMessage();
  }
  tov::testing::CommaLocale german;
};

TEST_F(CommaLocaleTest, LayerFilesAndDocumentsKeepDecimalPoints) {
  auto layer = CreateAs<FeatureLayer>("orvaCore.FeatureLayer");
  layer->SetName("Thin");
  SetOutlineWidth(layer, 0.4);
  SaveLayerFile(layer, Platform("Thin.lyr"));
  const std::string text = ReadText(Native("Thin.lyr"));
  EXPECT_TRUE(Has(text, "0.4") && !Has(text, "0,4")) << text;
  EXPECT_DOUBLE_EQ(OutlineWidthOf(OpenLayerFile(Platform("Thin.lyr"))), 0.4);

  GisApplication app;
  MapPtr map = app.Document()->FocusMap();
  map->SetSpatialReference(Projected(5070));
  auto element = CreateAs<GraphicElement>("orvaCore.GraphicElement");
  element->SetGeometry(Square(0.25, 0.5, 1.125, map->SpatialReference()));
  map->AddElement(element);
  app.Document()->ActiveView()->SetExtent(Box(-0.75, 0.5, 2.25, 3.5, map->SpatialReference()));
  app.SaveDocument(Platform("document.json"));
  EXPECT_FALSE(Has(ReadText(Native("document.json")), "0,5"));

  GisApplication loaded;
  loaded.LoadDocument(Platform("document.json"));
  MapPtr again = loaded.Document()->FocusMap();
  EXPECT_EQ(Corners(loaded.Document()->ActiveView()->Extent()), (std::vector<double>{-0.75, 0.5, 2.25, 3.5}));
  ASSERT_EQ(again->ElementCount(), 1);
  EXPECT_EQ(Corners(again->Element(0)->Geometry()->Envelope()), (std::vector<double>{0.25, 0.5, 1.375, 1.625}));
  ASSERT_TRUE(again->SpatialReference());
  EXPECT_TRUE(again->SpatialReference()->IsSame(Projected(5070)));
}

TEST_F(CommaLocaleTest, ChangedProjectionParametersSurviveTheirTextForm) {
  SpatialReferencePtr albers = Projected(5070);
  albers->SetCentralMeridian(-100.5);
  albers->SetStandardParallel1(29.25);
  auto copy = CreateAs<SpatialReferenceFactory>("orvaCore.SpatialReferenceEnvironment")->CreateFromWkt(albers->ExportToWkt());
  EXPECT_DOUBLE_EQ(copy->CentralMeridian(), -100.5);
  EXPECT_DOUBLE_EQ(copy->StandardParallel1(), 29.25);
}

} // namespace
} // namespace tov::test
