#pragma once
// What an analysis holds, read from outside the code under test.
#include "TestWorld.h"

#include "host/framework/PgConnection.h"
#include "host/framework/SharedAnalysis.h"

namespace tov::test {

// The catalogue's names as the next session reads them.
std::vector<std::string> CatalogueNames(const TestWorld& world);

// The error log as stored: the folder's log.txt, or the shared schema's log.
std::string StoredLog(const TestWorld& world);

// Names of the feature layers of the saved document (every map, any depth).
std::vector<std::string> DocumentLayerNames(const TestWorld& world);

// What disagrees between the catalogue, the study area folders or tables,
// the layer files and the document: one line each.
std::vector<std::string> Inconsistencies(const TestWorld& world);

// Layers of a live map (every level) whose name is exactly name; the first of them.
std::vector<LayerPtr> LayersNamed(const MapPtr& map, const std::string& name);
LayerPtr FindLayer(const MapPtr& map, const std::string& name);
double OutlineWidth(const LayerPtr& layer);
GroupLayerPtr NewGroup(const std::string& name);
FeatureLayerPtr NamedLayer(const std::string& name);

// A connection of the test's own to the cluster.
std::unique_ptr<PgConnection> TestConnection();

// What a shared analysis's schema holds, read with SQL.
struct ServerView {
  std::vector<std::string> names;         // catalogue, by id
  std::vector<std::string> documentNames; // feature layers of the stored document
  std::vector<std::string> problems;      // what disagrees, one line each
};
ServerView ReadServer(const TestWorld& world);

// Takes the hook off the shared analyses' failure points at the end of a test.
struct NoFailurePoint {
  ~NoFailurePoint() { SharedAnalysis::SetFailurePoint(nullptr); }
};

} // namespace tov::test

// In a test body: the test is about shared analyses and runs in the database run.
#define TOV_REQUIRE_SHARED_WORLD(world)                                                                  \
  do {                                                                                                   \
    if (!(world).Shared()) GTEST_SKIP() << "runs in the database run (PostGIS.*) with its cluster";       \
  } while (0)
