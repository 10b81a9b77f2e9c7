// What a command changed is saved, even when it stored no study area: the
// map document always agrees with the catalogue afterwards, and the
// analysis check finds nothing wrong after any command.
#include "WorldTest.h"

#include "platform/framework/StudyAreaCatalog.h"
#include "platform/framework/TovExtension.h"

#include <fstream>
#include <set>

namespace tov::test {
namespace {

using nlohmann::json;

class CommandLineSavesTest : public WorldTest {
protected:
  CommandLineSavesTest() : WorldTest(AllMethodsOptions()) {}

  void Make(const std::vector<std::string>& names) {
    double west = -74.6;
    for (const std::string& name : names) {
      ASSERT_EQ(Tovana("setup extent --name " + name + " --lonlat --extent " + std::to_string(west) +
                       ",40.2," + std::to_string(west + 0.3) + ",40.8"),
                0)
          << errors;
      west += 0.1;
    }
  }

  // Runs Study Area Setup with these turns; the run ends without storing.
  void RunScript(const json& turns) {
    const std::string file = world->Root() + "/script.json";
    std::ofstream(file) << json{{"turns", turns}}.dump();
    EXPECT_EQ(Tovana("setup script '" + file + "'"), 1) << errors;
  }

  static json ManageTurns(const json& manageActions) {
    return json::array({{{"form", "CreateSAMainDialog"},
                         {"actions", {{{"click", "ManageSAButton"}}, {{"click", "CancelButton"}}}}},
                        {{"form", "ManageSADialog"}, {"actions", manageActions}}});
  }

  // The study area layers of the saved document (any depth), by name, with
  // the names of the groups that hold them.
  static void Collect(const json& layers, std::map<std::string, json>& out, std::vector<std::string>& groups) {
    for (const json& layer : layers) {
      if (layer.value("type", "") == "group") {
        groups.push_back(layer.value("name", ""));
        Collect(layer.at("layers"), out, groups);
      } else if (layer.dump().find("StudyAreas") != std::string::npos) {
        out[layer.value("name", "")] = layer;
      }
    }
  }

  // The saved document shows exactly the catalogued study areas, their
  // groups carry their current names, and the check agrees.
  void ExpectDocumentMatchesCatalogue(const std::set<std::string>& expected) {
    std::set<std::string> catalogued;
    CollectionPtr names = world->Open()->dataManager->GetStudyAreaCatalog()->Names();
    for (long i = 1; i <= names->Count(); ++i) catalogued.insert(names->Item(i).ToString());
    EXPECT_EQ(catalogued, expected);
    std::map<std::string, json> shown;
    std::vector<std::string> groups;
    Collect(FocusLayers(), shown, groups);
    std::set<std::string> shownNames;
    for (const auto& [name, layer] : shown) shownNames.insert(name);
    EXPECT_EQ(shownNames, expected) << world->DocumentText();
    for (const std::string& group : groups) {
      if (group.rfind("Analyses created for ", 0) != 0) continue;
      EXPECT_TRUE(expected.count(group.substr(21))) << "a group still named after a gone study area: " << group;
    }
    EXPECT_EQ(Tovana("check"), 0) << output << errors;
  }

