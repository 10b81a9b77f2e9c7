// Deleting study areas: each answer, what goes from maps and disk, the current one.
#include "ManageTest.h"

#include "host/gis/HostMap.h"

namespace tov::test {
namespace {

const std::string kCloseQuestion = R"({"form": "DeleteConfirmSADialog", "actions": [{"close": true}]})";

class DeleteExistingSATest : public ManageTest {
protected:
  // Runs the delete function on the names, the confirmations answered with
  // `answers` when given; returns the list as it is left.
  std::vector<std::string> Delete(const std::vector<std::string>& names,
                                  std::initializer_list<const char*> answers = {}) {
    if (answers.size() > 0) Answer(answers);
    auto list = std::make_shared<Collection>();
    for (const auto& name : names) list->Add(Variant(name));
    auto function = NewFunction(kDeleteExistingSAFuncProgId, {{"StudyAreaNames", Variant(list)}});
    EXPECT_TRUE(function->Init() && function->Start() && !function->DoStep()); // one pass does it all
    std::vector<std::string> left;
    for (const Variant& item : *list) left.push_back(item.ToString());
    return left;
  }

  bool Gone(const std::string& name, const std::string& folder) {
    return !Catalog()->Exists(name) && LayersNamed(FocusMap(), name).empty() &&
           LayersNamed(FocusMap(), "Analyses created for " + name).empty() && !fs::exists(folder);
  }
};

TEST_F(DeleteExistingSATest, NoYesYesKeepsTheFirstAndDeletesTheOthersEverywhere) {
  ASSERT_TRUE(StoreAll({"North", "Middle", "South"}));
  const std::string north = FolderOf("North"), middle = FolderOf("Middle"), south = FolderOf("South");
  // The last one is in no map: the maps are redrawn all the same.
  FocusMap()->DeleteLayer(LayersNamed(FocusMap(), "Analyses created for South").at(0));
  const long refreshes = As<HostMap>(FocusMap())->RefreshCount();
  auto presenter = Answer({"NoButton", "YesButton", "YesButton"});

  EXPECT_EQ(Delete({"North", "Middle", "South"}), (std::vector<std::string>{" ", "Middle", "South"}));
  EXPECT_EQ(questions,
            (std::vector<std::string>{"Are you sure you want to delete North?", "Are you sure you want to delete Middle?",
                                      "Are you sure you want to delete South?"}));
  EXPECT_TRUE(presenter->Errors().empty());
  EXPECT_TRUE(Gone("Middle", middle) && Gone("South", south));
  EXPECT_GT(As<HostMap>(FocusMap())->RefreshCount(), refreshes);
  ASSERT_TRUE(Catalog()->Exists("North"));
  EXPECT_EQ(LayerCounts(FocusMap(), {"North", "Analyses created for North"}), (std::vector<size_t>{1, 1}));
  EXPECT_TRUE(FileLayer("North") && fs::exists(north));
}

TEST_F(DeleteExistingSATest, YesToAllDeletesTheRestAndPassesEarlierNamesHarmlessly) {
  ASSERT_TRUE(StoreAll({"North", "Middle", "South"}));
  const std::string south = FolderOf("South");
  EXPECT_EQ(Delete({"North", "Middle"}, {"YesToAllButton"}), (std::vector<std::string>{"North", "Middle"}));
  EXPECT_FALSE(Catalog()->Exists("North") || Catalog()->Exists("Middle"));
  ASSERT_TRUE(Catalog()->Exists("South"));

  // Yes, then Yes to all: the second pass meets the first name again.
  ASSERT_TRUE(Store("East", -73.4));
  ReportRecorder recorder;
  EXPECT_EQ(Delete({"South", "East"}, {"YesButton", "YesToAllButton"}),
            (std::vector<std::string>{"South", "East"}));
  EXPECT_EQ(questions.size(), 2u);
  EXPECT_TRUE(Gone("South", south) && !Catalog()->Exists("East"));
  EXPECT_TRUE(recorder.Reports().empty());
}

TEST_F(DeleteExistingSATest, ClosingTheQuestionDeletesNothingUnasked) {
  ASSERT_TRUE(StoreAll({"North", "Middle", "South"}));
  // Closed at the first question: the result the dialog loaded with (Yes to
  // all) must not count.
  UseConfirmScript("[" + kCloseQuestion + "]");
  EXPECT_EQ(Delete({"North", "Middle"}), (std::vector<std::string>{" ", " "}));
  EXPECT_EQ(questions.size(), 1u);
  EXPECT_TRUE(Catalog()->Exists("North") && Catalog()->Exists("Middle"));

  // Closed after a Yes: that one goes, the rest stay and are not asked about.
  UseConfirmScript("[" + ConfirmTurn("YesButton") + "," + kCloseQuestion + "]");
  EXPECT_EQ(Delete({"North", "Middle", "South"}), (std::vector<std::string>{"North", " ", " "}));
  EXPECT_EQ(questions.size(), 2u);
  EXPECT_TRUE(!Catalog()->Exists("North") && Catalog()->Exists("Middle") && Catalog()->Exists("South"));
  EXPECT_TRUE(FileLayer("Middle"));
}

TEST_F(DeleteExistingSATest, DeletingTheCurrentStudyAreaLeavesNoneCurrent) {
  ASSERT_TRUE(StoreAll({"Old", "Current"}));
  Delete({"Old"}, {"YesButton"});
  EXPECT_EQ(CurrentStudyArea(), "Current");
  Delete({"Current"}, {"YesButton"});
  EXPECT_EQ(CurrentSettings(), (std::vector<std::string>{":CurrentExtent", "", ""}));

  // With renaming switched off the two group layer settings stay.
  ASSERT_TRUE(Store("Later", -74.6));
  Options()->SetProperty("ChangeGroupLayerName", "False");
  Properties()->SetProperty("Group Layer For Analysis", "Kept group");
  Properties()->SetProperty("Study Area Name", "Kept name");
  Delete({"Later"}, {"YesButton"});
  EXPECT_EQ(CurrentSettings(), (std::vector<std::string>{":CurrentExtent", "Kept group", "Kept name"}));
}

TEST_F(DeleteExistingSATest, APersonalGeodatabaseGoesWithItsStudyArea) {
  Properties()->SetProperty("Data Format", "Personal Geodatabase");
  ASSERT_TRUE(Store("Packed", -74.6));
  const std::string folder = FolderOf("Packed");
  const std::string geodatabase = ToNativePath(FileLayer("Packed")->FeatureClass()->Workspace()->PathName());
  ASSERT_TRUE(fs::exists(geodatabase));
  // Also shown in a second map.
  MapPtr other = CreateAs<Map>(kMapProgId);
  other->AddLayer(FileLayer("Packed"));
  Document()->AddMap(other);

  Delete({"Packed"}, {"YesButton"});
  EXPECT_TRUE(!fs::exists(geodatabase) && Gone("Packed", folder));
  EXPECT_EQ(other->LayerCount(), 0);
}

} // namespace
} // namespace tov::test
