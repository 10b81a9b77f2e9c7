// What a command changed is saved, even when it stored no study area: the
// document agrees with the catalogue and the check passes after any command.
#include "AnalysisViews.h"
#include "WorldTest.h"

#include "host/common/Paths.h"

namespace tov::test {
namespace {

using nlohmann::json;

class CommandLineSavesTest : public WorldTest {
protected:
  CommandLineSavesTest() : WorldTest(AllMethodsOptions()) {}

  void Make(const std::vector<std::string>& names) {
    for (size_t i = 0; i < names.size(); ++i) {
      const double west = -74.6 + 0.1 * i;
      const std::string extent = std::to_string(west) + ",40.2," + std::to_string(west + 0.3) + ",40.8";
      ASSERT_EQ(Tovana("setup extent --name '" + names[i] + "' --lonlat --extent " + extent), 0) << errors;
    }
  }

  // Runs Study Area Setup with these turns; the run ends without storing.
  void RunScript(const json& turns) {
    const std::string file = world->Root() + "/script.json";
    WriteTextFile(file, json{{"turns", turns}}.dump());
    EXPECT_EQ(Tovana("setup script '" + file + "'"), 1) << errors;
  }

  static json ManageTurns(const json& manageActions, const std::vector<std::string>& confirmations = {}) {
    json turns = json::array({{{"form", "CreateSAMainDialog"},
                               {"actions", {{{"click", "ManageSAButton"}}, {{"click", "CancelButton"}}}}},
                              {{"form", "ManageSADialog"}, {"actions", manageActions}}});
    for (const std::string& button : confirmations)
      turns.push_back({{"form", "DeleteConfirmSADialog"}, {"actions", {{{"click", button}}}}});
    return turns;
  }

  // The study area layers of the saved document (any depth), by name, with
  // the names of the groups that hold them.
  struct Shown {
    std::map<std::string, json> layers;
    std::vector<std::string> groups;
  };
  static void Collect(const json& layers, Shown& out) {
    for (const json& layer : layers) {
      if (layer.value("type", "") != "group") {
        if (Has(layer.dump(), "StudyAreas")) out.layers[layer.value("name", "")] = layer;
        continue;
      }
      out.groups.push_back(layer.value("name", ""));
      Collect(layer.at("layers"), out);
    }
  }
  Shown StudyAreaLayers() const {
    Shown shown;
    Collect(FocusLayers(), shown);
    return shown;
  }

  // The saved document shows exactly the catalogued study areas, their
  // groups carry their current names, and the check agrees.
  void ExpectDocumentMatchesCatalogue(const std::set<std::string>& expected) {
    const std::vector<std::string> catalogued = CatalogueNames(*world);
    EXPECT_EQ(std::set<std::string>(catalogued.begin(), catalogued.end()), expected);
    const Shown shown = StudyAreaLayers();
    std::set<std::string> shownNames;
    for (const auto& [name, layer] : shown.layers) shownNames.insert(name);
    EXPECT_EQ(shownNames, expected) << world->DocumentText();
    for (const std::string& group : shown.groups)
      EXPECT_TRUE(group.rfind("Analyses created for ", 0) != 0 || expected.count(group.substr(21)))
          << "a group still named after a gone study area: " << group;
    EXPECT_EQ(Tovana("check"), 0) << output << errors;
  }

  double OutlineWidth(const std::string& name) const {
    const auto shown = StudyAreaLayers().layers;
    return shown.count(name) ? shown.at(name).at("renderer").at("symbol").at("outline").at("width").get<double>() : -1;
  }

