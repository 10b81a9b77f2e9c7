#include "GisTestSupport.h"

namespace tov::test {
namespace {

using LayerTest = GisTest;

TEST_F(LayerTest, ColoursPackRedInTheLowByteAndAreCopiedIntoSymbols) {
  auto color = CreateAs<RgbColor>("orvaCore.RgbColor");
  color->SetRGB(65535);
  EXPECT_EQ((std::vector<long>{color->Red(), color->Green(), color->Blue(), color->Transparency()}),
            (std::vector<long>{255, 255, 0, 255}));

  // The unfilled black outline: the outline takes the colour first, then
  // the same colour object made transparent becomes the fill.
  auto fill = CreateAs<FillSymbol>("orvaCore.SimpleFillSymbol");
  color->SetRGB(0);
  LineSymbolPtr outline = fill->Outline();
  outline->SetColor(color);
  outline->SetWidth(4.0);
  fill->SetOutline(outline);
  color->SetTransparency(0);
  fill->SetColor(color);
  EXPECT_EQ(fill->Outline()->Color()->Transparency(), 255);
  EXPECT_DOUBLE_EQ(fill->Outline()->Width(), 4.0);
  EXPECT_EQ(fill->Color()->Transparency(), 0);

  // Changing a returned copy changes nothing until it is put back.
  fill->Outline()->SetWidth(9);
  EXPECT_DOUBLE_EQ(fill->Outline()->Width(), 4.0);
}

TEST_F(LayerTest, NewLayerGetsASymbolForItsShapeType) {
  auto layer = CreateAs<FeatureLayer>("orvaCore.FeatureLayer");
  EXPECT_TRUE(layer->Visible());
  EXPECT_TRUE(layer->Selectable());
  EXPECT_FALSE(layer->SelectionSet());
  EXPECT_EQ(layer->AnnotationProperties()->Count(), 1);
  FeatureLayerPtr squares = SquaresLayer({"a"});
  EXPECT_TRUE(std::dynamic_pointer_cast<FillSymbol>(squares->Renderer()->Symbol()));
  EXPECT_EQ(squares->Name(), "Squares"); // its class's name
  EXPECT_EQ(squares->SelectionSet()->Count(), 0);
}

TEST_F(LayerTest, SelectFeaturesCombinesWithTheLayerSelection) {
  FeatureLayerPtr layer = SquaresLayer({"a", "b", "c"});
  // New, exclusive or (a and c), add, then a new selection of just one.
  const std::tuple<QueryFilterPtr, long, bool, long> steps[] = {{Where("NAME IN ('a', 'b')"), 0, false, 2},
                                                                {Where("NAME IN ('b', 'c')"), 4, false, 2},
                                                                {Where("NAME = 'b'"), 1, false, 3},
                                                                {nullptr, 0, true, 1}};
  for (const auto& [filter, method, justOne, count] : steps) {
    layer->SelectFeatures(filter, method, justOne);
    EXPECT_EQ(layer->SelectionSet()->Count(), count) << method;
  }
  layer->ClearSelection();
  EXPECT_EQ(layer->SelectionSet()->Count(), 0);
}

TEST_F(LayerTest, MapEnumeratesSelectedFeaturesAndSelectedGraphics) {
  auto map = CreateAs<Map>("orvaCore.Map");
  FeatureLayerPtr layer = SquaresLayer({"a", "b", "c"});
  map->AddLayer(layer);
  layer->SelectFeatures(Where("NAME <> 'b'"), 0, false);
  EnumFeaturePtr selected = map->FeatureSelection();
  long polygons = 0;
  while (FeaturePtr f = selected->Next()) polygons += f->Shape()->GeometryType() == geometryPolygon ? 1 : 0;
  EXPECT_EQ(polygons, 2);

  EXPECT_FALSE(map->SelectedElements()); // none selected: no enumeration
  map->SelectElement(AddGraphic(map, Square(5, 5, 1)));
  EnumElementPtr elements = map->SelectedElements();
  ASSERT_TRUE(elements);
  GraphicElementPtr first = elements->Next();
  ASSERT_TRUE(first);
  EXPECT_EQ(first->Geometry()->GeometryType(), geometryPolygon);
  EXPECT_FALSE(elements->Next());
  EXPECT_THROW(map->SelectElement(CreateAs<GraphicElement>("orvaCore.GraphicElement")), HostError);
}

TEST_F(LayerTest, SelectByShapeWithJustOneTakesTheFirstHit) {
  auto map = CreateAs<Map>("orvaCore.Map");
  FeatureLayerPtr layer = SquaresLayer({"a", "b", "c"});
  map->AddLayer(layer);
  map->SelectByShape(Box(-1, -1, 10, 10), nullptr, true);
  EXPECT_EQ(map->SelectionCount(), 1);
  map->SelectByShape(Box(-1, -1, 10, 10), nullptr, false);
  EXPECT_EQ(map->SelectionCount(), 3);
}

TEST_F(LayerTest, LabelsSymbolsAndSelectionColourSurviveALayerFile) {
  FeatureLayerPtr layer = SquaresLayer({"a"});
  layer->SetName("Counties");
  layer->SetVisible(false);
  layer->SetSelectable(false);
  auto yellow = CreateAs<RgbColor>("orvaCore.RgbColor");
  yellow->SetRGB(65535);
  layer->SetSelectionColor(yellow);
  layer->SetDisplayAnnotation(true);
  LabelClassPtr labels = layer->AnnotationProperties()->Item(0);
  labels->SetExpression("[NAME]");
  labels->SetMinimumScale(5000000);
  labels->SetMaximumScale(10000);
  labels->TextSymbol()->SetSize(12);
  auto fill = std::dynamic_pointer_cast<FillSymbol>(layer->Renderer()->Symbol());
  fill->SetStyle(orvaSFSDiagonalCross);

  auto file = CreateAs<LayerFile>("orvaCore.LayerFile");
  file->SetLayer(layer);
  file->Save(Platform("Counties.lyr"));
  EXPECT_EQ(file->Filename(), Platform("Counties.lyr"));

  FeatureLayerPtr copy = OpenLayerFile(Platform("Counties.lyr"));
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->Name(), "Counties");
  EXPECT_FALSE(copy->Visible());
  EXPECT_FALSE(copy->Selectable());
  EXPECT_EQ(copy->SelectionColor()->RGB(), 65535);
  EXPECT_TRUE(copy->DisplayAnnotation());
  LabelClassPtr copied = copy->AnnotationProperties()->Item(0);
  EXPECT_EQ(copied->Expression(), "[NAME]");
  EXPECT_DOUBLE_EQ(copied->MinimumScale(), 5000000);
  EXPECT_DOUBLE_EQ(copied->MaximumScale(), 10000);
  EXPECT_DOUBLE_EQ(copied->TextSymbol()->Size(), 12);
  EXPECT_EQ(std::dynamic_pointer_cast<FillSymbol>(copy->Renderer()->Symbol())->Style(), orvaSFSDiagonalCross);
  ASSERT_TRUE(copy->FeatureClass()); // stored absolute: no relative base
  EXPECT_EQ(copy->FeatureClass()->FeatureCount(nullptr), 1);

  EXPECT_THROW(file->Open(Platform("missing.lyr")), HostError);
  EXPECT_THROW(CreateAs<LayerFile>("orvaCore.LayerFile")->Save(Platform("empty.lyr")), HostError);
}

} // namespace
} // namespace tov::test
