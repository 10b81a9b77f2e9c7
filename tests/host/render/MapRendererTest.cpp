// The renderer on a tiny data set: one square drawn into a 100 x 100 image.
#include "QtApp.h"
#include "TestWorld.h"

#include "host/common/Paths.h"
#include "host/gis/HostFeatureLayer.h"
#include "host/gis/HostMap.h"
#include "host/render/MapRenderer.h"

#include <QImage>
#include <QPainter>

#include <cmath>
#include <tuple>

namespace tov::test {
namespace {

RgbColorPtr Colour(int32_t rgb) {
  auto c = CreateAs<RgbColor>("orvaCore.RgbColor");
  c->SetRGB(rgb);
  return c;
}

class MapRendererTest : public ::testing::Test {
protected:
  void SetUp() override {
    App();
    auto factory = CreateAs<WorkspaceFactory>("orvaCore.AccessWorkspaceFactory");
    WorkspacePtr workspace = factory->OpenFromFile(factory->Create(ToPlatformPath(folder.Path()), "tiny", nullptr));
    SpatialReferencePtr sr = Geographic(4326);
    FeatureClassPtr squares =
        workspace->CreateFeatureClass("squares", PolygonFields(sr, true), kFeatureClassClsid, "", featureTypeSimple, "Shape", "");
    FeaturePtr feature = squares->CreateFeature();
    feature->SetShape(Rectangle(10, 10, 90, 90, sr));
    feature->SetValue(squares->FindField("NAME"), std::string("WWWWW"));
    feature->Store();

    layer = CreateAs<FeatureLayer>("orvaCore.FeatureLayer");
    layer->SetFeatureClass(squares);
    auto fill = CreateAs<FillSymbol>("orvaCore.SimpleFillSymbol");
    fill->SetStyle(orvaSFSHollow);
    auto outline = CreateAs<LineSymbol>("orvaCore.SimpleLineSymbol");
    outline->SetColor(Colour(0x0000FF)); // red
    outline->SetWidth(2);
    fill->SetOutline(outline);
    layer->Renderer()->SetSymbol(fill);
    group = CreateAs<GroupLayer>("orvaCore.GroupLayer");
    group->Add(layer);
    map.AddLayer(group);
  }

  QImage Draw() {
    QImage image(100, 100, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.Draw(painter, map, MapViewport(0, 0, 100, 100, image.size()));
    return image;
  }
  // Pixels that are not white inside the square, away from its outline.
  static int InkInside(const QImage& image) {
    int ink = 0;
    for (int y = 20; y < 80; ++y)
      for (int x = 20; x < 80; ++x) ink += image.pixelColor(x, y) != QColor(Qt::white);
    return ink;
  }

  tov::testing::TempFolder folder;
  HostMap map;
  FeatureLayerPtr layer;
  GroupLayerPtr group;
  MapRenderer renderer;
};

TEST_F(MapRendererTest, TheOutlineLandsWhereTheSquareIsAndHiddenLayersAreLeftOut) {
  QImage image = Draw();
  EXPECT_TRUE(renderer.Errors().empty());
  // Map (10, 50) is pixel (10, 50); the y axis points up: map y 90 is pixel 10.
  for (QPoint p : {QPoint(10, 50), QPoint(90, 50), QPoint(50, 10), QPoint(50, 90)}) {
    const QColor c = image.pixelColor(p);
    EXPECT_GT(c.red(), 200) << p.x() << "," << p.y();
    EXPECT_LT(c.green(), 100) << p.x() << "," << p.y();
  }
  EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::white));
  EXPECT_EQ(InkInside(image), 0); // hollow