  // A top-level layer of the saved focus map.
  static const json* Named(const json& layers, const std::string& name) {
    for (const auto& layer : layers)
      if (layer.value("name", "") == name) return &layer;
    return nullptr;
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

TEST_F(CommandLineSavesTest, RemovingWithYesNoAndYesToAllThenAllThenCancellingDropsTheirLayers) {
  Make({"Alpha", "Bravo", "Charlie", "Echo"});
  RunScript(ManageTurns({{{"select", "SANamesList"}, {"items", {"Alpha", "Bravo", "Charlie", "Echo"}}},
                         {{"click", "RemoveButton"}},
                         {{"click", "CloseButton"}}},
                        {"YesButton", "NoButton", "YesToAllButton"}));
  ExpectDocumentMatchesCatalogue({"Bravo"});
  RunScript(ManageTurns({{{"click", "RemoveAllButton"}}, {{"click", "CloseButton"}}}, {"YesToAllButton"}));
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
    EXPECT_TRUE(Has(output, "StudyAreas/1/StudyArea.lyr")) << output;
    EXPECT_FALSE(Has(output, "\\")) << output;
    if (world->Shared())
      EXPECT_TRUE(Has(output, world->Schema()) && !Has(output, workingFolder)) << output;
    else
      EXPECT_TRUE(Has(output, world->AnalysisFolder() + "/StudyAreas/1/StudyArea.lyr")) << output;
  }
}

TEST_F(CommandLineSavesTest, TwoRunsIntoOneAnalysisAreBothStoredAndTheSecondIsCurrent) {
  Make({"Harbour", "Mid Town"});

  AnalysisPtr analysis = world->Open();
  StudyAreaCatalogPtr catalog = analysis->dataManager->GetStudyAreaCatalog();
  ASSERT_EQ(catalog->Count(), 2);
  EXPECT_EQ(analysis->extension->ExtensionProperties()->GetProperty("CurrentExtent"), "Mid Town");
  std::vector<std::string> layerFiles;
  for (const char* name : {"Harbour", "Mid Town"}) {
    ASSERT_TRUE(catalog->Exists(name)) << name;
    StudyAreaRecordPtr record = catalog->Item(name);
    const auto properties = record->RecordProperties();
    EXPECT_EQ(properties->GetProperty("TYPE") + " on " + properties->GetProperty("MAINLAYER"),
              "SetupStudyArea.CurrentExtent on Regions");
    const fs::path layerFile = ToNativePath(record->FilePath());
    for (const fs::path& file : {layerFile, fs::path(layerFile).replace_extension(".shp")})
      EXPECT_TRUE(fs::is_regular_file(file)) << file;
    EXPECT_EQ(layerFile.parent_path().parent_path(), fs::path(analysis->folder) / "StudyAreas");
    layerFiles.push_back(layerFile.string());
  }
  EXPECT_NE(layerFiles[0], layerFiles[1]);

  const json layers = FocusLayers();
  const json* latest = Named(layers, "Analyses created for Mid Town");
  const json* earlier = Named(layers, "Analyses created for Harbour");
  ASSERT_TRUE(latest && earlier);
  EXPECT_EQ(latest->at("type"), "group");
  // The new layer first in its group, outlined wider than the earlier one.
  EXPECT_EQ(latest->at("layers").at(0).at("name"), "Mid Town");
  EXPECT_EQ(std::make_pair(OutlineWidth("Mid Town"), OutlineWidth("Harbour")), std::make_pair(4.0, 2.0));
  EXPECT_EQ(earlier->at("layers").at(0).at("name"), "Harbour");
  EXPECT_TRUE(Named(layers, "Regions"));
}

TEST_F(CommandLineSavesTest, WithoutRenamingTheSecondLayerGoesFirstInTheFirstGroup) {
  ASSERT_EQ(Tovana("setup extent --name Harbour --lonlat --extent -74.6,40.2,-74.1,40.8"), 0) << errors;
  {
    AnalysisPtr analysis = world->Open();
    analysis->extension->ExtensionOptions()->SetProperty("ChangeGroupLayerName", "False");
    SaveAnalysis(*analysis); // what a shared analysis publishes
  }
  ASSERT_EQ(Tovana("setup extent --name Bay --lonlat --extent -74.0,40.3,-73.6,40.7"), 0) << errors;

  const json layers = FocusLayers();
  EXPECT_FALSE(Named(layers, "Analyses created for Bay"));
  const json* group = Named(layers, "Analyses created for Harbour");
  ASSERT_TRUE(group);
  ASSERT_EQ(group->at("layers").size(), 2u);
  EXPECT_EQ(group->at("layers").at(0).at("name"), "Bay");
  EXPECT_EQ(group->at("layers").at(1).at("name"), "Harbour");
}

} // namespace
} // namespace tov::test
