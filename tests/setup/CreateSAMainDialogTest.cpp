// The method chooser: what it offers, its options and buttons, managing from it.
#include "SetupTest.h"

#include "setup/CreateSAMainDialog.h"

namespace tov::test {
namespace {

class CreateSAMainDialogTest : public SetupTest {
protected:
  std::shared_ptr<CreateSAMainDialog> NewChooser() {
    auto chooser = std::make_shared<CreateSAMainDialog>();
    chooser->m_pApplication = analysis->application;
    chooser->m_pDataManager = analysis->dataManager;
    chooser->m_pDataSet = analysis->dataManager->DataSetByName("Test");
    chooser->InitializeDialog();
    return chooser;
  }

  // Shows the chooser once with the actions given (JSON, comma-separated).
  void Show(CreateSAMainDialog& chooser, const std::string& actions, const std::string& moreTurns = "") {
    presenter = UseSetupScript(R"({"form": "CreateSAMainDialog", "actions": [)" + actions + "]}" +
                               (moreTurns.empty() ? "" : "," + moreTurns));
    chooser.ResetParams();
    chooser.ShowModal();
    EXPECT_TRUE(presenter->Errors().empty()) << presenter->Errors()[0];
    EXPECT_EQ(presenter->PendingTurns(), 0u);
  }

  static bool Enabled(CreateSAMainDialog& chooser, const char* control) { return chooser.Ctl(control)->Enabled(); }

  std::shared_ptr<SetupRecorder> presenter;
};

TEST_F(CreateSAMainDialogTest, SavedStudyAreasCanBeOpenedAndManagedOnlyWhenThereAreSome) {
  for (const bool saved : {false, true}) {
    if (saved) { ASSERT_TRUE(Store("Harbor", -74.6)); }
    auto shown = UseSetupScript(R"({"form": "CreateSAMainDialog", "actions": [{"click": "CancelButton"}]})");
    EXPECT_EQ(RunMain().pages, -1);
    ASSERT_EQ(shown->choosers.size(), 1u);
    const ChooserShowing& c = shown->choosers[0];
    // Open, the names and Manage enabled; Create set.
    EXPECT_EQ((std::vector<bool>{c.openEnabled, c.namesEnabled, c.manageEnabled, c.createSet}),
              (std::vector<bool>{saved, saved, saved, true}));
    EXPECT_EQ(c.names, saved ? std::vector<std::string>{"Harbor"} : std::vector<std::string>{});
    EXPECT_EQ(c.name, saved ? "Harbor" : "");
  }
}

TEST_F(CreateSAMainDialogTest, SelectedShapesAreOfferedOnlyWhileAPolygonIsSelected) {
  const std::string selectedShapes = GetTextResources()->FindString("112");
  EXPECT_EQ(ListEntries(*NewChooser(), "SATasksList"),
            (std::vector<std::string>{kExtentCaption, kMapListCaption, kWholeCaption, kUnknownCaption}));

  MapPtr map = analysis->application->Document()->FocusMap();
  auto element = CreateAs<GraphicElement>(kGraphicElementProgId);
  element->SetGeometry(Rectangle(-74.5, 40.5, -74.2, 40.8, Geographic(4269)));
  map->AddElement(element);
  map->SelectElement(element);
  auto chooser = NewChooser();
  EXPECT_EQ(ListEntries(*chooser, "SATasksList"), (std::vector<std::string>{kExtentCaption, selectedShapes, kMapListCaption,
                                                                         kWholeCaption, kUnknownCaption}));
  // Chosen, it is the descriptor behind the caption.
  Show(*chooser, R"({"select": "SATasksList", "item": ")" + selectedShapes + R"("}, {"click": "NextButton"})");
  ASSERT_TRUE(chooser->m_pSSATask);
  EXPECT_EQ(chooser->m_pSSATask->Name(), "SetupStudyArea.SelectedShapes");
}

TEST_F(CreateSAMainDialogTest, OptionsFollowTheMethodAndTheWay) {
  ASSERT_TRUE(Store("Harbor", -74.6));
  ResourceFinderPtr texts = GetTextResources();
  auto chooser = NewChooser();
  // The first method is selected; regions are picked only by the map list.
  EXPECT_EQ(chooser->CtlAs<ListControl>("SATasksList")->ListIndex(), 0);
  EXPECT_FALSE(Enabled(*chooser, "FromMapOption"));

  Show(*chooser, R"({"select": "SATasksList", "item": ")" + std::string(kMapListCaption) +
                     R"("}, {"click": "FromMapOption"}, {"click": "CancelButton"})");
  EXPECT_TRUE(Enabled(*chooser, "FromListOption") && Enabled(*chooser, "FromMapOption"));
  EXPECT_EQ(std::tuple(chooser->m_bFromMap, chooser->m_Result, chooser->Ctl("NextButton")->Caption()),
            std::tuple(true, -1, texts->FindString("107")));

