// What the open and delete functions share: exact keys, incomplete
// parameters, a start without an application, an open finding nothing.
#include "ManageTest.h"

namespace tov::test {
namespace {

using ManageFunctionProtocolTest = ManageTest;

TEST_F(ManageFunctionProtocolTest, KeysParametersAndStartFailures) {
  for (const std::string progId : {kOpenExistingSAFuncProgId, kDeleteExistingSAFuncProgId}) {
    SCOPED_TRACE(progId);
    ReportRecorder recorder;
    const std::string where = "TovSetupStudyArea\\" + progId.substr(progId.find('.') + 1);
    auto function = CreateAs<ITovFunction>(progId);
    // Keys are exact: an unknown one is reported and still accepted.
    Variant application(analysis->application);
    EXPECT_TRUE(function->SetParam("application", application));
    SetParams(*function, {{"DataManager", Variant(analysis->dataManager)}});
    EXPECT_EQ(recorder.Locations(), std::vector<std::string>{"ITovFunction_SetParam " + where});
    EXPECT_FALSE(function->Init());
    EXPECT_EQ(function->LastError(), 47);

    // Started without an application: reported with nothing pending.
    EXPECT_FALSE(function->Start());
    ASSERT_EQ(recorder.Locations(), (std::vector<std::string>{"ITovFunction_SetParam " + where, "ITovFunction_Start " + where}));
    ExpectNoPendingError(recorder.Reports()[1]);
    function->Cleanup();
    EXPECT_EQ(function->LastError(), 0);
    EXPECT_EQ(function->Status(), 1);
    EXPECT_FALSE(function->DoStep());
  }

  // Opening a study area the catalogue does not hold: 47, no message.
  auto presenter = UseScript("[]");
  auto open = NewFunction(kOpenExistingSAFuncProgId, {{"StudyAreaName", Variant("Nowhere")}});
  ASSERT_TRUE(open->Init());
  EXPECT_FALSE(open->Start());
  EXPECT_EQ(open->LastError(), 47);
  EXPECT_TRUE(presenter->Messages().empty());
}

} // namespace
} // namespace tov::test
