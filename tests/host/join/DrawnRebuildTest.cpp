// A drawn study area drawn again from its property sheet, on the method's
// own drawing page.
#include "DrawnWorld.h"

#include "host/join/DrawnAreaRebuilder.h"
#include "host/studyareas/RegisterHostStudyAreaClasses.h"
#include "host/studyareas/StudyAreaProperties.h"
#include "platform/gis/Envelope.h"

#include <cmath>
#include <filesystem>

namespace tov::test {
namespace {

constexpr char kSquare[] = R"({"rectangle": [-74.5, 40.5, -74, 41]})";

class DrawAgainTest : public DrawnMethodTest {
protected:
  void SetUp() override {
    DrawnMethodTest::SetUp();
    RegisterHostStudyAreaClasses();
    RegisterDrawnAreaRebuilder();
  }
  void TearDown() override { RegisterStudyAreaRebuilder("SetupStudyArea.DrawOwn", nullptr); }

  static std::string SheetTurn() {
    return R"({"form": "StudyAreaPropertiesDialog", "actions": [{"click": "RebuildButton"}]})";
  }
};

TEST_F(DrawAgainTest, ThePageShowsTheStoredAreaAndTheNewShapeReplacesItInPlace) {
  UseDrawingScript(DrawTurn("SelectFeature", kSquare) + "," + NameTurn("Harbour"));
  ASSERT_TRUE(RunAll().Stored());
  const std::string layerFile = DescribeStudyArea(*analysis, "Harbour").layerFile;
  const auto written = std::filesystem::last_write_time(layerFile);
  const EnvelopePtr before = analysis->extension->CurrentStudyAreaGeometry()->Envelope();

  auto presenter = UseDrawingScript(SheetTurn() + "," + DrawTurn("SelectByCircle", R"({"circle": [-74, 40.8, 0.2]})"));
  ASSERT_TRUE(RunPropertySheet("Harbour"));
  EXPECT_TRUE(presenter->Errors().empty()) << presenter->Errors().front();
  ASSERT_EQ(presenter->seen.size(), 1u);
  EXPECT_TRUE(presenter->seen[0].nextEnabled);
  ExpectSameEnvelope(presenter->seen[0].area, before, 1e-6);

  EXPECT_EQ(analysis->dataManager->GetStudyAreaCatalog()->Count(), 1);
  EXPECT_EQ(std::filesystem::last_write_time(layerFile), written);
  auto stored = As<Polygon>(analysis->extension->CurrentStudyAreaGeometry());
  ASSERT_TRUE(stored);
  EXPECT_NEAR(InDegrees(stored)->Area(), M_PI * 0.04, M_PI * 0.04 * 0.01);
}

} // namespace
} // namespace tov::test
