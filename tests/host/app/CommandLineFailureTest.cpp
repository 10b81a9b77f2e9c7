// Commands that fail: the exit status and message say so; what the command
// was given is not kept, what its run already changed is.
#include "WorldTest.h"

#include "platform/framework/StudyAreaCatalog.h"
#include "platform/framework/TovExtension.h"

#include <filesystem>
#include <fstream>

namespace tov::test {
namespace {

using nlohmann::json;

class CommandLineFailureTest : public WorldTest {};

TEST_F(CommandLineFailureTest, AStoreThatFailsAfterTheRecordWasAddedExitsOneWithTheReason) {
  ASSERT_EQ(Tovana("setup extent --name Harbour"), 0) << errors;
  AddLineLayerNamed(*world->Open(), "Bay");
  const std::string documentBefore = world->DocumentText();

  EXPECT_EQ(Tovana("setup extent --name Bay"), 1);
  EXPECT_EQ(output.find("stored"), std::string::npos) << output;
  EXPECT_NE(errors.find("tovana: The study area \"Bay\" was not stored: "), std::string::npos) << errors;

  AnalysisPtr analysis = world->Open();
  // The record stays and was made current before the outline pass failed:
  // nothing is undone, and the map saved shows what the catalogue holds, in
  // a folder and in a shared analysis alike.
  EXPECT_TRUE(analysis->dataManager->GetStudyAreaCatalog()->Exists("Bay"));
  EXPECT_EQ(analysis->extension->ExtensionProperties()->GetProperty("CurrentExtent"), "Bay");
  EXPECT_NE(world->DocumentText(), documentBefore);
  EXPECT_NE(world->DocumentText().find("Analyses created for Bay"), std::string::npos);
  // (The line layer's own data lives only in a folder analysis.)
  if (!world->Shared()) {
    EXPECT_EQ(Tovana("check"), 0) << output << errors;
  }
}

TEST_F(CommandLineFailureTest, ARefusedExtentIsNotKeptForTheNextCommand) {
  if (world->Shared()) world->Open(); // only commands that store make a shared analysis
  ASSERT_EQ(Tovana("list"), 0) << errors; // a new analysis at full extent
  const json extentBefore = SavedDocument().at("maps").at(0).at("extent");

  // Map coordinates (metres) that place no part of it on the globe.
  EXPECT_EQ(Tovana("setup extent --name Nowhere --extent 1e9,1e9,2e9,2e9"), 1);
  EXPECT_NE(errors.find("\"Nowhere\""), std::string::npos) << errors;
  EXPECT_EQ(SavedDocument().at("maps").at(0).at("extent"), extentBefore);

  EXPECT_EQ(Tovana("setup extent --name Harbour"), 0) << errors;
}

TEST_F(CommandLineFailureTest, AMalformedOrTooDeepScriptIsAUsageErrorBeforeTheAnalysisIsMade) {
  const std::string file = world->Root() + "/script.json";
  const std::string scripts[][2] = {
      {R"({"turns": [{"form": "SelectSANameDialog", "actions": []},
                     {"form": "SelectSANameDialog", "actions": [{"click": "NextButton", "set": "X", "text": "a"}]}]})",
       "turn 2, action 1: one action has one verb"},
      {std::string(20000, '[') + std::string(20000, ']'), "nested deeper than 64 levels"},
      {R"({"task": "TovSSA.NoSuchTask", "turns": []})", "no task is installed as \"TovSSA.NoSuchTask\""},
  };
  for (const auto& [script, refusal] : scripts) {
    std::ofstream(file) << script;
    EXPECT_EQ(Tovana("setup script '" + file + "'"), 2) << errors;
    EXPECT_NE(errors.find(refusal), std::string::npos) << errors;
    EXPECT_FALSE(world->AnalysisExists());
  }
}

TEST_F(CommandLineFailureTest, AnAnalysisFolderWithABackslashIsRefusedAsTheUserWroteIt) {
  const std::string folder = world->Root() + "/two\\parts";
  EXPECT_EQ(TovanaWith("--analysis '" + folder + "' list"), 2);
  EXPECT_NE(errors.find("\"" + folder + "\" has a backslash"), std::string::npos) << errors;
  EXPECT_FALSE(std::filesystem::exists(folder));
}

} // namespace
} // namespace tov::test
