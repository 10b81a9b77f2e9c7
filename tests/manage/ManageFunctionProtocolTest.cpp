// What the open and delete functions share as functions: exact keys,
// incomplete parameters, a start without an application, an open that
// finds no study area.
#include "ManageTest.h"

#include "Recorders.h"

namespace tov::test {
namespace {

using ManageFunctionProtocolTest = ManageTest;

TEST_F(ManageFunctionProtocolTest, KeysParametersAndStartFailures) {
  for (const std::string progId : {"TovSSA.TovOpenExistingSAFunc", "TovSSA.TovDeleteExistingSAFunc"}) {
    ReportRecorder recorder;
    const std::string where = "TovSetupStudyArea\\" + progId.substr(progId.find('.') + 1);
    auto function = CreateAs<ITovFunction>(progId);
    Variant application(analysis->application), dataManager(analysis->dataManager);
    // Keys are exact: an unknown one is reported and still accepted.
    EXPECT_TRUE(function->SetParam("application", application)) << progId;
    function->SetParam("DataManager", dataManager);
    EXPECT_EQ(recorder.Locations(), std::vector<std::string>{"ITovFunction_SetParam " + where}) << progId;
    EXPECT_FALSE(function->Init()) << progId;
    EXPECT_EQ(function->LastError(), 47) << progId;

    // Started without an application: reported with nothing pending.
    EXPECT_FALSE(function->Start()) << progId;
    ASSERT_EQ(recorder.Reports().size(), 2u) << progId;
    EXPECT_EQ(recorder.Reports()[1].location, "ITovFunction_Start " + where);
    EXPECT_EQ(recorder.Reports()[1].number, 0);
    EXPECT_EQ(recorder.Reports()[1].description, "");
    function->Cleanup();
    EXPECT_EQ(function->LastError(), 0) << progId;
    EXPECT_EQ(function->Status(), 1) << progId;
    EXPECT_FALSE(function->DoStep()) << progId;
  }

  // Opening a study area the catalogue does not hold: 47, no message.
  auto presenter = UseScript("[]");
  auto open = CreateAs<ITovFunction>("TovSSA.TovOpenExistingSAFunc");
  Variant application(analysis->application), dataManager(analysis->dataManager), name("Nowhere");
  open->SetParam("Application", application);
  open->SetParam("DataManager", dataManager);
  open->SetParam("StudyAreaName", name);
  ASSERT_TRUE(open->Init());
  EXPECT_FALSE(open->Start());
  EXPECT_EQ(open->LastError(), 47);
  EXPECT_TRUE(presenter->Messages().empty());
}

} // namespace
} // namespace tov::test
