// A shared analysis stays live in the window: what another user saves shows
// in the open window, and a save the database refuses because of another
// user's change leaves the window showing the analysis as saved, saying
// what had changed.
#include "PostgisCluster.h"
#include "QtApp.h"

#include "host/gui/AnalysisWatch.h"
#include "host/gui/StudyAreasPanel.h"


namespace tov::test {
namespace {

class LiveSharedWindowTest : public WindowTest {
protected:
  void SetUp() override {
    WindowTest::SetUp();
    if (!world->Shared()) GTEST_SKIP() << "no PostGIS cluster (scripts/install-deps installs the server and PostGIS)";
    OpenWindow();
    window->WatchForOthersChanges([this] { return world->Open(); });
    ASSERT_NE(window->Watch(), nullptr);
  }
  // Another user, in a copy of the analysis of their own, stores a study
  // area by the current extent method and saves it.
  void TheyStore(const std::string& name) {
    AnalysisPtr theirs = world->Open();
    UseScript(R"([{"form": "CreateSAMainDialog", "actions": [{"click": "NextButton"}]}, )" + NameTurn(name) + "]");
    ASSERT_TRUE(RunHostTask(*theirs).Stored());
    SaveAnalysis(*theirs);
    SetPresenter(qt);
  }
  bool Listed(const std::string& name) const { return window->StudyAreas()->ItemOf(name) != nullptr; }
};

TEST_F(LiveSharedWindowTest, WhatAnotherUserSavesShowsInTheOpenWindow) {
  Make("Mine");
  window->AfterStudyAreaRun(HostTaskRunResult());
  TheyStore("Theirs");
  EXPECT_TRUE(QTest::qWaitFor([&] { return Listed("Theirs"); }, 10000)) << "the window did not show their study area";
  EXPECT_TRUE(Listed("Mine"));
  EXPECT_EQ(window->Watch()->LastNews().toStdString(),
            "Other users added the study area \"Theirs\"; made \"Theirs\" the current study area.");
  // The layer tree shows it too, and the window's own saves go on.
  EXPECT_FALSE(window->LayerTree()->findItems("Theirs", Qt::MatchStartsWith | Qt::MatchRecursive).isEmpty());
  window->FullExtent();
  EXPECT_TRUE(window->Analysis()->dataManager->GetStudyAreaCatalog()->Exists("Theirs"));
}

TEST_F(LiveSharedWindowTest, ARefusedSaveShowsTheAnalysisAsSavedAndSaysWhatChanged) {
  // Their save comes while the window's wizard is open: the window waits.
  bool stored = false;
  EXPECT_TRUE(Playing(
      [&](Form& form, QWidget& dialog) {
        if (form.Name() == "CreateSAMainDialog") {
          TheyStore("Same");
          QTest::qWait(300); // their news reach the window, which is busy
          EXPECT_FALSE(Listed("Same"));
          return Press(dialog, "NextButton");
        }
        QTest::keyClicks(dialog.findChild<QLineEdit*>("StudyAreaNameText"), "Same");
        stored = true;
        Press(dialog, "NextButton");
      },
      [&] { window->RunStudyAreaSetup(); }));
  ASSERT_TRUE(stored);
  // The window's copy stored its own "Same"; the database refused it.
  ASSERT_FALSE(messages.empty());
  const std::string told = messages.back();
  EXPECT_NE(told.find("Another user stored a study area named \"Same\""), std::string::npos) << told;
  EXPECT_NE(told.find("meanwhile other users added the study area \"Same\""), std::string::npos) << told;
  // Shown as saved: their Same, once.
  EXPECT_TRUE(Listed("Same"));
  EXPECT_EQ(window->StudyAreas()->List()->topLevelItemCount(), 1);
  EXPECT_FALSE(window->Watch()->Pending());
}

} // namespace
} // namespace tov::test
