// Study Area Setup on the command line: every method starts at the chooser
// and ends on the name page; usage errors stop before anything is made.
#include "WorldTest.h"

#include "host/forms/ScriptedPresenter.h"
#include "host/forms/SetupScript.h"
#include "host/session/HostTaskRun.h"
#include "platform/framework/StudyAreaCatalog.h"
#include "platform/framework/StudyAreaRecord.h"
#include "platform/framework/TextPropertySet.h"
#include "platform/framework/TovExtension.h"

#include "ZipWorld.h"

#include <filesystem>
#include <fstream>

namespace tov::test {
namespace {

namespace fs = std::filesystem;

class CommandLineSetupTest : public WorldTest {
protected:
  CommandLineSetupTest() : WorldTest(AllMethodsOptions()) {}

  std::string Type(const std::string& name) {
    AnalysisPtr analysis = world->Open();
    StudyAreaCatalogPtr catalog = analysis->dataManager->GetStudyAreaCatalog();
    if (!catalog->Exists(name)) return "(missing)";
    return catalog->Item(name)->RecordProperties()->GetProperty("TYPE");
  }
  long Count() { return world->Open()->dataManager->GetStudyAreaCatalog()->Count(); }
};

TEST_F(CommandLineSetupTest, TheExtentMethodIsPlayedFromTheChooserToTheNamePage) {
  AnalysisPtr analysis = world->Open();
  ScriptedPresenterPtr presenter = UseScript(SetupMethodTurns("The current extent", "[]", "Harbour"));
  HostTaskRunResult result = RunHostTask(*analysis);
  presenter->CheckFinished();
  EXPECT_TRUE(presenter->Errors().empty()) << presenter->Errors().front();
  ASSERT_EQ(presenter->ShownForms().size(), 2u);
  EXPECT_EQ(presenter->ShownForms()[0].Form, "CreateSAMainDialog");
  EXPECT_EQ(presenter->ShownForms()[1].Form, "SelectSANameDialog");
  EXPECT_TRUE(result.Stored());
  EXPECT_EQ(result.studyAreaName, "Harbour");
}

TEST_F(CommandLineSetupTest, BackFromTheNamePageToTheChooserAndTheSameMethodAgainStoresOne) {
  const std::string script = world->Root() + "/back.json";
  std::ofstream(script) << R"({"turns": [
    {"form": "CreateSAMainDialog", "actions": [{"select": "SATasksList", "item": "The current extent"},
                                              {"click": "NextButton"}]},
    {"form": "SelectSANameDialog", "actions": [{"type": "StudyAreaNameText", "text": "First try"},
                                              {"click": "BackButton"}]},
    {"form": "CreateSAMainDialog", "actions": [{"select": "SATasksList", "item": "The current extent"},
                                              {"click": "NextButton"}]},
    {"form": "SelectSANameDialog", "actions": [{"set": "StudyAreaNameText", "text": "Harbour"},
                                              {"click": "NextButton"}]}]})";
  ASSERT_EQ(Tovana("setup script '" + script + "'"), 0) << errors;
  EXPECT_EQ(errors.find("script:"), std::string::npos) << errors;
  EXPECT_EQ(Count(), 1);
  EXPECT_EQ(Type("Harbour"), "SetupStudyArea.CurrentExtent");
}

TEST_F(CommandLineSetupTest, EachMethodStoresItsStudyArea) {
  ASSERT_EQ(Tovana("setup extent --name Harbour --lonlat --extent -74.6,40.2,-74.1,40.8"), 0) << errors;
  ASSERT_EQ(Tovana("setup whole --name Everything"), 0) << errors;
  ASSERT_EQ(Tovana("setup selected --select \"Regions:NAME = 'West'\" --name Westside"), 0) << errors;
  // The summary page's text is printed.
  EXPECT_NE(output.find("1 selected polygon"), std::string::npos) << output;
  ASSERT_EQ(Tovana("setup selected --lonlat --graphic 'POLYGON((-74.5 40.5,-74 40.5,-74 41,-74.5 40.5))' --name Drawn"), 0)
      << errors;
  ASSERT_EQ(Tovana("setup ring --lat 40.7128 --lon -74.0060 --radius 3 --units km --name Ring"), 0) << errors;
  EXPECT_EQ(Type("Harbour"), "SetupStudyArea.CurrentExtent");
  EXPECT_EQ(Type("Everything"), "SetupStudyArea.UseWhole");
  EXPECT_EQ(Type("Westside"), "SetupStudyArea.SelectedShapes");
  EXPECT_EQ(Type("Drawn"), "SetupStudyArea.SelectedShapes");
  EXPECT_EQ(Type("Ring"), "SetupStudyArea.SimpleRing");
  EXPECT_EQ(world->Open()->extension->ExtensionProperties()->GetProperty("CurrentExtent"), "Ring");
}

