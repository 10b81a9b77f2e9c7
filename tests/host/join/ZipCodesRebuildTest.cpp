// A ZIP code study area given a new list on the host's property sheet: the
// ZIP page shows the stored list, refuses a bad one with the method's own
// message, and the accepted list is stored again in place.
#include "ZipWorld.h"

#include "host/join/ZipCodesRebuilder.h"
#include "host/studyareas/RegisterHostStudyAreaClasses.h"
#include "host/studyareas/StudyAreaProperties.h"
#include "platform/framework/ITovTask.h"
#include "pages/modi18N.h"
#include "platform/framework/TovExtension.h"
#include "platform/framework/StudyAreaCatalog.h"
#include "platform/gis/Polygon.h"
#include "platform/runtime/ObjectRegistry.h"

#include <filesystem>

namespace tov::test {
namespace {

std::string Text(const char* id) { return GetTextResources()->FindString(id); }

class ZipCodesRebuildTest : public ZipMethodTest {
protected:
  void SetUp() override {
    ZipMethodTest::SetUp();
    RegisterHostStudyAreaClasses();
    RegisterZipCodesRebuilder();
  }
  void TearDown() override { RegisterStudyAreaRebuilder("SetupStudyArea.WildCard", nullptr); }

  static std::string SheetTurn() {
    return R"({"form": "StudyAreaPropertiesDialog", "actions": [{"click": "RebuildButton"}]})";
  }
};

TEST_F(ZipCodesRebuildTest, TheStoredListIsShownCheckedByTheSameRulesAndStoredInPlace) {
  UseZipScript(ZipTurn("10001, 10002") + "," + NameTurn("Harbour"));
  ASSERT_TRUE(RunAll().Stored());
  const std::string layerFile = DescribeStudyArea(*analysis, "Harbour").layerFile;
  const auto written = std::filesystem::last_write_time(layerFile);

  auto presenter = UseZipScript(SheetTurn() + "," + ZipTurn("1234") + "," + ZipTurn("10003; 11201"));
  ASSERT_TRUE(RunPropertySheet("Harbour"));
  // First the stored list, unquoted; after the refusal the refused text.
  EXPECT_EQ(page.texts, (std::vector<std::string>{"10001, 10002", "1234"}));
  ASSERT_EQ(presenter->Messages().size(), 1u);
  EXPECT_EQ(presenter->Messages()[0].Title, Text("182"));
  std::string tooShort = Text("184");
  tooShort.replace(tooShort.find("%1"), 2, "five");
  EXPECT_EQ(presenter->Messages()[0].Text, tooShort);

  EXPECT_EQ(analysis->dataManager->GetStudyAreaCatalog()->Count(), 1);
  EXPECT_EQ(std::filesystem::last_write_time(layerFile), written);
  EXPECT_EQ(RecordProperty("Harbour", "FEATURESLIST"), "'10003; 11201'");
  auto stored = As<Polygon>(analysis->extension->CurrentStudyAreaGeometry());
  ASSERT_TRUE(stored);
  const double expected = ZipSquare("10003")->Area() + ZipSquare("11201")->Area();
  EXPECT_NEAR(stored->Area(), expected, expected * 1e-6);
}

TEST_F(ZipCodesRebuildTest, CancellingTheZipPageChangesNothing) {
  UseZipScript(ZipTurn("10001") + "," + NameTurn("Harbour"));
  ASSERT_TRUE(RunAll().Stored());
  UseZipScript(SheetTurn() + "," + ZipTurn("11201", "CancelButton"));
  RunPropertySheet("Harbour");
  EXPECT_EQ(RecordProperty("Harbour", "FEATURESLIST"), "'10001'");
  auto stored = As<Polygon>(analysis->extension->CurrentStudyAreaGeometry());
  ASSERT_TRUE(stored);
  EXPECT_NEAR(stored->Area(), ZipSquare("10001")->Area(), ZipSquare("10001")->Area() * 1e-6);
}

} // namespace
} // namespace tov::test
