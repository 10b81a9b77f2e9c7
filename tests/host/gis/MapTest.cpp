#include "GisTestSupport.h"

#include "host/gis/GisApplication.h"
#include "host/gis/HostLayerFile.h"

#include <thread>

namespace tov::test {
namespace {

using MapTest = GisTest;

std::vector<std::string> Names(const EnumLayerPtr& layers) {
  std::vector<std::string> names;
  layers->Reset();
  while (LayerPtr l = layers->Next()) names.push_back(l->Name());
  return names;
}

TEST_F(MapTest, GroupLayerAppendsAndDeletesInOrder) {
  GroupLayerPtr group = GroupOf("", {GroupOf("a"), GroupOf("b"), GroupOf("c")});
  // Moving the last to the top by delete-and-append of the others.
  for (int i = 0; i < 2; ++i) {
    LayerPtr first = group->Layer(0);
    group->Delete(first);
    group->Add(first);
  }
  std::vector<std::string> names;
  for (long i = 0; i < group->Count(); ++i) names.push_back(group->Layer(i)->Name());
  EXPECT_EQ(names, (std::vector<std::string>{"c", "a", "b"}));
  EXPECT_THROW(group->Layer(3), HostError);
  EXPECT_THROW(group->Delete(GroupOf("x")), HostError);
}

TEST_F(MapTest, LayersAreListedInMapOrderAtAllLevelsOrTopOnly) {
  auto map = CreateAs<Map>("orvaCore.Map");
  GroupLayerPtr group = GroupOf("group", {GroupOf("inner")});
  map->AddLayer(GroupOf("bottom"));
  map->AddLayer(group); // new layers go on top
  EXPECT_EQ(Names(map->Layers(true)), (std::vector<std::string>{"group", "inner", "bottom"}));
  EXPECT_EQ(Names(map->Layers(false)), (std::vector<std::string>{"group", "bottom"}));
  map->DeleteLayer(group->Layer(0));
  EXPECT_EQ(group->Count(), 0);
}

TEST_F(MapTest, SelectByShapeCombinesNewAddAndExclusiveOrOrTakesJustOne) {
  auto map = CreateAs<Map>("orvaCore.Map");
  FeatureLayerPtr squares = SquaresLayer({"a", "b", "c"}, "data");
  FeatureLayerPtr other = SquaresLayer({"a", "b", "c"}, "other");
  other->SetSelectable(false);
  map->AddLayer(squares);
  map->AddLayer(other);
  EXPECT_EQ(map->SpatialReference()->FactoryCode(), 4326);

  // New, add, then exclusive or: the first square drops out, the third comes in.
  auto env = CreateAs<SelectionEnvironment>("orvaCore.SelectionEnvironment");
  const std::tuple<long, GeometryPtr, long> steps[] = {{0, MakePoint(0.5, 0.5), 1},
                                                       {1, MakePoint(1.5, 0.5), 2},
                                                       {4, Box(0.2, 0.2, 0.4, 0.4), 1},
                                                       {4, MakePoint(2.5, 0.5), 2}};
  for (const auto& [method, shape, count] : steps) {
    env->SetCombinationMethod(method);
    map->SelectByShape(shape, env, false);
    EXPECT_EQ(map->SelectionCount(), count) << method;
  }
  EXPECT_EQ(squares->SelectionSet()->Count(), 2);
  EXPECT_EQ(other->SelectionSet()->Count(), 0); // not selectable

  env->SetCombinationMethod(0);
  map->SelectByShape(MakePoint(10, 10), env, false); // empty map space
  EXPECT_EQ(map->SelectionCount(), 0);

  // Without an environment, just one takes the first hit.
  map->SelectByShape(Box(-1, -1, 10, 10), nullptr, true);
  EXPECT_EQ(map->SelectionCount(), 1);
  map->SelectByShape(Box(-1, -1, 10, 10), nullptr, false);
  EXPECT_EQ(map->SelectionCount(), 3);
}

TEST_F(MapTest, ViewExtentAndDocumentSaveAndLoad) {
  GisApplication app;
  MapPtr map = app.Document()->FocusMap();
  FeatureLayerPtr squares = SquaresLayer({"a", "b", "c"}, "data");
  map->AddLayer(GroupOf("My Analyses", {squares}));
  ActiveViewPtr view = app.Document()->ActiveView();
  EXPECT_NEAR(view->FullExtent()->Width(), 3.0, 1e-9);
  EnvelopePtr zoom = squares->FeatureClass()->Extent();
  zoom->Expand(1.2, 1.2, true);
  view->SetExtent(zoom);

  // Two drawn graphics, the second selected, one with a symbol.
  auto outline = CreateAs<LineSymbol>("orvaCore.SimpleLineSymbol");
  outline->SetWidth(3.0);
  AddGraphic(map, Square(0, 0, 1, map->SpatialReference()));
  map->SelectElement(AddGraphic(map, Square(1, 0, 1, map->SpatialReference()), outline));

  const std::string doc = Platform("document.json");
  app.SaveDocument(doc);
  GisApplication loaded;
  loaded.LoadDocument(doc);
  MapPtr again = loaded.Document()->FocusMap();
  EXPECT_EQ(Names(again->Layers(true)), (std::vector<std::string>{"My Analyses", "Squares"}));
  auto layer = std::dynamic_pointer_cast<FeatureLayer>(std::dynamic_pointer_cast<GroupLayer>(again->Layer(0))->Layer(0));
  ASSERT_TRUE(layer && layer->FeatureClass());
  EXPECT_EQ(layer->FeatureClass()->FeatureCount(nullptr), 3);
  EXPECT_NEAR(loaded.Document()->ActiveView()->Extent()->Width(), 3.6, 1e-9);
  ASSERT_EQ(again->ElementCount(), 2);
  EXPECT_NEAR(again->Element(1)->Geometry()->Envelope()->XMin(), 1.0, 1e-9);
  EXPECT_EQ(again->Element(0)->Symbol(), nullptr);
  auto symbol = std::dynamic_pointer_cast<LineSymbol>(again->Element(1)->Symbol());
  ASSERT_TRUE(symbol);
  EXPECT_DOUBLE_EQ(symbol->Width(), 3.0);
  ASSERT_EQ(again->ElementSelectionCount(), 1);
  EXPECT_EQ(again->SelectedElements()->Next(), again->Element(1));

  EXPECT_THROW(loaded.LoadDocument(Platform("missing.json")), HostError);
  EXPECT_EQ(loaded.Document()->FocusMap()->LayerCount(), 1); // the loaded one stays
}

TEST_F(MapTest, LayerFileOpensAfterItsFolderMovesAndWithoutItsData) {
  FeatureLayerPtr layer = SquaresLayer({"a", "b", "c"}, "StudyAreas/1");
  SetOutlineWidth(layer, 4.0);
  layer->SetDataSourceRelativeBase(Platform("StudyAreas/1") + "\\"); // with its closing separator
  auto file = CreateAs<LayerFile>("orvaCore.LayerFile");
  file->SetFilename(Platform("StudyAreas/1/StudyArea.lyr"));
  file->SetLayer(layer);
  file->Save();

  std::filesystem::rename(Native("StudyAreas"), Native("Moved"));
  FeatureLayerPtr moved = OpenLayerFile(Platform("Moved/1/StudyArea.lyr"));
  ASSERT_TRUE(moved && moved->FeatureClass());
  EXPECT_EQ(std::make_tuple(moved->Name(), moved->FeatureClass()->FeatureCount(nullptr), OutlineWidthOf(moved)),
            std::make_tuple(std::string("Squares"), 3L, 4.0));

  std::filesystem::remove(Native("Moved/1/Squares.shp"));
  FeatureLayerPtr missing = OpenLayerFile(Platform("Moved/1/StudyArea.lyr"));
  ASSERT_TRUE(missing);
  EXPECT_FALSE(missing->FeatureClass() || missing->Valid());
}

// Feature layers: their symbols, selections and layer files.
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
  LineSymbolPtr kept = fill->Outline();
  EXPECT_EQ(std::make_tuple(kept->Color()->Transparency(), kept->Width(), fill->Color()->Transparency()),
            std::make_tuple(255, 4.0, 0));

