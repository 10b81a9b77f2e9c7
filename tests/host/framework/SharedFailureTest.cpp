// The server going away while a change is being stored, and changes that
// collide with another user's.
#include "AnalysisViews.h"
#include "Program.h"

#include "host/framework/SharedAnalysis.h"
#include "host/session/HostTaskRun.h"
#include "platform/runtime/HostError.h"
#include "platform/runtime/ProgIds.h"

namespace tov::test {
namespace {

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Stores a study area with the current-extent method, in this process.
void Store(const Analysis& analysis, const std::string& name) {
  UseScript("[" + NameTurn(name) + "]");
  ASSERT_TRUE(RunHostTask(analysis, kCurExtentTaskProgId).Stored()) << name;
}

TEST(SharedFailureTest, ServerConnectionLostWhileStoringSavesNothingAndSaysSo) {
  TestWorld world;
  TOV_REQUIRE_SHARED_WORLD(world);
  {
    AnalysisPtr analysis = world.Open();
    Store(*analysis, "Before");
    SaveAnalysis(*analysis);
  }
  NoFailurePoint restore;
  auto killer = TestConnection();
  for (const std::string point : {"locked", "document", "commit"}) {
    AnalysisPtr analysis = world.Open();
    Store(*analysis, "Lost");
    SharedAnalysis::SetFailurePoint([&](const std::string& at, PgConnection& db) {
      if (at == point) killer->Execute("SELECT pg_terminate_backend($1)", {std::to_string(db.BackendPid())});
    });
    try {
      SaveAnalysis(*analysis);
      ADD_FAILURE() << "stored although the connection was lost at " << point;
    } catch (const HostError& e) {
      EXPECT_TRUE(Has(e.Description(), "connection to the server was lost") && Has(e.Description(), "Nothing"))
          << point << ": " << e.Description();
    }
    SharedAnalysis::SetFailurePoint(nullptr);
    const ServerView view = ReadServer(world);
    EXPECT_EQ(view.names, std::vector<std::string>{"Before"}) << point;
    EXPECT_EQ(view.problems, std::vector<std::string>{}) << point;
  }
  // And the analysis takes the next one.
  AnalysisPtr analysis = world.Open();
  Store(*analysis, "After");
  SaveAnalysis(*analysis);
  EXPECT_EQ(ReadServer(world).names, (std::vector<std::string>{"Before", "After"}));
}

TEST(SharedFailureTest, TheErrorLogOfAFailedStoreGoesToTheSchema) {
  TestWorld world;
  TOV_REQUIRE_SHARED_WORLD(world);
  {
    AnalysisPtr analysis = world.Open();
    AddLineLayerNamed(*analysis, "Bay"); // fails the store's outline pass
    UseScript("[" + NameTurn("Bay") + "]");
    EXPECT_FALSE(RunHostTask(*analysis, kCurExtentTaskProgId).Stored());
  }
  auto db = TestConnection();
  const std::string log =
      db->Scalar("SELECT string_agg(line, ' ') FROM " + PgConnection::QuoteIdentifier(world.Schema()) + ".log")
          .value_or("");
  EXPECT_TRUE(Has(log, "CreateStudyArea")) << log;
}

TEST(SharedFailureTest, ChangesThatCollideWithAnotherUsersAreRefusedWhole) {
  TestWorld world;
  TOV_REQUIRE_SHARED_WORLD(world);
  {
    AnalysisPtr analysis = world.Open();
    Store(*analysis, "Kept");
    SaveAnalysis(*analysis);
  }
  AnalysisPtr mine = world.Open(), theirs = world.Open();
  Store(*theirs, "Same");
  SaveAnalysis(*theirs);
  Store(*mine, "Same");
  try {
    SaveAnalysis(*mine);
    ADD_FAILURE() << "two study areas named Same";
  } catch (const HostError& e) {
    EXPECT_TRUE(Has(e.Description(), "Another user stored a study area named \"Same\"")) << e.Description();
  }
  const ServerView view = ReadServer(world);
  EXPECT_EQ(view.names, (std::vector<std::string>{"Kept", "Same"}));
  EXPECT_EQ(view.problems, std::vector<std::string>{});
}

} // namespace
} // namespace tov::test
