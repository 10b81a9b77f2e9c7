// The name page refuses a name the host's checker refuses with the message
// that says what a valid name is.
#include "WorldTest.h"

#include "host/framework/HostNameChecker.h"
#include "pages/modi18N.h"

namespace tov::test {
namespace {

using NamePageTest = WorldTest;

TEST_F(NamePageTest, ARefusedNameShowsText135AloneAndThePageStays) {
  OpenAnalysis();
  HostTaskRunResult result = RunScripted(R"({"form": "SelectSANameDialog", "actions": [
      {"set": "StudyAreaNameText", "text": "North/South"}, {"click": "NextButton"},
      {"set": "StudyAreaNameText", "text": "North and South"}, {"click": "NextButton"}]})",
                                         kCurExtentTaskProgId);
  EXPECT_EQ(result.currentStudyArea, "North and South");

  ResourceFinderPtr texts = GetTextResources();
  EXPECT_EQ(ShownMessages(*presenter),
            std::vector<std::string>{MessageOf("exclamation", texts->FindString("101"), texts->FindString("135"))});
}

TEST_F(NamePageTest, Text135SaysWhatAValidNameIs) {
  const std::string text = GetTextResources()->FindString("135");
  for (const std::string& rule : {std::string("empty"), std::string("blank"), std::string(R"(\ / : * ? " < > |)"),
                                  std::string("control"), std::string("invisible"),
                                  "at most " + std::to_string(HostNameChecker::kMaxLength) + " characters"})
    EXPECT_NE(text.find(rule), std::string::npos) << rule << " is not in: " << text;
}

} // namespace
} // namespace tov::test