  // Changing a returned copy changes nothing until it is put back.
  fill->Outline()->SetWidth(9);
  EXPECT_DOUBLE_EQ(fill->Outline()->Width(), 4.0);
}

TEST_F(LayerTest, NewLayerGetsASymbolForItsShapeType) {
  auto layer = CreateAs<FeatureLayer>("orvaCore.FeatureLayer");
  EXPECT_EQ(std::make_tuple(layer->Visible(), layer->Selectable(), !layer->SelectionSet(),
                            layer->AnnotationProperties()->Count()),
            std::make_tuple(true, true, true, 1));
  FeatureLayerPtr squares = SquaresLayer({"a"});
  EXPECT_TRUE(std::dynamic_pointer_cast<FillSymbol>(squares->Renderer()->Symbol()));
  EXPECT_EQ(squares->Name(), "Squares"); // its class's name
  EXPECT_EQ(squares->SelectionSet()->Count(), 0);
}

TEST_F(LayerTest, SelectionsCombineOnTheLayerAndTheMapEnumeratesSelectedFeaturesAndGraphics) {
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

  // The map enumerates the selected features of its layers.
  auto map = CreateAs<Map>("orvaCore.Map");
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
  EXPECT_EQ(std::make_tuple(copy->Name(), copy->Visible(), copy->Selectable(), copy->SelectionColor()->RGB(),
                            copy->DisplayAnnotation()),
            std::make_tuple(std::string("Counties"), false, false, 65535, true));
  LabelClassPtr copied = copy->AnnotationProperties()->Item(0);
  EXPECT_EQ(std::make_tuple(copied->Expression(), copied->MinimumScale(), copied->MaximumScale(),
                            copied->TextSymbol()->Size()),
            std::make_tuple(std::string("[NAME]"), 5000000.0, 10000.0, 12.0));
  EXPECT_EQ(std::dynamic_pointer_cast<FillSymbol>(copy->Renderer()->Symbol())->Style(), orvaSFSDiagonalCross);
  ASSERT_TRUE(copy->FeatureClass()); // stored absolute: no relative base
  EXPECT_EQ(copy->FeatureClass()->FeatureCount(nullptr), 1);

  EXPECT_THROW(file->Open(Platform("missing.lyr")), HostError);
  EXPECT_THROW(CreateAs<LayerFile>("orvaCore.LayerFile")->Save(Platform("empty.lyr")), HostError);
}

// A layer file read whole once is afterwards made from what was remembered
// of it (its name and data) and read again only when more is asked of it;
// the same in the next process, through the analysis folder's cache.
TEST_F(LayerTest, ALayerFileReadBeforeIsReadAgainOnlyWhenMoreThanItsDataIsAsked) {
  FeatureLayerPtr layer = SquaresLayer({"a", "b"}, "Area");
  layer->SetName("Area");
  layer->SetVisible(false);
  SetOutlineWidth(layer, 4.0);
  layer->SetDataSourceRelativeBase(Platform("Area"));
  SaveLayerFile(layer, Platform("Area/StudyArea.lyr"));
  // Files changed within a tick of the file system's clock are not trusted.
  std::this_thread::sleep_for(std::chrono::milliseconds(2100));
  UseLayerFileCacheOf(Native());
  ASSERT_TRUE(OpenLayerFile(Platform("Area/StudyArea.lyr"))); // read whole and remembered
  SaveLayerFileCache();
  UseLayerFileCacheOf(""); // as another process would start
  UseLayerFileCacheOf(Native());

  auto remembered = [&] { return OpenLayerFile(Platform("Area/StudyArea.lyr")); };
  FeatureLayerPtr whole = remembered();
  ASSERT_TRUE(whole && whole->FeatureClass());
  EXPECT_EQ(std::make_tuple(whole->Name(), whole->FeatureClass()->FeatureCount(nullptr), whole->Visible(),
                            OutlineWidthOf(whole), whole->DataSourceRelativeBase()),
            std::make_tuple(std::string("Area"), 2L, false, 4.0, Platform("Area")));

  // Damaged after it was opened: its name and data are as remembered; the rest is refused when asked for.
  FeatureLayerPtr lazy = remembered();
  std::ofstream(Native("Area/StudyArea.lyr"), std::ios::trunc) << "{\"layer\": 1}";
  EXPECT_EQ(std::make_tuple(lazy->Name(), lazy->FeatureClass()->FeatureCount(nullptr)),
            std::make_tuple(std::string("Area"), 2L));
  EXPECT_THROW(lazy->Renderer(), HostError);
  EXPECT_THROW(lazy->SetVisible(true), HostError);
  // Changed, it is read whole again, and refused.
  EXPECT_THROW(remembered(), HostError);
  UseLayerFileCacheOf("");
}

} // namespace
} // namespace tov::test
