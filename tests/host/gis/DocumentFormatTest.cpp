// A map document or layer file that is not exactly what the host writes is
// refused with the file and the place named, and a refused document is never
// written over; the numbers of both keep their "." under a comma locale, and
// saving merges this process's map into what others saved meanwhile.
#include "GisTestSupport.h"

#include "CommaLocale.h"
#include "host/gis/GisApplication.h"
#include "host/gis/GisErrors.h"
#include "host/gis/MapDocumentMerge.h"

#include <nlohmann/json.hpp>

namespace tov::test {
namespace {

using nlohmann::json;

class DocumentFormatTest : public GisTest {
protected:
  void SetUp() override {
    // A group layer holding a feature layer, a drawn graphic with a symbol.
    GisApplication app;
    MapPtr map = app.Document()->FocusMap();
    auto layer = CreateAs<FeatureLayer>("orvaCore.FeatureLayer");
    layer->SetName("Squares");
    map->AddLayer(GroupOf("My Analyses", {layer}));
    AddGraphic(map, Square(0, 0, 1), CreateAs<LineSymbol>("orvaCore.SimpleLineSymbol"));
    app.SaveDocument(Platform("document.json"));
    m_saved = Read("document.json");
  }

  std::string Read(const std::string& name) const { return ReadText(Native(name)); }
  void Write(const std::string& name, const std::string& text) const { std::ofstream(Native(name)) << text; }

