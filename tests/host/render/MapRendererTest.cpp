// The renderer on a tiny data set: one square drawn into a 100 x 100 image;
// the scale bar's round lengths in both kinds of units.
#include "QtApp.h"

#include "host/common/Paths.h"
#include "host/gis/HostFeatureLayer.h"
#include "host/gis/HostMap.h"
#include "host/render/MapDecorations.h"
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

// A layer of the one feature, hollow (with that outline), named in NAME.
FeatureLayerPtr LayerOf(const WorkspacePtr& workspace, const char* name, const PolygonPtr& shape,
                        const std::string& label, LineSymbolPtr outline = nullptr) {
  FeatureClassPtr features = workspace->CreateFeatureClass(name, PolygonFields(shape->SpatialReference(), true),
                                                           kFeatureClassClsid, "", featureTypeSimple, "Shape", "");
  FeaturePtr feature = features->CreateFeature();
  feature->SetShape(shape);
  feature->SetValue(features->FindField("NAME"), label);
  feature->Store();
  auto layer = CreateAs<FeatureLayer>("orvaCore.FeatureLayer");
  layer->SetFeatureClass(features);
  auto fill = CreateAs<FillSymbol>("orvaCore.SimpleFillSymbol");
  fill->SetStyle(orvaSFSHollow);
  if (outline) fill->SetOutline(outline);
  layer->Renderer()->SetSymbol(fill);
  return layer;
}

// Turns the layer's labels of its NAME on; their first class.
LabelClassPtr ShowLabels(const FeatureLayerPtr& layer) {
  auto labels = layer->AnnotationProperties()->Item(0);
  labels->SetExpression("[NAME]");
  layer->SetDisplayAnnotation(true);
  return labels;
}

class MapRendererTest : public ::testing::Test {
protected:
  void SetUp() override {
    App();
    auto factory = CreateAs<WorkspaceFactory>("orvaCore.AccessWorkspaceFactory");
    workspace = factory->OpenFromFile(factory->Create(ToPlatformPath(folder.Path()), "tiny", nullptr));
    auto outline = CreateAs<LineSymbol>("orvaCore.SimpleLineSymbol");
    outline->SetColor(Colour(0x0000FF)); // red
    outline->SetWidth(2);
    layer = LayerOf(workspace, "squares", Rectangle(10, 10, 90, 90, Geographic(4326)), "WWWWW", outline);
    group = CreateAs<GroupLayer>("orvaCore.GroupLayer");
    group->Add(layer);
    map.AddLayer(group);
  }

  // The map drawn by that renderer into a white image of that size.
  QImage Draw(MapRenderer& by, const MapViewport& view, int size = 100) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    by.Draw(painter, map, view);
    return image;
  }
  QImage Draw() { return Draw(renderer, MapViewport(0, 0, 100, 100, QSize(100, 100))); }
  // Pixels that are not white in the area (of those `counted` takes, when given).
  static int Ink(const QImage& image, QRect area, const std::function<bool(int x, int y)>& counted = nullptr) {
    int ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x)
        ink += (!counted || counted(x, y)) && image.pixelColor(x, y) != QColor(Qt::white);
    return ink;
  }
  // Inside the square, away from its outline.
  static int InkInside(const QImage& image) { return Ink(image, QRect(20, 20, 60, 60)); }

  tov::testing::TempFolder folder;
  WorkspacePtr workspace;
  HostMap map;
  FeatureLayerPtr layer;
  GroupLayerPtr group;
  MapRenderer renderer;
};

TEST_F(MapRendererTest, TheOutlineLandsWhereTheSquareIsNowAndHiddenLayersAreLeftOut) {
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

  // A feature stored again is drawn where it is now.
  FeaturePtr feature = layer->FeatureClass()->Search(nullptr, false)->NextFeature();
  feature->SetShape(Rectangle(30, 30, 70, 70, Geographic(4326)));
  feature->Store();
  image = Draw();
  EXPECT_EQ(image.pixelColor(10, 50), QColor(Qt::white));
  EXPECT_GT(image.pixelColor(30, 50).red(), 200);

  group->SetVisible(false);
  EXPECT_EQ(Draw().pixelColor(30, 50), QColor(Qt::white));
}

