// The manage dialog: Rename, Modify, Remove, and missing layer files.
#include "ManageTest.h"
#include "ProbeTask.h"

#include "manage/ManageSADialog.h"

namespace tov::test {
namespace {

class ManageSADialogTest : public ManageTest {
protected:
  // Shows the dialog with preselect current and plays the turns (`meanwhile`
  // run between filling and showing it); the dialog is left loaded to be examined.
  std::shared_ptr<ManageSADialog> Run(const std::string& preselect, const std::string& turns,
                                      const std::function<void()>& meanwhile = {}) {
    presenter = UseConfirmScript("[" + turns + "]");
    auto dialog = std::make_shared<ManageSADialog>();
    dialog->m_pDataManager = analysis->dataManager;
    dialog->m_pApplication = analysis->application;
    dialog->InitializeDialog(preselect);
    if (meanwhile) meanwhile();
    dialog->ShowModal();
    presenter->CheckFinished();
    for (const std::string& error : presenter->Errors()) ADD_FAILURE() << error;
    return dialog;
  }

  static std::string ManageTurn(const std::string& actions) {
    return R"({"form": "ManageSADialog", "actions": [)" + actions + R"(, {"click": "CloseButton"}]})";
  }
  static std::string EditTurn(const std::string& actions) {
    return R"({"form": "SAEditNameDialog", "actions": [)" + actions + "]}";
  }
  // Rename pressed, then the new name typed and OK pressed.
  static std::string RenameTurns(const std::string& to) {
    return ManageTurn(R"({"click": "RenameButton"})") + "," +
           EditTurn(R"({"set": "ToText", "text": ")" + to + R"("}, {"click": "OKButton"})");
  }
  // The one message shown: a critical one without a title.
  void ExpectCritical(const std::string& text) {
    EXPECT_EQ(ShownMessages(*presenter), std::vector<std::string>{MessageOf("critical", "", text)});
  }
  static std::vector<std::string> Entries(ManageSADialog& dialog) { return ListEntries(dialog, "SANamesList"); }
  static std::string Current(ManageSADialog& dialog) {
    auto list = dialog.CtlAs<ListControl>("SANamesList");
    return list->List(list->ListIndex());
  }
};

TEST_F(ManageSADialogTest, RenameReachesEveryMapAndTheGroupLayersHoldingTheStudyArea) {
  ASSERT_TRUE(Store("Harbor", -74.6));
  // A second map shows it inside a group named after it; the focus map also
  // has it in a group whose name does not contain it, and a group named after
  // it that does not hold it.
  MapPtr other = CreateAs<Map>(kMapProgId);
  Document()->AddMap(other);
  for (const auto& [map, groupName] : {std::pair{other, "Harbor work"}, {FocusMap(), "Coastal"}}) {
    GroupLayerPtr group = NewGroup(groupName);
    group->Add(FileLayer("Harbor"));
    map->AddLayer(group);
  }
  FocusMap()->AddLayer(NewGroup("Harbor notes"));
  const std::string path = LayerFilePath("Harbor");
  const std::set<std::string> files = FileNames(FolderOf("Harbor"));

  auto dialog = Run("Harbor", RenameTurns("Harbor East"));

  EXPECT_FALSE(Catalog()->Exists("Harbor"));
  ASSERT_TRUE(Catalog()->Exists("Harbor East"));
  EXPECT_EQ(LayerFilePath("Harbor East"), path);
  EXPECT_EQ(CurrentStudyArea(), "Harbor East"); // it was current and stays so
  // Each group holding it is renamed once, however many layers it shows.
  EXPECT_EQ(LayerCounts(FocusMap(), {"Harbor East", "Harbor", "Analyses created for Harbor East", "Coastal",
                                     "Harbor notes"}),
            (std::vector<size_t>{2, 0, 1, 1, 1}));
  EXPECT_EQ(LayerCounts(other, {"Harbor East", "Harbor East work"}), (std::vector<size_t>{1, 1}));
  // The layer file carries the new name and still finds its data; no file
  // was renamed.
  FeatureLayerPtr saved = OpenLayerFileLayer(path);
  ASSERT_TRUE(saved);
  EXPECT_EQ(std::tuple(saved->Name(), saved->FeatureClass()->FeatureCount(nullptr), Current(*dialog)),
            std::tuple("Harbor East", 1, "Harbor East"));
  EXPECT_EQ(FileNames(FolderOf("Harbor East")), files);
}

TEST_F(ManageSADialogTest, RenameFindsAStudyAreaStoredInAPersonalGeodatabase) {
  Properties()->SetProperty("Data Format", "Personal Geodatabase");
  ASSERT_TRUE(Store("Packed", -74.6));
  Run("Packed", RenameTurns("Stored"));
  EXPECT_EQ(LayerCounts(FocusMap(), {"Stored", "Analyses created for Stored"}), (std::vector<size_t>{1, 1}));
  EXPECT_EQ(FileLayer("Stored")->Name(), "Stored");
}

TEST_F(ManageSADialogTest, AnExistingNameIsRefusedAndCanBeCorrectedInPlaceOrTheRenameClosed) {
  ASSERT_TRUE(StoreAll({"Harbor", "Bay"}));
  // After a refused name the dialog comes back; its close box must end the
  // rename, not confirm the refused name again.
  auto dialog = Run("Harbor", RenameTurns("Bay") + "," + EditTurn(R"({"close": true})"));
  EXPECT_EQ(std::tuple(presenter->Messages().size(), Catalog()->Exists("Harbor"), Entries(*dialog)),
            std::tuple(1u, true, std::vector<std::string>{"Harbor", "Bay"}));

  // The typed text is still there: typing on gives "Bay 2".
  dialog =
      Run("Harbor", RenameTurns("Bay") + "," + EditTurn(R"({"type": "ToText", "text": " 2"}, {"click": "OKButton"})"));
  EXPECT_EQ(ShownMessages(*presenter),
            std::vector<std::string>{MessageOf("exclamation", "Study Area Setup",
                                               "\"Bay\" is already the name of a study area. Type a different name.")});
  EXPECT_TRUE(Catalog()->Exists("Bay 2") && Catalog()->Exists("Bay") && !Catalog()->Exists("Harbor"));
  EXPECT_EQ(Entries(*dialog), (std::vector<std::string>{"Bay 2", "Bay"}));
}

TEST_F(ManageSADialogTest, RemovePassesEverySelectedNameInOneRun) {
  ASSERT_TRUE(StoreAll({"Alpha", "Beta", "Gamma"}));
  // Alpha comes preselected; the user picks the other two instead.
  auto dialog = Run("Alpha", ManageTurn(R"({"select": "SANamesList", "items": ["Beta", "Gamma"]},
                                          {"deselect": "SANamesList", "item": "Alpha"},
                                          {"click": "RemoveButton"})") +
                                 "," + ConfirmTurn("YesButton") + "," + ConfirmTurn("YesButton"));
  EXPECT_EQ(questions,
            (std::vector<std::string>{"Are you sure you want to delete Beta?", "Are you sure you want to delete Gamma?"}));
  EXPECT_EQ(std::tuple(Entries(*dialog), Current(*dialog), dialog->m_Result),
            std::tuple(std::vector<std::string>{"Alpha"}, "Alpha", 0));
}

TEST_F(ManageSADialogTest, ModifyDrivesThePropertySheetTask) {
  ASSERT_TRUE(StoreAll({"Alpha", "Beta"}));
  const std::string modify = ManageTurn(R"({"click": "ModifyButton"})");
  const std::vector<std::string> all = {"Init",         "InitParamSelector", "SetParam StudyArea", "DoParamSelector",
                                        "InitFunction", "StartFunction"};
  // Run through, cancelled in its pages, refusing to start: the calls made.
  for (const auto& [initResult, pagesResult] : {std::pair{true, 0}, std::pair{true, -1}, std::pair{false, 0}}) {
    const size_t made = !initResult ? 1 : pagesResult ? 4 : 6;
    SCOPED_TRACE(made);
    ProbeScope sheet(kPropertySheetTaskProgId);
    sheet.log.callsHoldKeys = true;
    sheet.log.initResult = initResult;
    sheet.log.pagesResult = pagesResult;
    auto dialog = Run("Beta", modify);
    EXPECT_EQ(std::tuple(sheet.log.calls, sheet.log.record, Current(*dialog), presenter->Messages().size()),
              std::tuple(std::vector<std::string>(all.begin(), all.begin() + made), made > 1 ? "Beta" : "", "Beta",
                         0u));
  }
  ClassRemoval noSheet(kPropertySheetTaskProgId);
  Run("Beta", modify);
  ExpectCritical("The study area properties cannot be shown because the property sheet component is not available.");
}

TEST_F(ManageSADialogTest, AStudyAreaWithoutItsLayerFileIsOfferedForRemoval) {
  ASSERT_TRUE(Store("Alpha", -74.6));
  for (const std::string button : {"ModifyButton", "RenameButton"}) {
    ASSERT_TRUE(Store("Lost", -74.2));
    const std::string path = LayerFilePath("Lost");
    fs::remove(ToNativePath(path));
    auto dialog = Run("Lost", ManageTurn(R"({"click": ")" + button + R"("})") + "," + ConfirmTurn("YesButton"));
    ExpectMissingFileTold(path);
    EXPECT_EQ(questions, (std::vector<std::string>{"Are you sure you want to delete Lost?"})) << button;
    EXPECT_TRUE(!Catalog()->Exists("Lost") && Catalog()->Exists("Alpha")) << button;
    EXPECT_EQ(Entries(*dialog), (std::vector<std::string>{"Alpha"})) << button;
  }
}

TEST_F(ManageSADialogTest, RenamingAStudyAreaGoneSinceTheListWasFilledSaysSo) {
  ASSERT_TRUE(StoreAll({"Harbor", "Bay"}));
  // Another window on the analysis removes it while the list shows it.
  auto dialog = Run("Harbor", ManageTurn(R"({"click": "RenameButton"})"), [this] { Catalog()->Remove("Harbor"); });
  ExpectCritical("There is no saved study area with this name: Harbor");
  EXPECT_EQ(std::tuple(Entries(*dialog), Catalog()->Exists("Bay")), std::tuple(std::vector<std::string>{"Bay"}, true));
}

} // namespace
} // namespace tov::test
