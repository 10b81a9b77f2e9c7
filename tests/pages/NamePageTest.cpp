// The name page refuses a name the host's checker refuses with the message
// that says what a valid name is.
#include "TestWorld.h"

#include "host/framework/HostNameChecker.h"
#include "host/session/HostTaskRun.h"
#include "pages/modi18N.h"

namespace tov::test {
namespace {

TEST(NamePageTest, ARefusedNameShowsText135AloneAndThePageStays) {
  TestWorld world;
  AnalysisPtr analysis = world.Open();
  ScriptedPresenterPtr presenter = UseScript(R"([{"form": "SelectSANameDialog", "actions": [
      {"set": "StudyAreaNameText", "text": "North/South"}, {"click": "NextButton"},
      {"set": "StudyAreaNameText", "text": "North and South"}, {"click": "NextButton"}]}])");
  HostTaskRunResult result = RunHostTask(*analysis, "TovSSA.TovSSACurExtentTask");
  EXPECT_TRUE(presenter->Errors().empty());
  EXPECT_EQ(result.currentStudyArea, "North and South");

  ResourceFinderPtr texts = GetTextResources();
  ASSERT_EQ(presenter->Messages().size(), 1u);
  EXPECT_EQ(presenter->Messages()[0].Text, texts->FindString("135"));
  EXPECT_EQ(presenter->Messages()[0].Title, texts->FindString("101"));
  EXPECT_EQ(presenter->Messages()[0].Icon, "exclamation");
}

TEST(NamePageTest, Text135SaysWhatAValidNameIs) {
  TestWorld world;
  AnalysisPtr analysis = world.Open();
  const std::string text = GetTextResources()->FindString("135");
  for (const std::string& rule : {std::string("empty"), std::string("blank"), std::string(R"(\ / : * ? " < > |)"),
                                  std::string("control"), std::string("invisible"),
                                  "at most " + std::to_string(HostNameChecker::kMaxLength) + " characters"})
    EXPECT_NE(text.find(rule), std::string::npos) << rule << " is not in: " << text;
}

} // namespace
} // namespace tov::test
