// A method is one folder and one registration call: one that exists only
// here is offered and stores its study area, through the chooser or alone.
#include "SetupTest.h"

#include "framework/TovSSAMethodFunction.h"
#include "framework/TovSSAMethodTask.h"
#include "store/AnalysisSpatialReference.h"

namespace tov::test {
namespace {

constexpr char kSquareMethod[] = "SetupStudyArea.HarbourSquare";
constexpr char kSquareCaption[] = "A square over the harbour";
constexpr char kSquareTaskProgId[] = "TovSSATest.SquareTask";
constexpr char kSquareFunctionProgId[] = "TovSSATest.SquareFunction";

// What the method's task was told about picking regions; empty when nothing.
Variant g_fromMapOrList;

// Only the name page; it takes the chooser's way of picking regions.
class SquareTask : public TovSSAMethodTask {
public:
  SquareTask() : TovSSAMethodTask("TovSetupStudyArea\\SquareTask", kSquareFunctionProgId) {}

protected:
  int32_t RunPages() override { return ShowSelectSANameDialog(); }
  bool SetOwnParam(const std::string& lowerKey, Variant& value) override {
    if (lowerKey != "frommaporlist") return false;
    g_fromMapOrList = value;
    return true;
  }
};

// The method's function: a fixed square over the harbour.
class SquareFunction : public TovSSAMethodFunction {
public:
  SquareFunction() : TovSSAMethodFunction("TovSetupStudyArea\\SquareFunction") {}

protected:
  void Prepare() override {
    PolygonPtr square = Rectangle(-74.1, 40.6, -73.9, 40.8, Geographic(4269));
    square->Project(GetAnalysisSpatialReference(m_pApplication));
    m_geometry = square;
  }
};

// The method folder's one registration call.
void RegisterSquareMethodClasses() {
  RegisterClassOf<SquareTask>(kSquareTaskProgId);
  RegisterClassOf<SquareFunction>(kSquareFunctionProgId);
  RegisterMethod({kSquareMethod, kSquareTaskProgId, true});
}

class AddedMethodTest : public WorldTest {
protected:
  AddedMethodTest() : WorldTest(WithMethods(MethodJson(kSquareMethod, kSquareCaption, "{}"))) {}
  void SetUp() override {
    RegisterSquareMethodClasses();
    g_fromMapOrList = Variant();
    OpenAnalysis();
  }
};

TEST_F(AddedMethodTest, TheChooserOffersItAndItStoresItsStudyArea) {
  auto presenter = UseSetupScript(ChooseMethodTurn(kSquareCaption, R"({"click": "FromMapOption"})") + "," +
                                  NameTurn("Harbour square"));
  HostTaskRunResult result = RunHostTask(*analysis);
  presenter->CheckFinished();
  EXPECT_TRUE(presenter->Errors().empty()) << presenter->Errors().front();

  ASSERT_EQ(presenter->choosers.size(), 1u);
  const std::vector<std::string>& offered = presenter->choosers[0].methods;
  EXPECT_NE(std::find(offered.begin(), offered.end(), kSquareCaption), offered.end());
  // Its record says its first page picks: the chooser offered the choice
  // (a disabled option cannot be clicked) and handed it on.
  EXPECT_TRUE(g_fromMapOrList.ToBool());
  ASSERT_TRUE(result.Stored());
  EXPECT_EQ(std::tuple(result.currentStudyArea, RecordProperty("Harbour square", "TYPE")),
            std::tuple("Harbour square", kSquareMethod));
}

TEST_F(AddedMethodTest, TheHostRunsItsTaskAloneByItsRecord) {
  // No descriptor named: the host finds it by the task's registered record.
  HostTaskRunResult result = RunScripted(NameTurn("Alone"), kSquareTaskProgId);
  ASSERT_TRUE(result.Stored());
  EXPECT_EQ(RecordProperty("Alone", "TYPE"), kSquareMethod);
  // Run alone, nobody chose a way of picking.
  EXPECT_TRUE(g_fromMapOrList.IsEmpty());
}

} // namespace
} // namespace tov::test