  Show(*chooser, R"({"click": "OpenSAOption"}, {"click": "CancelButton"})");
  EXPECT_EQ(std::pair(chooser->m_Way, chooser->Ctl("NextButton")->Caption()), std::pair(1, texts->FindString("113")));
  // Back is never offered: the chooser is the first page.
  EXPECT_FALSE(Enabled(*chooser, "BackButton"));

  // A method picked again means creating; the regions options follow it.
  Show(*chooser, R"({"select": "SATasksList", "item": ")" + std::string(kWholeCaption) +
                     R"("}, {"click": "CancelButton"})");
  EXPECT_EQ(std::pair(chooser->m_Way, chooser->Ctl("NextButton")->Caption()), std::pair(0, texts->FindString("107")));
  EXPECT_FALSE(Enabled(*chooser, "FromListOption") || Enabled(*chooser, "FromMapOption"));
  // The map option is still set, so the next showing starts from the map.
  chooser->ResetParams();
  EXPECT_TRUE(chooser->m_bFromMap);
}

TEST_F(CreateSAMainDialogTest, DoubleClicksChooseAtOnce) {
  ASSERT_TRUE(Store("Inland", -74.6));
  ASSERT_TRUE(Store("Coast", -74.0));
  auto chooser = NewChooser();
  // A method or Create double-clicked chooses the method; picking a saved
  // study area or double-clicking Open chooses opening it.
  const std::pair<std::string, int> cases[] = {
      {R"({"dblclick": "SATasksList", "item": ")" + std::string(kWholeCaption) + R"("})", 0},
      {R"({"select": "SANameCombo", "item": "Coast"}, {"click": "NextButton"})", 1},
      {R"({"dblclick": "CreateSAOption"})", 0},
      {R"({"dblclick": "OpenSAOption"})", 1}};
  for (const auto& [actions, way] : cases) {
    SCOPED_TRACE(actions);
    chooser->m_sSAName.clear();
    Show(*chooser, actions);
    EXPECT_EQ(std::tuple(chooser->m_Result, chooser->m_Way), std::tuple(1, way));
    EXPECT_EQ(way ? chooser->m_sSAName : chooser->m_pSSATask->Name(), way ? "Coast" : "SetupStudyArea.UseWhole");
  }
}

TEST_F(CreateSAMainDialogTest, AfterManagingTheListOfSavedStudyAreasIsRefilled) {
  for (const char* name : {"Alpha", "Beta", "Gamma"}) ASSERT_TRUE(Store(name, -74.6));
  auto chooser = NewChooser();
  const std::string confirm = R"({"form": "DeleteConfirmSADialog", "actions": [{"click": "YesButton"}]})";
  // Beta is remembered; removing Alpha keeps it selected.
  Show(*chooser,
       R"({"select": "SANameCombo", "item": "Beta"}, {"click": "ManageSAButton"}, {"click": "CancelButton"})",
       R"({"form": "ManageSADialog", "actions": [{"select": "SANamesList", "item": "Alpha"},
            {"deselect": "SANamesList", "item": "Beta"}, {"click": "RemoveButton"}, {"click": "CloseButton"}]},)" +
           confirm);
  EXPECT_EQ(ListEntries(*chooser, "SANameCombo"), (std::vector<std::string>{"Beta", "Gamma"}));
  EXPECT_EQ(chooser->CtlAs<ListControl>("SANameCombo")->Text(), "Beta");
  EXPECT_TRUE(Enabled(*chooser, "ManageSAButton"));

  // Removing the remembered one selects the first left.
  Show(*chooser, R"({"click": "ManageSAButton"}, {"click": "CancelButton"})",
       R"({"form": "ManageSADialog", "actions": [{"click": "RemoveButton"}, {"click": "CloseButton"}]},)" + confirm);
  EXPECT_EQ(ListEntries(*chooser, "SANameCombo"), (std::vector<std::string>{"Gamma"}));
  EXPECT_EQ(chooser->CtlAs<ListControl>("SANameCombo")->Text(), "Gamma");

  // With none left only creating remains.
  Show(*chooser, R"({"click": "OpenSAOption"}, {"click": "ManageSAButton"}, {"click": "CancelButton"})",
       R"({"form": "ManageSADialog", "actions": [{"click": "RemoveAllButton"}, {"click": "CloseButton"}]},)" + confirm);
  const auto names = ListEntries(*chooser, "SANameCombo");
  EXPECT_EQ(std::tuple(names.size(), chooser->m_Way, chooser->Ctl("CreateSAOption")->Value()), std::tuple(0u, 0, 1));
  EXPECT_FALSE(Enabled(*chooser, "OpenSAOption") || Enabled(*chooser, "SANameCombo") ||
               Enabled(*chooser, "ManageSAButton"));
}

} // namespace
} // namespace tov::test
