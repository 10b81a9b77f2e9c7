// Saving replays this process's changes onto what other processes saved.
#include "host/gis/MapDocumentMerge.h"

#include <gtest/gtest.h>

using nlohmann::json;

namespace tov {
namespace {

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

  // What this process left alone keeps the other's value.
  const json mineUntouched = base;
  const json theirsExtent = Document({Feature("A", "S/1", false), Feature("B", "S/2"), Feature("C", "S/3")}, {7, 7, 8, 8});
  const json kept = MapDocumentMerge::Merge(base, mineUntouched, theirsExtent);
  EXPECT_EQ(kept, theirsExtent);
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
} // namespace tov
