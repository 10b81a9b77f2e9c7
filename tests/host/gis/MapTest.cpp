#include "GisTestSupport.h"

#include "host/gis/GisApplication.h"

namespace tov::test {
namespace {

class MapTest : public GisTest {
protected:
  // Three unit squares side by side in a shapefile folder.
  FeatureLayerPtr SquaresLayer(const std::string& folder = "data") {
    FeatureClassPtr fc = PolygonClass(Shapefiles(folder), "Squares", Geographic(4326), false);
    AddSquares(fc, {"a", "b", "c"}, 0, 0, Geographic(4326));
    auto layer = CreateAs<FeatureLayer>("orvaCore.FeatureLayer");
    layer->SetFeatureClass(fc);
    layer->SetName("Squares");
    return layer;
  }

  static LayerPtr Named(const std::string& name) {
    auto group = CreateAs<GroupLayer>("orvaCore.GroupLayer");
    group->SetName(name);
    return group;
  }
};

std::vector<std::string> Names(const EnumLayerPtr& layers) {
  std::vector<std::string> names;
  layers->Reset();
  while (LayerPtr l = layers->Next()) names.push_back(l->Name());
  return names;
}

TEST_F(MapTest, GroupLayerAppendsAndDeletesInOrder) {
  auto group = CreateAs<GroupLayer>("orvaCore.GroupLayer");
  LayerPtr a = Named("a"), b = Named("b"), c = Named("c");
  group->Add(a);
  group->Add(b);
  group->Add(c);
  // Moving the last to the top by delete-and-append of the others.
  for (int i = 0; i < 2; ++i) {
    LayerPtr first = group->Layer(0);
    group->Delete(first);
    group->Add(first);
  }
  ASSERT_EQ(group->Count(), 3);
  EXPECT_EQ(group->Layer(0)->Name(), "c");
  EXPECT_EQ(group->Layer(1)->Name(), "a");
  EXPECT_EQ(group->Layer(2)->Name(), "b");
  EXPECT_THROW(group->Layer(3), HostError);
  EXPECT_THROW(group->Delete(Named("x")), HostError);
}

TEST_F(MapTest, LayersAreListedInMapOrderAtAllLevelsOrTopOnly) {
  auto map = CreateAs<Map>("orvaCore.Map");
  auto group = CreateAs<GroupLayer>("orvaCore.GroupLayer");
  group->SetName("group");
  group->Add(Named("inner"));
  map->AddLayer(Named("bottom"));
  map->AddLayer(group); // new layers go on top
  EXPECT_EQ(Names(map->Layers(true)), (std::vector<std::string>{"group", "inner", "bottom"}));
  EXPECT_EQ(Names(map->Layers(false)), (std::vector<std::string>{"group", "bottom"}));
  map->DeleteLayer(group->Layer(0));
  EXPECT_EQ(group->Count(), 0);
}

TEST_F(MapTest, SelectByShapeCombinesNewAddAndExclusiveOr) {
  auto map = CreateAs<Map>("orvaCore.Map");
  FeatureLayerPtr squares = SquaresLayer();
  FeatureLayerPtr other = SquaresLayer("other");
  other->SetSelectable(false);
  map->AddLayer(squares);
  map->AddLayer(other);
  EXPECT_EQ(map->SpatialReference()->FactoryCode(), 4326);

  auto env = CreateAs<SelectionEnvironment>("orvaCore.SelectionEnvironment");
  env->SetCombinationMethod(0);
  map->SelectByShape(MakePoint(0.5, 0.5), env, false);
  EXPECT_EQ(map->SelectionCount(), 1);

  env->SetCombinationMethod(1);
  map->SelectByShape(MakePoint(1.5, 0.5), env, false);
  EXPECT_EQ(map->SelectionCount(), 2);

  // Exclusive or: the first square drops out, the third comes in.
  env->SetCombinationMethod(4);
  map->SelectByShape(Box(0.2, 0.2, 0.4, 0.4), env, false);
  map->SelectByShape(MakePoint(2.5, 0.5), env, false);
  EXPECT_EQ(map->SelectionCount(), 2);
  EXPECT_EQ(squares->SelectionSet()->Count(), 2);
  EXPECT_EQ(other->SelectionSet()->Count(), 0); // not selectable

  env->SetCombinationMethod(0);
  map->SelectByShape(MakePoint(10, 10), env, false); // empty map space
  EXPECT_EQ(map->SelectionCount(), 0);
}

TEST_F(MapTest, ViewExtentAndDocumentSaveAndLoad) {
  GisApplication app;
  MapPtr map = app.Document()->FocusMap();
  auto group = CreateAs<GroupLayer>("orvaCore.GroupLayer");
  group->SetName("My Analyses");
  FeatureLayerPtr squares = SquaresLayer();
  group->Add(squares);
  map->AddLayer(group);
  ActiveViewPtr view = app.Document()->ActiveView();
  EXPECT_NEAR(view->FullExtent()->Width(), 3.0, 1e-9);
  EnvelopePtr zoom = squares->FeatureClass()->Extent();
  zoom->Expand(1.2, 1.2, true);
  view->SetExtent(zoom);

  // Two drawn graphics, the second selected, one with a symbol.
  for (int i = 0; i < 2; ++i) {
    auto element = CreateAs<GraphicElement>("orvaCore.GraphicElement");
    element->SetGeometry(Square(i, 0, 1, map->SpatialReference()));
    map->AddElement(element);
  }
  auto outline = CreateAs<LineSymbol>("orvaCore.SimpleLineSymbol");
  outline->SetWidth(3.0);
  map->Element(1)->SetSymbol(outline);
  map->SelectElement(map->Element(1));

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
  FeatureLayerPtr layer = SquaresLayer("StudyAreas/1");
  SetOutlineWidth(layer, 4.0);
  layer->SetDataSourceRelativeBase(Platform("StudyAreas/1") + "\\"); // with its closing separator
  auto file = CreateAs<LayerFile>("orvaCore.LayerFile");
  file->SetFilename(Platform("StudyAreas/1/StudyArea.lyr"));
  file->SetLayer(layer);
  file->Save();

  std::filesystem::rename(m_dir / "StudyAreas", m_dir / "Moved");
  FeatureLayerPtr moved = OpenLayerFile(Platform("Moved/1/StudyArea.lyr"));
  ASSERT_TRUE(moved);
  EXPECT_EQ(moved->Name(), "Squares");
  ASSERT_TRUE(moved->FeatureClass());
  EXPECT_EQ(moved->FeatureClass()->FeatureCount(nullptr), 3);
  EXPECT_DOUBLE_EQ(OutlineWidthOf(moved), 4.0);

  std::filesystem::remove(m_dir / "Moved/1/Squares.shp");
  FeatureLayerPtr missing = OpenLayerFile(Platform("Moved/1/StudyArea.lyr"));
  ASSERT_TRUE(missing);
  EXPECT_FALSE(missing->FeatureClass());
  EXPECT_FALSE(missing->Valid());
}

} // namespace
} // namespace tov::test