TEST_F(CommandLineSetupTest, UsageErrorsExitTwoBeforeTheAnalysisIsMade) {
  for (const char* arguments :
       {"setup nowhere --name A", "setup whole", "setup zip --name A", "setup ring --lat 40 --radius 3 --name A",
        "setup ring --lat 40 --lon -74 --radius 0 --name A", "setup ring --lat 40 --lon -74 --radius 40000 --name A",
        "setup ring --lat 40 --lon -74 --radius 3 --units feet --name A", "setup ring --radius 3 --name A",
        "setup ring --lat 40 --lon -74 --address 'Main St' --radius 3 --name A",
        "setup selected --name A", "setup selected --select Regions --name A",
        "setup selected --graphic 'LINESTRING(0 0,1 1)' --name A"}) {
    EXPECT_EQ(Tovana(arguments), 2) << arguments << "\n" << errors;
    EXPECT_FALSE(world->AnalysisExists()) << arguments;
  }
  Tovana("setup ring --lat 40 --lon -74 --radius 40000 --name A");
  EXPECT_NE(errors.find("40000"), std::string::npos) << errors;
}

TEST_F(CommandLineSetupTest, AnUnknownLayerARefusedClauseOrNothingSelectedExitsOne) {
  EXPECT_EQ(Tovana("setup selected --select \"Nowhere:NAME = 'West'\" --name A"), 1);
  EXPECT_NE(errors.find("no layer named \"Nowhere\""), std::string::npos) << errors;
  EXPECT_EQ(Tovana("setup selected --select \"Regions:NOSUCHFIELD = 1\" --name A"), 1);
  EXPECT_NE(errors.find("refused the where clause"), std::string::npos) << errors;
  EXPECT_EQ(Tovana("setup selected --select \"Regions:NAME = 'North'\" --name A"), 1);
  EXPECT_NE(errors.find("nothing was selected"), std::string::npos) << errors;
  EXPECT_EQ(Count(), 0);
}

// The small data set offers only the current extent.
class CommandLineOfferTest : public WorldTest {};

TEST_F(CommandLineOfferTest, AMethodTheDataSetDoesNotOfferIsToldAndExitsOne) {
  EXPECT_EQ(Tovana("setup whole --name A"), 1);
  EXPECT_NE(errors.find("does not offer the method \"SetupStudyArea.UseWhole\""), std::string::npos) << errors;
}

// The ZIP test data set: squares coded 10001, 10002, 10003 and 11201.
using CommandLineZipTest = ZipMethodTest;

TEST_F(CommandLineZipTest, AListStoresItsAreasAndARefusedListTellsTheRule) {
  ASSERT_EQ(Tovana("setup zip --zips '10001, 10002; 1120*' --name Three"), 0) << errors;
  AnalysisPtr stored = world->Open();
  ASSERT_TRUE(stored->dataManager->GetStudyAreaCatalog()->Exists("Three"));
  EXPECT_EQ(stored->dataManager->GetStudyAreaCatalog()->Item("Three")->RecordProperties()->GetProperty("TYPE"),
            "SetupStudyArea.WildCard");
  EXPECT_EQ(Tovana("setup zip --zips '1000' --name Refused"), 1);
  EXPECT_NE(errors.find("five digits"), std::string::npos) << errors;
  // The refusal is the one thing said: no script noise after it.
  EXPECT_EQ(errors.find("script:"), std::string::npos) << errors;
  EXPECT_NE(errors.find("the input was refused"), std::string::npos) << errors;
  EXPECT_FALSE(world->Open()->dataManager->GetStudyAreaCatalog()->Exists("Refused"));
}

} // namespace
} // namespace tov::test