  double OutlineWidth(const std::string& name) {
    std::map<std::string, json> shown;
    std::vector<std::string> groups;
    Collect(FocusLayers(), shown, groups);
    return shown.count(name) ? shown[name].at("renderer").at("symbol").at("outline").at("width").get<double>() : -1;
  }
};

TEST_F(CommandLineSavesTest, OpeningFromTheChooserSavesTheMapWithTheOpenedOneCurrent) {
  Make({"Alpha", "Bravo"});
  const std::string before = world->DocumentText();
  RunScript(json::array({{{"form", "CreateSAMainDialog"},
                          {"actions", {{{"click", "OpenSAOption"}},
                                       {{"select", "SANameCombo"}, {"item", "Alpha"}},
                                       {{"click", "NextButton"}}}}}}));
  EXPECT_EQ(world->Open()->extension->ExtensionProperties()->GetProperty("CurrentExtent"), "Alpha");
  EXPECT_NE(world->DocumentText(), before);
  EXPECT_EQ(OutlineWidth("Alpha"), 4.0);
  EXPECT_EQ(OutlineWidth("Bravo"), 2.0);
  ExpectDocumentMatchesCatalogue({"Alpha", "Bravo"});
}

TEST_F(CommandLineSavesTest, RenamingThenCancellingSavesTheNewNameInLayersAndGroups) {
  Make({"Alpha", "Bravo"});
  json turns = ManageTurns({{{"deselect", "SANamesList"}, {"items", {"Alpha", "Bravo"}}},
                            {{"select", "SANamesList"}, {"item", "Bravo"}},
                            {{"click", "RenameButton"}},
                            {{"click", "CloseButton"}}});
  turns.push_back({{"form", "SAEditNameDialog"},
                   {"actions", {{{"set", "ToText"}, {"text", "Delta"}}, {{"click", "OKButton"}}}}});
  RunScript(turns);
  ExpectDocumentMatchesCatalogue({"Alpha", "Delta"});
  EXPECT_EQ(world->DocumentText().find("Bravo"), std::string::npos) << world->DocumentText();
}

TEST_F(CommandLineSavesTest, RemovingWithYesNoAndYesToAllThenCancellingDropsTheirLayers) {
  Make({"Alpha", "Bravo", "Charlie", "Echo"});
  json turns = ManageTurns({{{"select", "SANamesList"}, {"items", {"Alpha", "Bravo", "Charlie", "Echo"}}},
                            {{"click", "RemoveButton"}},
                            {{"click", "CloseButton"}}});
  for (const char* button : {"YesButton", "NoButton", "YesToAllButton"})
    turns.push_back({{"form", "DeleteConfirmSADialog"}, {"actions", {{{"click", button}}}}});
  RunScript(turns);
  ExpectDocumentMatchesCatalogue({"Bravo"});
}

TEST_F(CommandLineSavesTest, RemovingAllThenCancellingLeavesNoStudyAreaLayer) {
  Make({"Alpha", "Bravo"});
  json turns = ManageTurns({{{"click", "RemoveAllButton"}}, {{"click", "CloseButton"}}});
  turns.push_back({{"form", "DeleteConfirmSADialog"}, {"actions", {{{"click", "YesToAllButton"}}}}});
  RunScript(turns);
  ExpectDocumentMatchesCatalogue({});
}

TEST_F(CommandLineSavesTest, ARunThatChangesNothingLeavesTheDocumentAlone) {
  Make({"Alpha"});
  const std::string before = world->DocumentText();
  RunScript(json::array({{{"form", "CreateSAMainDialog"}, {"actions", {{{"click", "CancelButton"}}}}}}));
  // A refused extent is not kept either.
  EXPECT_EQ(Tovana("setup extent --name Alpha --lonlat --extent -74.2,40.5,-74.1,40.6"), 1);
  EXPECT_EQ(world->DocumentText(), before);
}

TEST_F(CommandLineSavesTest, TheCheckPassesAfterEveryCommand) {
  const std::string out = world->Root() + "/out.geojson";
  for (const std::string& command :
       {std::string("setup extent --name Alpha --lonlat --extent -74.6,40.2,-74.1,40.8"),
        std::string("setup whole --name Whole"), std::string("setup selected --select \"Regions:NAME <> ''\" --name Sel"),
        std::string("setup ring --lat 40.7 --lon -74.0 --radius 3 --name Ring"), std::string("list"),
        std::string("open Alpha"), std::string("rename Sel Chosen"), std::string("show Chosen"),
        std::string("export Ring --out '" + out + "'"), std::string("delete Whole"),
        std::string("delete Ring Chosen --answers no,yes"), std::string("render --out '" + world->Root() + "/map.png'"),
        std::string("rename Nowhere Else"), std::string("open Nowhere")}) {
    Tovana(command);
    EXPECT_EQ(Tovana("check"), 0) << "after: " << command << "\n" << output << errors;
  }
  // Asked in list order: Chosen kept, Ring deleted.
  ExpectDocumentMatchesCatalogue({"Alpha", "Chosen"});
}

TEST_F(CommandLineSavesTest, ListAndShowSayWhereAStudyAreaLivesNotWhereThisProcessCopiedIt) {
  Make({"Alpha"});
  const std::string workingFolder = world->Open()->folder;
  for (const char* command : {"list", "show Alpha"}) {
    ASSERT_EQ(Tovana(command), 0) << errors;
    EXPECT_NE(output.find("StudyAreas/1/StudyArea.lyr"), std::string::npos) << output;
    EXPECT_EQ(output.find('\\'), std::string::npos) << output;
    if (world->Shared()) {
      EXPECT_NE(output.find(world->Schema()), std::string::npos) << output;
      EXPECT_EQ(output.find(workingFolder), std::string::npos) << output;
    } else {
      EXPECT_NE(output.find(world->AnalysisFolder() + "/StudyAreas/1/StudyArea.lyr"), std::string::npos) << output;
    }
  }
}

} // namespace
} // namespace tov::test
