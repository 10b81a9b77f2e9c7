// Every command on a shared analysis, and what the database then holds.
#include "AnalysisViews.h"
#include "Program.h"

#include "host/framework/AnalysisCheck.h"
#include "host/framework/SharedAnalysis.h"
#include "platform/framework/StudyAreaCatalog.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace tov::test {
namespace {

const char kWest[] = "--lonlat --extent=-74.9,40.2,-74.5,40.8";
const char kEast[] = "--lonlat --extent=-74.3,40.3,-73.8,40.9";

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(SharedCommandsTest, EveryCommandWorksOnASharedAnalysisAndItsStudyAreasAreTables) {
  TestWorld world;
  TOV_REQUIRE_SHARED_WORLD(world);
  ProgramRun run = RunTovana(world, std::string("setup extent --name Alpha ") + kWest);
  ASSERT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_TRUE(Has(run.output, "stored in PG:")) << run.output;
  ASSERT_EQ((run = RunTovana(world, std::string("setup extent --name Beta ") + kEast)).exitCode, 0) << run.errors;

  run = RunTovana(world, "list");
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_TRUE(Has(run.output, "Alpha") && Has(run.output, "Beta")) << run.output;
  EXPECT_EQ((run = RunTovana(world, "open Alpha")).exitCode, 0) << run.errors;
  EXPECT_EQ((run = RunTovana(world, "rename Beta Gamma")).exitCode, 0) << run.errors;
  run = RunTovana(world, "show Gamma --json");
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_TRUE(Has(run.output, "Gamma")) << run.output;
  const std::string exported = world.Root() + "/gamma.geojson";
  EXPECT_EQ((run = RunTovana(world, "export Gamma --out '" + exported + "'")).exitCode, 0) << run.errors;
  EXPECT_TRUE(Has(ReadTextFile(exported), "Polygon"));
  const std::string png = world.Root() + "/map.png";
  EXPECT_EQ((run = RunTovana(world, "render --size 200x150 --out '" + png + "'")).exitCode, 0) << run.errors;
  EXPECT_TRUE(fs::exists(png));
  run = RunTovana(world, "check");
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_TRUE(Has(run.output, "consistent")) << run.output;
  EXPECT_EQ((run = RunTovana(world, "delete Alpha")).exitCode, 0) << run.errors;

  const ServerView view = ReadServer(world);
  EXPECT_EQ(view.names, std::vector<std::string>{"Gamma"});
  EXPECT_EQ(view.problems, std::vector<std::string>{});
  // The study area is a PostGIS table in the analysis's system.
  auto db = TestConnection();
  const std::string s = PgConnection::QuoteIdentifier(world.Schema()) + ".";
  const std::string table =
      db->Scalar("SELECT table_name FROM " + s + "record_tables t JOIN " + s + "study_areas a ON a.id = t.record_id")
          .value_or("");
  EXPECT_EQ(db->Scalar("SELECT ST_SRID(shape) FROM " + s + PgConnection::QuoteIdentifier(table)).value_or(""), "5070");
  // The new analysis's default options were published with it.
  EXPECT_EQ(db->Scalar("SELECT value FROM " + s + "settings WHERE facet = 'ExtensionOptions' AND key = "
                       "'Use Group Layer For Analysis'")
                .value_or(""),
            "True");
  // Nothing of the copies the processes worked on is left behind.
  EXPECT_EQ(db->Scalar("SELECT count(*) FROM " + s + "document WHERE content LIKE '%tovana-shared-%'").value_or(""), "0");
}

TEST(SharedCommandsTest, AnotherCopyOpensWhatWasStoredWhole) {
  TestWorld world;
  TOV_REQUIRE_SHARED_WORLD(world);
  ASSERT_EQ(RunTovana(world, std::string("setup extent --name Alpha ") + kWest).exitCode, 0);
  AnalysisPtr analysis = world.Open();
  ASSERT_TRUE(analysis->shared);
  EXPECT_TRUE(analysis->dataManager->GetStudyAreaCatalog()->Exists("Alpha"));
  EXPECT_EQ(AnalysisCheck::BrokenReason(*analysis, "Alpha"), "");
  const std::string folder = analysis->folder;
  EXPECT_TRUE(fs::exists(folder));
  analysis.reset();
  EXPECT_FALSE(fs::exists(folder)) << "the working copy outlived its analysis";
}

TEST(SharedCommandsTest, UnreachableServerAndMissingSchemaAreRefusedWithWhatToDo) {
  TestWorld world;
  TOV_REQUIRE_SHARED_WORLD(world);
  ProgramRun run = RunTovanaOn(world, "PG:host=/nonexistent-socket-folder dbname=tovana user=tovana schemas=x", "list");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(Has(run.errors, "cannot be reached")) << run.errors;

  // Only a command that stores makes a missing schema; the others say how.
  for (const char* command : {"list", "show Alpha", "render --out x.png"}) {
    run = RunTovana(world, command);
    EXPECT_EQ(run.exitCode, 1) << command;
    EXPECT_TRUE(Has(run.errors, "does not exist") && Has(run.errors, "setup") && Has(run.errors, "CREATE SCHEMA"))
        << run.errors;
  }
  EXPECT_FALSE(world.AnalysisExists());
  EXPECT_EQ(RunTovana(world, std::string("setup extent --name Alpha ") + kWest).exitCode, 0);
  EXPECT_TRUE(world.AnalysisExists());
}

} // namespace
} // namespace tov::test
