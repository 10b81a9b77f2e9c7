// The ZIP code method run as the host runs it: the ZIP page with its rules,
// the name page, and the union of the matching ZIP areas stored with the
// list as typed.
#include "ZipWorld.h"

#include "methods/zipcodes/TovSSASelZipCodesFunction.h"
#include "pages/modi18N.h"
#include "Recorders.h"

namespace tov::test {
namespace {

std::string Text(const char* id) { return GetTextResources()->FindString(id); }

TEST_F(ZipMethodTest, ARefusedListShowsThePageAgainWithTheWholeText) {
  auto presenter = UseZipScript(ZipTurn("10001, 10002 1000") + "," + ZipTurn("10001, 10002") + "," +
                                NameTurn("Midtown"));
  HostTaskRunResult result = RunAll();
  presenter->CheckFinished();
  EXPECT_TRUE(presenter->Errors().empty()) << presenter->Errors().front();

  std::string expected = Text("184");
  expected.replace(expected.find("%1"), 2, "five");
  EXPECT_EQ(ShownMessages(*presenter), std::vector<std::string>{MessageOf("exclamation", Text("182"), expected)});
  EXPECT_EQ(page.texts, (std::vector<std::string>{"", "10001, 10002 1000"}));
  EXPECT_EQ(page.rules[0].rfind("Type five-digit ZIP codes", 0), 0u);

  EXPECT_TRUE(result.Stored());
  EXPECT_EQ(RecordProperty("Midtown", "FEATURESLIST"), "'10001, 10002'");
}

TEST_F(ZipMethodTest, SeparatorsOnlyShowThePageAgainWithoutAMessage) {
  auto presenter = UseZipScript(ZipTurn("  ;, ") + "," + ZipTurn("  ;, ", "CancelButton"));
  EXPECT_EQ(RunPages(), -1);
  EXPECT_TRUE(presenter->Messages().empty());
  EXPECT_EQ(page.nextEnabled, (std::vector<bool>{false, true}));
  EXPECT_FALSE(task->ZipCodes());
}

TEST_F(ZipMethodTest, WithCheckingOffEveryPassKeepsOnlyTheWildcardRule) {
  UseSettings({{"CheckZipsValidity", "False"}});
  auto presenter = UseZipScript(ZipTurn("ab%c") + "," + ZipTurn("1%, ab, 123456789") + "," +
                                R"({"form": "SelectSANameDialog", "actions": [{"click": "CancelButton"}]})");
  EXPECT_EQ(RunPages(), -1);
  ASSERT_EQ(presenter->Messages().size(), 1u);
  EXPECT_EQ(presenter->Messages()[0].Text, Text("185"));
  ASSERT_TRUE(task->ZipCodes());
  EXPECT_EQ(task->ZipCodes()->Count(), 3);
}

TEST_F(ZipMethodTest, BackOnTheNamePageAndReopeningShowTheLastText) {
  auto propertySet = CreateAs<TaskPropertySet>("TovKernel.TaskPropertySet");
  auto presenter = UseZipScript(ZipTurn("100*") +
                                R"(, {"form": "SelectSANameDialog", "actions": [{"click": "BackButton"}]},)" +
                                ZipTurn("100* 11201", "BackButton"));
  EXPECT_EQ(RunPages(propertySet), 2);
  presenter = UseZipScript(ZipTurn("100* 11201", "CancelButton"));
  EXPECT_EQ(RunPages(propertySet), -1);
  EXPECT_EQ(page.texts, (std::vector<std::string>{"100* 11201"}));
  EXPECT_EQ(propertySet->GetProperty("ZIPCodes").ToString(), "100* 11201");
}

TEST_F(ZipMethodTest, APrefixAndACompleteCodeGiveOnePolygonCoveringAllTheirAreas) {
  UseZipScript(ZipTurn("100*; 11201") + "," + NameTurn("Harbour"));
  ASSERT_TRUE(RunAll().Stored());
  EXPECT_EQ(RecordProperty("Harbour", "FEATURESLIST"), "'100*; 11201'");

  PolygonPtr stored = CurrentShape();
  ASSERT_TRUE(stored);
  double expected = 0;
  for (const std::string& code : kZipAreaCodes) expected += ZipSquare(code)->Area();
  EXPECT_NEAR(stored->Area(), expected, expected * 1e-6);
}

TEST_F(ZipMethodTest, CodesMatchingNothingMakeNoStudyArea) {
  auto presenter = UseZipScript(ZipTurn("99999 200*") + "," + NameTurn("Nowhere"));
  EXPECT_FALSE(RunAll().Stored());
  EXPECT_EQ(ShownMessages(*presenter), std::vector<std::string>{MessageOf("critical", Text("168"), Text("167"))});
}

TEST(ZipWhereClause, OneComparisonPerCodeInOrderDuplicatesKept) {
  Collection codes;
  codes.Add("10001");
  EXPECT_EQ(TovSSASelZipCodesFunction::ZipWhereClause("ZIP", codes), "(ZIP LIKE '10001')");
  codes.Add("100%");
  codes.Add("10001");
  codes.Add("O'Neil");
  EXPECT_EQ(TovSSASelZipCodesFunction::ZipWhereClause("ZIP", codes),
            "(ZIP LIKE '10001') OR (ZIP LIKE '100%') OR (ZIP LIKE '10001') OR (ZIP LIKE 'O''Neil')");
}

// The function as a task hands it its parameters.
class ZipFunctionTest : public ZipMethodTest {
protected:
  std::shared_ptr<TovSSASelZipCodesFunction> Function(const std::vector<std::string>& codes, const std::string& text) {
    auto function = std::make_shared<TovSSASelZipCodesFunction>();
    auto collection = std::make_shared<Collection>();
    for (const std::string& code : codes) collection->Add(code);
    SetParams(*function, {{"Application", analysis->application}, {"DataManager", analysis->dataManager},
                          {"StudyAreaName", "Harbour"}, {"ZipCodesCollection", collection}, {"ZipCodesString", text},
                          {"DataSet", Dataset()}, {"SSATask", Method(kZipCodesMethod)}, {"FromPropertyPage", false}});
    return function;
  }
};

TEST_F(ZipFunctionTest, InitNeedsTheCodesAndTheirText) {
  auto function = Function({"10001"}, "");
  Variant none(nullptr);
  auto withoutCodes = Function({"10001"}, "10001");
  withoutCodes->SetParam("ZipCodesCollection", none);
  for (const auto& f : {function, withoutCodes}) {
    EXPECT_FALSE(f->Init());
    EXPECT_EQ(f->LastError(), 47);
  }
}

TEST_F(ZipFunctionTest, AMainLayerTheDataSetLacksIsReported) {
  UseSettings({{"DSMainLayer", "Postcodes"}});
  ReportRecorder recorder;
  auto function = Function({"10001"}, "10001");
  ASSERT_TRUE(function->Init());
  ASSERT_TRUE(function->Start());
  EXPECT_FALSE(function->DoStep());
  EXPECT_EQ(recorder.Locations(), std::vector<std::string>{"ITovFunction_DoStep TovSetupStudyArea\\TovSSASelZipCodesFunction"});
  EXPECT_TRUE(recorder.Reports().empty() || Has(recorder.Reports()[0].description, "Postcodes"));
  EXPECT_EQ(Catalog()->Count(), 0);
}

} // namespace
} // namespace tov::test
