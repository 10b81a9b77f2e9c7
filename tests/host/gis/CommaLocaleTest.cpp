// Layer files, the map document (extent and drawn graphics) and coordinate
// systems write and read their numbers with "." under a comma-decimal locale.
#include "GisTestSupport.h"

#include "CommaLocale.h"
#include "host/gis/GisApplication.h"

#include <fstream>
#include <sstream>

namespace tov::test {
namespace {

using CommaLocaleTest = GisTest;

std::string ReadText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST_F(CommaLocaleTest, LayerFilesAndDocumentsKeepDecimalPoints) {
  tov::testing::CommaLocale german;
  if (!german.Active()) GTEST_SKIP() << german.SkipMessage();

  auto layer = CreateAs<FeatureLayer>("orvaCore.FeatureLayer");
  layer->SetName("Thin");
  auto fill = std::dynamic_pointer_cast<FillSymbol>(layer->Renderer()->Symbol());
  ASSERT_TRUE(fill);
  LineSymbolPtr outline = fill->Outline();
  outline->SetWidth(0.4);
  fill->SetOutline(outline);
  layer->Renderer()->SetSymbol(fill);
  auto file = CreateAs<LayerFile>("orvaCore.LayerFile");
  file->SetLayer(layer);
  file->Save(Platform("Thin.lyr"));
  const std::string text = ReadText(Native("Thin.lyr"));
  EXPECT_NE(text.find("0.4"), std::string::npos) << text;
  EXPECT_EQ(text.find("0,4"), std::string::npos) << text;
  auto reopened = CreateAs<LayerFile>("orvaCore.LayerFile");
  reopened->Open(Platform("Thin.lyr"));
  auto copy = std::dynamic_pointer_cast<FeatureLayer>(reopened->Layer());
  ASSERT_TRUE(copy);
  EXPECT_DOUBLE_EQ(std::dynamic_pointer_cast<FillSymbol>(copy->Renderer()->Symbol())->Outline()->Width(), 0.4);

  GisApplication app;
  MapPtr map = app.Document()->FocusMap();
  map->SetSpatialReference(Projected(5070));
  auto element = CreateAs<GraphicElement>("orvaCore.GraphicElement");
  element->SetGeometry(Square(0.25, 0.5, 1.125, map->SpatialReference()));
  map->AddElement(element);
  auto extent = CreateAs<Envelope>("orvaCore.Envelope");
  extent->PutCoords(-0.75, 0.5, 2.25, 3.5);
  extent->SetSpatialReference(map->SpatialReference());
  app.Document()->ActiveView()->SetExtent(extent);
  app.SaveDocument(Platform("document.json"));
  EXPECT_EQ(ReadText(Native("document.json")).find("0,5"), std::string::npos);

  GisApplication loaded;
  loaded.LoadDocument(Platform("document.json"));
  MapPtr again = loaded.Document()->FocusMap();
  EnvelopePtr view = loaded.Document()->ActiveView()->Extent();
  EXPECT_DOUBLE_EQ(view->XMin(), -0.75);
  EXPECT_DOUBLE_EQ(view->YMax(), 3.5);
  ASSERT_EQ(again->ElementCount(), 1);
  EnvelopePtr drawn = again->Element(0)->Geometry()->Envelope();
  EXPECT_DOUBLE_EQ(drawn->XMin(), 0.25);
  EXPECT_DOUBLE_EQ(drawn->XMax(), 1.375);
  ASSERT_TRUE(again->SpatialReference());
  EXPECT_TRUE(again->SpatialReference()->IsSame(Projected(5070)));
}

TEST_F(CommaLocaleTest, ChangedProjectionParametersSurviveTheirTextForm) {
  tov::testing::CommaLocale german;
  if (!german.Active()) GTEST_SKIP() << german.SkipMessage();
  SpatialReferencePtr albers = Projected(5070);
  albers->SetCentralMeridian(-100.5);
  albers->SetStandardParallel1(29.25);
  auto copy = CreateAs<SpatialReferenceFactory>("orvaCore.SpatialReferenceEnvironment")->CreateFromWkt(albers->ExportToWkt());
  EXPECT_DOUBLE_EQ(copy->CentralMeridian(), -100.5);
  EXPECT_DOUBLE_EQ(copy->StandardParallel1(), 29.25);
}

} // namespace
} // namespace tov::test
