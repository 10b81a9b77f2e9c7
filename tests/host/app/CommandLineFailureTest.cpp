// Commands that fail: the exit status and message say so; what the command
// was given is not kept, what its run already changed is.
#include "AnalysisViews.h"
#include "WorldTest.h"

namespace tov::test {
namespace {

using CommandLineFailureTest = WorldTest;

TEST_F(CommandLineFailureTest, AStoreThatFailsAfterTheRecordWasAddedExitsOneWithTheReason) {
  ASSERT_EQ(Tovana("setup extent --name Harbour"), 0) << errors;
  AddLineLayerNamed(*world->Open(), "Bay");
  const std::string documentBefore = world->DocumentText();

  EXPECT_EQ(Tovana("setup extent --name Bay"), 1);
  EXPECT_FALSE(Has(output, "stored")) << output;
  EXPECT_TRUE(Has(errors, "tovana: The study area \"Bay\" was not stored: ") && !Has(errors, "\r")) << errors;
  // The failure report went to the log, a folder's file or a shared schema's table.
  EXPECT_TRUE(Has(StoredLog(*world), "CreateStudyArea"));

  // The record stays and was made current before the outline pass failed:
  // nothing is undone, and the map saved shows what the catalogue holds, in
  // a folder and in a shared analysis alike.
  analysis = world->Open();
  EXPECT_TRUE(Catalog()->Exists("Bay"));
  EXPECT_EQ(CurrentStudyArea(), "Bay");
  analysis.reset();
  EXPECT_NE(world->DocumentText(), documentBefore);
  EXPECT_TRUE(Has(world->DocumentText(), "Analyses created for Bay"));
  // (The line layer's own data lives only in a folder analysis.)
  EXPECT_TRUE(world->Shared() || Tovana("check") == 0) << output << errors;
}

TEST_F(CommandLineFailureTest, AnExistingNameOrAMethodTheDataSetDoesNotOfferStoresNothingAndSaysWhy) {
  ASSERT_EQ(Tovana("setup extent --name Harbour"), 0) << errors;
  EXPECT_EQ(Tovana("setup extent --name Harbour"), 1);
  EXPECT_TRUE(Has(errors, "Harbour") && Has(errors, "no study area was made")) << errors;
  EXPECT_EQ(Tovana("setup extent"), 2);
  // The small data set offers only the current extent.
  EXPECT_EQ(Tovana("setup whole --name A"), 1);
  EXPECT_TRUE(Has(errors, "does not offer the method \"SetupStudyArea.UseWhole\"")) << errors;
  EXPECT_EQ(CatalogueNames(*world), std::vector<std::string>{"Harbour"});
}

TEST_F(CommandLineFailureTest, ARefusedExtentIsNotKeptForTheNextCommand) {
  if (world->Shared()) world->Open(); // only commands that store make a shared analysis
  ASSERT_EQ(Tovana("list"), 0) << errors; // a new analysis at full extent
  const nlohmann::json extentBefore = SavedDocument().at("maps").at(0).at("extent");

  // Map coordinates (metres) that place no part of it on the globe: refused,
  // naming the study area and pointing to --lonlat.
  EXPECT_EQ(Tovana("setup extent --name Nowhere --extent 1e9,1e9,2e9,2e9"), 1);
  EXPECT_TRUE(Has(errors, "\"Nowhere\"") && Has(errors, "--lonlat")) << errors;
  EXPECT_EQ(SavedDocument().at("maps").at(0).at("extent"), extentBefore);
  EXPECT_EQ(Tovana("setup extent --name Harbour"), 0) << errors;
}

TEST_F(CommandLineFailureTest, AMalformedScriptOrABackslashInTheFolderIsAUsageErrorBeforeTheAnalysisIsMade) {
  const std::string file = world->Root() + "/script.json";
  const std::string scripts[][2] = {
      {R"({"turns": [{"form": "SelectSANameDialog", "actions": []},
                     {"form": "SelectSANameDialog", "actions": [{"click": "NextButton", "set": "X", "text": "a"}]}]})",
       "turn 2, action 1: one action has one verb"},
      {std::string(20000, '[') + std::string(20000, ']'), "nested deeper than 64 levels"},
      {R"({"task": "TovSSA.NoSuchTask", "turns": []})", "no task is installed as \"TovSSA.NoSuchTask\""},
  };
  for (const auto& [script, refusal] : scripts) {
    WriteTextFile(file, script);
    EXPECT_EQ(Tovana("setup script '" + file + "'"), 2) << errors;
    EXPECT_TRUE(Has(errors, refusal)) << errors;
    EXPECT_FALSE(world->AnalysisExists());
  }
  // An analysis folder with a backslash is refused as the user wrote it.
  const std::string folder = world->Root() + "/two\\parts";
  EXPECT_EQ(TovanaWith("--analysis '" + folder + "' list"), 2);
  EXPECT_TRUE(Has(errors, "\"" + folder + "\" has a backslash")) << errors;
  EXPECT_FALSE(std::filesystem::exists(folder));
}

} // namespace
} // namespace tov::test