TEST_F(MapRendererTest, SelectionColourAndLabelsWithinTheirScaleRange) {
  layer->SetSelectionColor(Colour(0x00FF00)); // green
  layer->SelectFeatures(nullptr, selectionNew, false);
  QImage selected = Draw();
  EXPECT_GT(selected.pixelColor(10, 50).green(), 200);
  EXPECT_LT(selected.pixelColor(10, 50).red(), 100);
  layer->ClearSelection();

  auto labels = ShowLabels(layer);
  labels->TextSymbol()->SetSize(10);
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
  auto labels = ShowLabels(layer);
  // The square spans pixels 110 to 190 of a 300-pixel picture.
  auto inkAwayFromOutline = [&] {
    const QImage image = Draw(renderer, MapViewport(-100, -100, 200, 200, QSize(300, 300)), 300);
    return Ink(image, QRect(0, 0, 300, 300), [](int x, int y) {
      return !((std::abs(x - 110) < 4 || std::abs(x - 190) < 4 || std::abs(y - 110) < 4 || std::abs(y - 190) < 4) &&
               x > 105 && x < 195 && y > 105 && y < 195);
    });
  };
  labels->TextSymbol()->SetSize(8);
  EXPECT_GT(inkAwayFromOutline(), 20);
  labels->TextSymbol()->SetSize(24); // wider than the square, narrower than the picture
  EXPECT_EQ(inkAwayFromOutline(), 0);
}

TEST_F(MapRendererTest, APolygonOfTwoPartsIsLabelledInsideOneOfThem) {
  // Parts 10..40 and 60..90 across: the middle of the box lies between them.
  SpatialReferencePtr sr = Geographic(4326);
  auto pair = std::dynamic_pointer_cast<Polygon>(Rectangle(10, 10, 40, 90, sr)->Union(Rectangle(60, 10, 90, 90, sr)));
  FeatureLayerPtr twoParts = LayerOf(workspace, "pairs", pair, "W");
  ShowLabels(twoParts);
  map.DeleteLayer(group);
  map.AddLayer(twoParts);

  const QImage image = Draw();
  // Ink away from the outlines (at 40 and 60 across): the label's, in a part
  // and not between them.
  EXPECT_GT(Ink(image, QRect(15, 15, 70, 70), [](int x, int) { return x <= 35 || x >= 65; }), 5);
  EXPECT_EQ(Ink(image, QRect(45, 15, 11, 70)), 0);
}

TEST_F(MapRendererTest, ARedrawWithKeptLabelsLooksAsAFreshDrawingAfterEachChange) {
  auto labels = ShowLabels(layer);
  labels->TextSymbol()->SetSize(10);
  layer->SetSelectionColor(Colour(0x00FF00));
  MapViewport view(0, 0, 100, 100, QSize(100, 100));
  auto drawWith = [&](MapRenderer& r) { return Draw(r, view); };
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

TEST(MapDecorationsTest, TheBarIsTheLongestRoundLengthThatFitsInTheMapsMetres) {
  // metres per pixel, longest bar in pixels; then km or m, mi or ft
  const std::tuple<double, double, double, std::string, double, std::string> cases[] = {
      {2000, 160, 200, "km", 100, "mi"},  // 320 km, 199 mi
      {1, 150, 100, "m", 200, "ft"},      // 150 m, 492 ft
      {10, 150, 1, "km", 2000, "ft"},     // 1.5 km, 4,921 ft
  };
  for (const auto& [metresPerPixel, maxPixels, metricLength, metricUnit, imperialLength, imperialUnit] : cases) {
    SCOPED_TRACE(std::to_string(metresPerPixel));
    const auto metric = MapDecorations::FitBar(metresPerPixel, maxPixels, 1000, "km", 1, "m");
    EXPECT_DOUBLE_EQ(metric.length, metricLength);
    EXPECT_EQ(metric.unit, metricUnit);
    EXPECT_NEAR(metric.pixels * metresPerPixel, metricLength * (metric.unit == "km" ? 1000 : 1), 1e-6);
    EXPECT_LE(metric.pixels, maxPixels);
    const auto imperial = MapDecorations::FitBar(metresPerPixel, maxPixels, 1609.344, "mi", 0.3048, "ft");
    EXPECT_DOUBLE_EQ(imperial.length, imperialLength);
    EXPECT_EQ(imperial.unit, imperialUnit);
    EXPECT_LE(imperial.pixels, maxPixels);
  }
  EXPECT_EQ(MapDecorations::FitBar(1000, 150, 1000, "km", 1, "m").Label(), "100 km");
  // Nothing fits, or nothing to measure.
  EXPECT_EQ(MapDecorations::FitBar(0.001, 150, 1000, "km", 1, "m").length, 0);
  EXPECT_EQ(MapDecorations::FitBar(0, 150, 1000, "km", 1, "m").length, 0);

  // A projected map is measured in its metres.
  App();
  HostMap map;
  map.SetSpatialReference(Projected(5070));
  // 100 km across 1000 pixels: 100 m a pixel, a bar of at most 160 pixels.
  const MapViewport viewport(0, 0, 100000, 50000, QSize(1000, 500));
  const auto metric = MapDecorations::MetricBar(map, viewport, 160);
  EXPECT_EQ(metric.Label(), "10 km");
  EXPECT_NEAR(metric.pixels, 100, 0.5);
}

} // namespace
} // namespace tov::test
