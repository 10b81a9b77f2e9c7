// An analysis opened without its map: what does not touch the map (list,
// show) works on an analysis of any size, or with a map it cannot read, and
// nothing can save the unread map over the stored one.
#include "Program.h"

#include "host/framework/AnalysisCheck.h"

namespace tov::test {
namespace {

TEST(AnalysisWithoutMapTest, ListAndShowLeaveTheMapUnreadAndNothingCanSaveIt) {
  TestWorld world;
  ASSERT_EQ(RunTovana(world, "setup extent --name Alpha --lonlat --extent -74.5,40.2,-74.2,40.8").exitCode, 0);
  const std::string document = world.AnalysisFolder() + "/document.json";
  const std::string unreadable = "{\"version\": \"not one this program writes\"}";
  WriteTextFile(document, unreadable);

  for (const char* command : {"list", "show Alpha"}) {
    const ProgramRun run = RunTovana(world, command);
    EXPECT_EQ(run.exitCode, 0) << command << ": " << run.errors;
    EXPECT_TRUE(Has(run.output, "Alpha")) << command << ": " << run.output;
  }
  // What needs the map still reads it, and refuses it.
  EXPECT_NE(RunTovana(world, "render --out '" + world.Root() + "/map.png'").exitCode, 0);

  AnalysisPtr analysis = OpenAnalysis(world.AnalysisFolder(), "Test", world.DataRoot(), true,
                                      AnalysisOpening::WithoutMap);
  EXPECT_FALSE(analysis->application);
  EXPECT_EQ(AnalysisCheck::BrokenReason(*analysis, "Alpha"), "");
  EXPECT_TRUE(ErrorOf([&] { SaveAnalysis(*analysis); }).raised);
  EXPECT_EQ(ReadTextFile(document), unreadable);

  // A new analysis is still made whole, map and all.
  AnalysisPtr made = OpenAnalysis(world.Root() + "/new", "Test", world.DataRoot(), true, AnalysisOpening::WithoutMap);
  ASSERT_TRUE(made->application);
  EXPECT_GT(made->application->Document()->FocusMap()->LayerCount(), 0);
  EXPECT_TRUE(fs::exists(world.Root() + "/new/document.json"));
}

} // namespace
} // namespace tov::test
