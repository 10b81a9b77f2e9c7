#pragma once
// Shared analyses on the test cluster: running the program on one and
// reading what the database holds, without the host's own copy of it.
#include "PostgisCluster.h"
#include "support/ComponentTestSupport.h"
#include "support/ProgramRuns.h"

#include "host/framework/PgConnection.h"
#include "host/framework/SharedAnalysis.h"

#include <memory>
#include <string>
#include <vector>

namespace tov::test {

// In a test body: every test here needs the cluster.
#define TOV_REQUIRE_SHARED_WORLD(world)                                                                  \
  do {                                                                                                   \
    if (!(world).Shared())                                                                               \
      GTEST_SKIP() << "no PostGIS cluster (scripts/install-deps installs the server and PostGIS)";       \
  } while (0)

// Takes the hook off the shared analyses' failure points at the end of a test.
struct NoFailurePoint {
  ~NoFailurePoint() { SharedAnalysis::SetFailurePoint(nullptr); }
};

// A connection of the test's own to the cluster.
std::unique_ptr<PgConnection> TestConnection();

// What the schema holds, read with SQL.
struct ServerView {
  std::vector<std::string> names;         // catalogue, by id
  std::vector<std::string> documentNames; // feature layers of the stored document
  std::vector<std::string> problems;      // what disagrees, one line each
};
ServerView ReadServer(const TestWorld& world);

} // namespace tov::test