  std::string m_saved;
};

// The host's own document loads, and one without graphics too; a document
// repaired after a refusal can be saved again.
TEST_F(DocumentFormatTest, TheHostsOwnDocumentsLoadAndARepairedOneIsSavedAgain) {
  GisApplication app;
  app.LoadDocument(Platform("document.json"));
  EXPECT_EQ(app.Document()->FocusMap()->ElementCount(), 1);
  json older = json::parse(m_saved);
  older["maps"][0].erase("graphics"); // written before graphics were kept
  Write("document.json", older.dump());
  app.LoadDocument(Platform("document.json"));
  EXPECT_EQ(app.Document()->FocusMap()->LayerCount(), 1);
  app.SaveDocument(Platform("document.json"));

  Write("document.json", "{\"maps\": 1}");
  EXPECT_THROW(app.LoadDocument(Platform("document.json")), HostError);
  app.SaveDocument(Platform("elsewhere.json")); // other files are not affected
  Write("document.json", m_saved);
  app.LoadDocument(Platform("document.json"));
  app.SaveDocument(Platform("document.json"));
}

TEST_F(DocumentFormatTest, AnythingElseIsRefusedAndTheFileIsNeverOverwritten) {
  const std::vector<std::pair<const char*, json>> changes = {
      {"/maps/0/layers", json::object()},
      {"/maps/0/layers/0/type", "raster"},
      {"/maps/0/layers/0/layers/0/visible", "yes"},
      {"/maps/0/layers/0/layers/0/renderer/symbol/kind", "hatch"},
      {"/maps/0/layers/0/layers/0/labelClasses", nullptr},
      {"/maps/0/layers/0/layers/0/minimumScale", -5},
      {"/maps/0/layers/0/layers/0/maximumScale", "far"},
      {"/maps/0/graphics/0", 5},
      {"/maps/0/extent", json::array({1, 2, 3})},
      {"/maps/0/name", 7},
      {"/focusMap", 3},
      {"/version", 2},
      {"/maps", json::array()},
  };
  for (const auto& [pointer, value] : changes) {
    SCOPED_TRACE(pointer);
    json broken = json::parse(m_saved);
    broken[json::json_pointer(pointer)] = value;
    const std::string text = broken.dump(2);
    Write("document.json", text);

    GisApplication app;
    const MapDocumentPtr before = app.Document();
    const Raised e = ErrorOf([&] { app.LoadDocument(Platform("document.json")); });
    EXPECT_EQ(e.number, gisErr::DocumentFormat);
    EXPECT_TRUE(Has(e.description, Native("document.json"))) << e.description;
    // Deep inside, the message names the place.
    if (std::string(pointer) == "/maps/0/layers/0/layers/0/renderer/symbol/kind")
      EXPECT_TRUE(Has(e.description, R"("maps"[0] > "layers"[0] > "layers"[0] > "renderer" > "symbol" > "kind")"))
          << e.description;
    EXPECT_EQ(app.Document(), before);
    for (const std::string& path : {Platform("document.json"), Native("./document.json")})
      EXPECT_THROW(app.SaveDocument(path), HostError) << path;
    EXPECT_EQ(Read("document.json"), text);
  }
}

// An entry of the wrong type, and a base but not where the file is (it
// would come back in another form on the next save).
TEST_F(DocumentFormatTest, ALayerFileWithAWrongEntryOrABaseButNotWhereItIsIsRefused) {
  for (const bool withBase : {false, true}) {
    SCOPED_TRACE(withBase ? "base" : "entry");
    auto layer = CreateAs<FeatureLayer>("orvaCore.FeatureLayer");
    layer->SetName("Area");
    if (withBase) layer->SetDataSourceRelativeBase(Platform("data"));
    SaveLayerFile(layer, Platform("Area.lyr"));
    json saved = json::parse(Read("Area.lyr"));
    ASSERT_EQ(saved.contains("relativeBase"), withBase);
    if (withBase) saved.erase("relativeBase");
    else saved["layer"]["selectable"] = 1;
    Write("Area.lyr", saved.dump());
    const Raised e = ErrorOf([&] { OpenLayerFile(Platform("Area.lyr")); });
    EXPECT_EQ(e.number, gisErr::DocumentFormat);
    EXPECT_TRUE(Has(e.description, withBase ? "relativeBase" : "selectable")) << e.description;
    EXPECT_TRUE(withBase || Has(e.description, Native("Area.lyr"))) << e.description;
  }
}

// Group layers in group layers, or fills outlined by fills, nested far deeper
// than any map are refused rather than exhausting the stack or the memory.
TEST_F(DocumentFormatTest, DeeplyNestedLayersAndSymbolsAreRefused) {
  // Built as text: a JSON value that deep would overflow the stack when copied.
  auto nest = [](const json& outer, const std::string& inner, int depth) {
    const std::string text = outer.dump();
    const size_t at = text.find("\"@@\"");
    std::string nested;
    for (int i = 0; i < depth; ++i) nested += text.substr(0, at);
    nested += inner;
    for (int i = 0; i < depth; ++i) nested += text.substr(at + 4);
    return nested;
  };
  auto withMarker = [](json j, const char* pointer, json marker) {
    j[json::json_pointer(pointer)] = std::move(marker);
    return j;
  };
  const json doc = json::parse(m_saved);
  const json group = withMarker(doc["maps"][0]["layers"][0], "/layers", json::array({"@@"}));
  const json fill = withMarker(doc["maps"][0]["layers"][0]["layers"][0]["renderer"]["symbol"], "/outline", "@@");
  const std::string deepGroups =
      nest(withMarker(doc, "/maps/0/layers", json::array({"@@"})), nest(group, "", 20000), 1);
  const std::string deepFills =
      nest(withMarker(doc, "/maps/0/layers/0/layers/0/renderer/symbol", "@@"), nest(fill, "null", 20000), 1);

  for (const std::string& text : {deepGroups, deepFills}) {
    Write("document.json", text);
    GisApplication app;
    EXPECT_EQ(ErrorOf([&] { app.LoadDocument(Platform("document.json")); }).number, gisErr::DocumentFormat);
  }
  // A few levels, as a user builds them, still load.
  Write("document.json", nest(withMarker(doc, "/maps/0/layers", json::array({"@@"})), nest(group, "", 5), 1));
  GisApplication app;
  app.LoadDocument(Platform("document.json"));
}

// Layer files, the map document (extent and drawn graphics) and coordinate
// systems write and read their numbers with "." under a comma-decimal locale.
class CommaLocaleTest : public GisTest {
protected:
  void SetUp() override {
    if (!german.Active()) GTEST_SKIP() << german.SkipMessage();
  }
  tov::testing::CommaLocale german;
};

TEST_F(CommaLocaleTest, LayerFilesDocumentsAndSystemsKeepDecimalPoints) {
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
  AddGraphic(map, Square(0.25, 0.5, 1.125, map->SpatialReference()));
  app.Document()->ActiveView()->SetExtent(Box(-0.75, 0.5, 2.25, 3.5, map->SpatialReference()));
  app.SaveDocument(Platform("document.json"));
  EXPECT_FALSE(Has(ReadText(Native("document.json")), "0,5"));

  GisApplication loaded;
  loaded.LoadDocument(Platform("document.json"));
  MapPtr again = loaded.Document()->FocusMap();
  EXPECT_EQ(Corners(loaded.Document()->ActiveView()->Extent()), (std::vector<double>{-0.75, 0.5, 2.25, 3.5}));
  ASSERT_EQ(again->ElementCount(), 1);
  EXPECT_EQ(Corners(again->Element(0)->Geometry()->Envelope()), (std::vector<double>{0.25, 0.5, 1.375, 1.625}));
  EXPECT_TRUE(again->SpatialReference() && again->SpatialReference()->IsSame(Projected(5070)));

  // Changed projection parameters survive their text form.
  SpatialReferencePtr albers = Projected(5070);
  albers->SetCentralMeridian(-100.5);
  albers->SetStandardParallel1(29.25);
  auto copy = CreateAs<SpatialReferenceFactory>("orvaCore.SpatialReferenceEnvironment")->CreateFromWkt(albers->ExportToWkt());
  EXPECT_EQ(std::make_pair(copy->CentralMeridian(), copy->StandardParallel1()), std::make_pair(-100.5, 29.25));
}

// Two processes on one document: each save keeps what the other saved since
// this one loaded, whether or not the file changed in between.
TEST_F(DocumentFormatTest, SavesKeepWhatAnotherProcessSavedSinceTheLoad) {
  GisApplication mine, theirs;
  mine.LoadDocument(Platform("document.json"));
  theirs.LoadDocument(Platform("document.json"));
  auto added = CreateAs<FeatureLayer>("orvaCore.FeatureLayer");
  added->SetName("Theirs");
  theirs.Document()->FocusMap()->AddLayer(added);
  theirs.SaveDocument(Platform("document.json"));

  mine.Document()->FocusMap()->Layer(0)->SetVisible(false);
  mine.SaveDocument(Platform("document.json"));
  // Saved again with nothing else saved meanwhile: the file is this document.
  mine.Document()->FocusMap()->Layer(0)->SetName("Renamed");
  mine.SaveDocument(Platform("document.json"));

  GisApplication reread;
  reread.LoadDocument(Platform("document.json"));
  MapPtr map = reread.Document()->FocusMap();
  ASSERT_EQ(map->LayerCount(), 2);
  EXPECT_EQ(std::make_tuple(map->Layer(0)->Name(), map->Layer(0)->Visible(), map->Layer(1)->Name()),
            std::make_tuple(std::string("Renamed"), false, std::string("Theirs")));

  // Saving the changes since a state: what was done before it stays out of
  // the file, though nobody else saved.
  reread.Document()->FocusMap()->Layer(1)->SetVisible(false);
  const std::string since = reread.DocumentState(Platform("document.json"));
  reread.Document()->FocusMap()->Layer(0)->SetName("Since");
  reread.SaveDocumentChangesSince(Platform("document.json"), since);
  GisApplication last;
  last.LoadDocument(Platform("document.json"));
  map = last.Document()->FocusMap();
  EXPECT_EQ(std::make_tuple(map->Layer(0)->Name(), map->Layer(1)->Visible()), std::make_tuple(std::string("Since"), true));
}

// Saving replays this process's changes onto what other processes saved.
json Feature(const std::string& name, const std::string& folder, bool visible = true) {
  return {{"type", "feature"},
          {"name", name},
          {"visible", visible},
          {"source", {{"format", "shapefile"}, {"dataset", "StudyArea"}, {"path", "/a/" + folder},
                      {"relativePath", folder}}}};
}

json Group(const std::string& name, json layers) {
  return {{"type", "group"}, {"name", name}, {"visible", true}, {"layers", std::move(layers)}};
}

json Document(json layers, json extent = nullptr) {
  return {{"version", 1},
          {"focusMap", 0},
          {"maps", json::array({{{"name", "Layers"}, {"layers", std::move(layers)}, {"extent", extent}}})}};
}

std::vector<std::string> Names(const json& layers) {
  std::vector<std::string> names;
  for (const auto& l : layers) names.push_back(l["name"]);
  return names;
}

const json& Layers(const json& doc) { return doc["maps"][0]["layers"]; }

TEST(MapDocumentMergeTest, LayersAddedByTwoProcessesAreBothKeptInTheirPlaces) {
  const json regions = Feature("Regions", "data");
  const json base = Document({regions});
  // Each process put its study area's group on top, above the reference layer.
  const json mine = Document({Group("Analyses created for A", {Feature("A", "S/1")}), regions});
  const json theirs = Document({Group("Analyses created for B", {Feature("B", "S/2")}), regions});
  const json merged = MapDocumentMerge::Merge(base, mine, theirs);
  EXPECT_EQ(Names(Layers(merged)),
            (std::vector<std::string>{"Analyses created for A", "Analyses created for B", "Regions"}));

  // Into one shared group: both children, the newest first.
  const json groupBase = Document({Group("My Analyses", {Feature("Old", "S/1")}), regions});
  const json groupMine = Document({Group("My Analyses", {Feature("C", "S/3"), Feature("Old", "S/1")}), regions});
  const json groupTheirs = Document({Group("My Analyses", {Feature("D", "S/4"), Feature("Old", "S/1")}), regions});
  const json groupMerged = MapDocumentMerge::Merge(groupBase, groupMine, groupTheirs);
  ASSERT_EQ(Layers(groupMerged).size(), 2u);
  EXPECT_EQ(Names(Layers(groupMerged)[0]["layers"]), (std::vector<std::string>{"C", "D", "Old"}));
}

TEST(MapDocumentMergeTest, DeletionsChangesAndMovesAreReplayedButOthersWorkStays) {
  const json base = Document({Feature("A", "S/1"), Feature("B", "S/2"), Feature("C", "S/3")}, {0, 0, 1, 1});
  // Here: A deleted, C hidden, B moved to the top, the extent changed.
  const json mine = Document({Feature("B", "S/2"), Feature("C", "S/3", false)}, {5, 5, 6, 6});
  // Meanwhile elsewhere: D added at the top, A's symbol changed, C deleted.
  json changedA = Feature("A", "S/1");
  changedA["renderer"] = "red";
  const json theirs = Document({Feature("D", "S/4"), changedA, Feature("B", "S/2")}, {0, 0, 1, 1});
  const json merged = MapDocumentMerge::Merge(base, mine, theirs);
  EXPECT_EQ(Names(Layers(merged)), (std::vector<std::string>{"D", "B"}));
  EXPECT_EQ(merged["maps"][0]["extent"], json({5, 5, 6, 6}));

  // What this process left alone (here: everything) keeps the other's value.
  const json theirsExtent = Document({Feature("A", "S/1", false), Feature("B", "S/2"), Feature("C", "S/3")}, {7, 7, 8, 8});
  EXPECT_EQ(MapDocumentMerge::Merge(base, base, theirsExtent), theirsExtent);

  // The same layers everywhere: a change here and one there are both kept.
  const json hiddenB = Document({Feature("A", "S/1"), Feature("B", "S/2", false), Feature("C", "S/3")}, {0, 0, 1, 1});
  const json redA = Document({changedA, Feature("B", "S/2"), Feature("C", "S/3")}, {0, 0, 1, 1});
  EXPECT_EQ(MapDocumentMerge::Merge(base, hiddenB, redA),
            Document({changedA, Feature("B", "S/2", false), Feature("C", "S/3")}, {0, 0, 1, 1}));
}

TEST(MapDocumentMergeTest, AGroupTakesTheOwnChangesOfEitherSideAndMergesItsChildren) {
  auto group = [](bool visible, json layers) {
    json g = Group("My Analyses", std::move(layers));
    g["visible"] = visible;
    return g;
  };
  const json a = Feature("A", "S/1"), b = Feature("B", "S/2"), c = Feature("C", "S/3");
  const json base = Document({group(true, {a, b})});
  // Here B was moved to the top; there the group was hidden and C added.
  const json theirs = Document({group(false, {c, a, b})});
  EXPECT_EQ(MapDocumentMerge::Merge(base, Document({group(true, {b, a})}), theirs), Document({group(false, {b, a, c})}));
  // Here the group was hidden and A changed; there C was added.
  json redA = a;
  redA["renderer"] = "red";
  EXPECT_EQ(MapDocumentMerge::Merge(base, Document({group(false, {redA, b})}), Document({group(true, {c, a, b})})),
            Document({group(false, {c, redA, b})}));
  // Nobody else saved: this process's document as it is.
  const json mine = Document({group(false, {b})});
  EXPECT_EQ(MapDocumentMerge::Merge(base, mine, base), mine);
}

TEST(MapDocumentMergeTest, ANewDocumentAddsOnlyWhatIsNotThereYet) {
  const json mine = Document({Feature("Regions", "data")});
  const json theirs = Document({Feature("A", "S/1"), Feature("Regions", "data")});
  const json merged = MapDocumentMerge::Merge(json(), mine, theirs);
  EXPECT_EQ(Names(Layers(merged)), (std::vector<std::string>{"A", "Regions"}));
  // The same name on other data is another layer (a study area made again).
  const json again = MapDocumentMerge::Merge(Document(json::array()), Document({Feature("A", "S/9")}), theirs);
  EXPECT_EQ(Names(Layers(again)), (std::vector<std::string>{"A", "A", "Regions"}));
}

} // namespace
} // namespace tov::test