  group->SetVisible(false);
  EXPECT_EQ(Draw().pixelColor(10, 50), QColor(Qt::white));
}

TEST_F(MapRendererTest, AFeatureStoredAgainIsDrawnWhereItIsNow) {
  Draw();
  FeaturePtr feature = layer->FeatureClass()->Search(nullptr, false)->NextFeature();
  feature->SetShape(Rectangle(30, 30, 70, 70, Geographic(4326)));
  feature->Store();
  QImage image = Draw();
  EXPECT_EQ(image.pixelColor(10, 50), QColor(Qt::white));
  EXPECT_GT(image.pixelColor(30, 50).red(), 200);
}

TEST_F(MapRendererTest, SelectionColourAndLabelsWithinTheirScaleRange) {
  layer->SetSelectionColor(Colour(0x00FF00)); // green
  layer->SelectFeatures(nullptr, selectionNew, false);
  QImage selected = Draw();
  EXPECT_GT(selected.pixelColor(10, 50).green(), 200);
  EXPECT_LT(selected.pixelColor(10, 50).red(), 100);
  layer->ClearSelection();

  auto labels = layer->AnnotationProperties()->Item(0);
  labels->SetExpression("[NAME]");
  labels->TextSymbol()->SetSize(10);
  layer->SetDisplayAnnotation(true);
  EXPECT_GT(InkInside(Draw()), 20);
  // Shown only when zoomed in further than 1:1000: the view is far wider.
  labels->SetMinimumScale(1000);
  EXPECT_EQ(InkInside(Draw()), 0);
}

TEST_F(MapRendererTest, ALayerIsDrawnOnlyWithinItsScaleRange) {
  auto host = std::dynamic_pointer_cast<HostFeatureLayer>(layer);
  ASSERT_TRUE(host);
  const double scale = MapRenderer::ScaleOf(map, MapViewport(0, 0, 100, 100, QSize(100, 100)));
  ASSERT_GT(scale, 0);
  // minimum scale, maximum scale (denominators; 0 no limit), drawn
  const std::tuple<double, double, bool> cases[] = {
      {0, 0, true},           {scale * 2, 0, true},  {scale / 2, 0, false},
      {0, scale / 2, true},   {0, scale * 2, false}, {scale * 2, scale / 2, true}};
  for (const auto& [minimum, maximum, drawn] : cases) {
    SCOPED_TRACE(std::to_string(minimum) + " " + std::to_string(maximum));
    host->SetScaleRange(minimum, maximum);
    EXPECT_EQ(Draw().pixelColor(10, 50) != QColor(Qt::white), drawn);
  }
}

TEST_F(MapRendererTest, ALabelIsDrawnOnlyWhereItFitsInsideItsPolygon) {
  auto labels = layer->AnnotationProperties()->Item(0);
  labels->SetExpression("[NAME]");
  layer->SetDisplayAnnotation(true);
  // The square spans pixels 110 to 190 of a 300-pixel picture.
  auto inkAwayFromOutline = [&] {
    QImage image(300, 300, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.Draw(painter, map, MapViewport(-100, -100, 200, 200, image.size()));
    int ink = 0;
    for (int y = 0; y < 300; ++y)
      for (int x = 0; x < 300; ++x) {
        const bool nearOutline = (std::abs(x - 110) < 4 || std::abs(x - 190) < 4 || std::abs(y - 110) < 4 ||
                                  std::abs(y - 190) < 4) && x > 105 && x < 195 && y > 105 && y < 195;
        ink += !nearOutline && image.pixelColor(x, y) != QColor(Qt::white);
      }
    return ink;
  };
  labels->TextSymbol()->SetSize(8);
  EXPECT_GT(inkAwayFromOutline(), 20);
  labels->TextSymbol()->SetSize(24); // wider than the square, narrower than the picture
  EXPECT_EQ(inkAwayFromOutline(), 0);
}

TEST_F(MapRendererTest, APolygonOfTwoPartsIsLabelledInsideOneOfThem) {
  // Parts 10..40 and 60..90 across: the middle of the box lies between them.
  auto factory = CreateAs<WorkspaceFactory>("orvaCore.AccessWorkspaceFactory");
  WorkspacePtr workspace = factory->OpenFromFile(ToPlatformPath(folder.Path() + "/tiny.gpkg"));
  SpatialReferencePtr sr = Geographic(4326);
  FeatureClassPtr pairs =
      workspace->CreateFeatureClass("pairs", PolygonFields(sr, true), kFeatureClassClsid, "", featureTypeSimple, "Shape", "");
  FeaturePtr feature = pairs->CreateFeature();
  feature->SetShape(std::dynamic_pointer_cast<Polygon>(Rectangle(10, 10, 40, 90, sr)->Union(Rectangle(60, 10, 90, 90, sr))));
  feature->SetValue(pairs->FindField("NAME"), std::string("W"));
  feature->Store();
  auto twoParts = CreateAs<FeatureLayer>("orvaCore.FeatureLayer");
  twoParts->SetFeatureClass(pairs);
  auto fill = CreateAs<FillSymbol>("orvaCore.SimpleFillSymbol");
  fill->SetStyle(orvaSFSHollow);
  twoParts->Renderer()->SetSymbol(fill);
  twoParts->AnnotationProperties()->Item(0)->SetExpression("[NAME]");
  twoParts->SetDisplayAnnotation(true);
  map.DeleteLayer(group);
  map.AddLayer(twoParts);

  const QImage image = Draw();
  // Ink away from the outlines: the label's.
  int inParts = 0, between = 0;
  for (int y = 15; y < 85; ++y)
    for (int x = 15; x < 85; ++x) {
      if (image.pixelColor(x, y) == QColor(Qt::white) || (x > 35 && x < 45) || (x > 55 && x < 65)) continue;
      ((x >= 45 && x <= 55) ? between : inParts) += 1;
    }
  EXPECT_GT(inParts, 5);
  EXPECT_EQ(between, 0);
}

TEST_F(MapRendererTest, ARedrawWithKeptLabelsLooksAsAFreshDrawingAfterEachChange) {
  auto labels = layer->AnnotationProperties()->Item(0);
  labels->SetExpression("[NAME]");
  labels->TextSymbol()->SetSize(10);
  layer->SetDisplayAnnotation(true);
  layer->SetSelectionColor(Colour(0x00FF00));
  MapViewport view(0, 0, 100, 100, QSize(100, 100));
  auto drawWith = [&](MapRenderer& r) {
    QImage image(100, 100, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    r.Draw(painter, map, view);
    return image;
  };
  // The kept renderer against one that places everything anew.
  auto same = [&] {
    MapRenderer fresh;
    return drawWith(renderer) == drawWith(fresh);
  };
  const QImage first = drawWith(renderer);
  EXPECT_GT(InkInside(first), 20);
  EXPECT_EQ(drawWith(renderer), first);
  EXPECT_TRUE(same());

  layer->SelectFeatures(nullptr, selectionNew, false);
  EXPECT_TRUE(same()) << "selected";
  layer->ClearSelection();
  view = MapViewport(-20, 0, 80, 100, QSize(100, 100));
  EXPECT_TRUE(same()) << "panned";
  EXPECT_NE(drawWith(renderer), first);
  view = MapViewport(0, 0, 100, 100, QSize(100, 100));
  labels->TextSymbol()->SetSize(14);
  EXPECT_TRUE(same()) << "bigger text";
  auto red = CreateAs<TextSymbol>("orvaCore.TextSymbol");
  red->SetColor(Colour(0x0000FF));
  red->SetSize(14);
  labels->SetTextSymbol(red);
  EXPECT_TRUE(same()) << "red text";
  FeaturePtr feature = layer->FeatureClass()->Search(nullptr, false)->NextFeature();
  feature->SetValue(layer->FeatureClass()->FindField("NAME"), std::string("Ix"));
  feature->Store();
  EXPECT_TRUE(same()) << "renamed";
  renderer.ClearCache();
  EXPECT_TRUE(same()) << "cache cleared";
}

TEST(LabelExpressionTest, FieldsAreReplacedAndOtherTextKept) {
  const std::map<std::string, std::string> values{{"NAME", "Kent"}, {"ST", "MD"}};
  EXPECT_EQ(ExpandLabelExpression("[name], [ST]", values), "Kent, MD");
  EXPECT_EQ(ExpandLabelExpression("[MISSING]x", values), "x");
  EXPECT_EQ(ExpandLabelExpression("open [NAME", values), "open [NAME");
}

} // namespace
} // namespace tov::test
