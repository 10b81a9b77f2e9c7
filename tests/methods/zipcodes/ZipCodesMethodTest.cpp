// The ZIP code method: its list rules on their own (separators, the
// wildcard, lengths, the refusal messages, all or nothing), then the method
// run as the host runs it, the union of the matching ZIP areas stored with
// the list as typed.
#include "Recorders.h"
#include "ZipWorld.h"

#include "host/framework/SimplePropertyList.h"
#include "methods/zipcodes/TovSSASelZipCodesFunction.h"
#include "methods/zipcodes/ZipCodeRules.h"
#include "pages/modi18N.h"

namespace tov::test {
namespace {

struct Parsed {
  std::vector<std::string> codes; // empty when no collection came back
  bool none = true;
  std::vector<ZipRefusal> refusals;
  ZipRuleValues after;
};

Parsed Parse(const std::string& text, ZipRuleValues rules = {}) {
  Parsed parsed;
  CollectionPtr codes = ZipCodesToCollection(text, rules.checkValidity, rules.numericZips, rules.valueLength,
                                             rules.prefixLeastLength,
                                             [&](const ZipRefusal& r) { parsed.refusals.push_back(r); });
  parsed.none = !codes;
  parsed.codes = TextsOf(codes);
  parsed.after = rules;
  return parsed;
}

using Codes = std::vector<std::string>;

// Rules changed from the defaults (in the order check, numeric, length):
// letters allowed, twelve characters, checking off.
const ZipRuleValues kLetters{true, false}, kTwelve{true, true, 12}, kUnchecked{false};

// The four rules, comparable at once: check, numeric, length, least prefix.
std::tuple<bool, bool, int32_t, int32_t> Rules(const ZipRuleValues& v) {
  return {v.checkValidity, v.numericZips, v.valueLength, v.prefixLeastLength};
}

TEST(ZipCodeRules, CodesAreAcceptedInOrderWithDuplicatesBetweenRunsOfSeparators) {
  const std::pair<const char*, Codes> cases[] = {
      {"12345", {"12345"}},
      {"12% 123% 1234%", {"12%", "123%", "1234%"}},
      {"123* 12345 12345", {"123%", "12345", "12345"}},
      // Blanks, commas, semicolons and line breaks, in runs of any length.
      {"12345, 23456;34567", {"12345", "23456", "34567"}},
      {" ;12345,,  ;23456; ", {"12345", "23456"}},
      {"12345\r\n23456\r\n", {"12345", "23456"}}};
  for (const auto& [text, codes] : cases) EXPECT_EQ(Parse(text).codes, codes) << text;
}

TEST(ZipCodeRules, EachBrokenRuleHasItsMessageAndNumberWord) {
  struct Case {
    const char* text;
    ZipRuleValues rules;
    const char* id;
    const char* word;
  } cases[] = {
      // A tab or a lone line break is refused like any other non-digit.
      {"12345\t23456", {}, "183", ""}, {"12345\n23456", {}, "183", ""}, {"12345\r23456", {}, "183", ""},
      {"12a45", {}, "183", ""},
      {"%", {}, "181", "two"},        {"1%", {}, "181", "two"},      {"1%", kLetters, "190", "two"},
      {"1234", {}, "184", "five"},    {"123456", {}, "184", "five"}, {"12345%", {}, "184", "five"},
      {"abcd", kLetters, "191", "five"},      {"1234", kTwelve, "184", "more then ten"},
      {"12%3", {}, "185", ""},        {"12%%", {}, "185", ""},
  };
  for (const Case& c : cases) {
    Parsed parsed = Parse(c.text, c.rules);
    EXPECT_TRUE(parsed.none) << c.text;
    ASSERT_EQ(parsed.refusals.size(), 1u) << c.text;
    EXPECT_EQ(parsed.refusals[0].messageId, c.id) << c.text;
    EXPECT_EQ(parsed.refusals[0].numberWord, c.word) << c.text;
  }
}

TEST(ZipCodeRules, ARefusalAfterGoodCodesLeavesNoCodeAtAll) {
  Parsed parsed = Parse("12345, 23456 12a45 34567");
  EXPECT_TRUE(parsed.none);
  EXPECT_EQ(parsed.refusals.size(), 1u);

  // On its own, the refused call empties the collection it was given.
  auto codes = std::make_shared<Collection>();
  std::string text = "12345 1234 ";
  ZipRuleValues r;
  EXPECT_TRUE(GetNextZip(text, codes, r.checkValidity, r.numericZips, r.valueLength, r.prefixLeastLength, nullptr));
  EXPECT_EQ(text, "1234 ");
  EXPECT_FALSE(GetNextZip(text, codes, r.checkValidity, r.numericZips, r.valueLength, r.prefixLeastLength, nullptr));
  EXPECT_EQ(codes->Count(), 0);
}

TEST(ZipCodeRules, WithCheckingOffOnlyTheWildcardMustEndItsCode) {
  Parsed parsed = Parse("% 1% a 123456789012 é1234%", kUnchecked);
  EXPECT_EQ(parsed.codes, (Codes{"%", "1%", "a", "123456789012", "é1234%"}));
  EXPECT_EQ(Rules(parsed.after), std::make_tuple(false, false, 1000, 0));

  parsed = Parse("ab%c", kUnchecked);
  ASSERT_EQ(parsed.refusals.size(), 1u);
  EXPECT_EQ(parsed.refusals[0].messageId, "185");
}

TEST(ZipCodeRules, LengthsCountCharactersNotBytes) {
  EXPECT_EQ(Parse("é1234 ab1é%", kLetters).codes, (Codes{"é1234", "ab1é%"}));
  EXPECT_EQ(Parse("é%", kLetters).refusals.at(0).messageId, "190");
}

TEST(ZipCodeRules, SettingsAreReadWithTheirDefaults) {
  auto settings = std::make_shared<SimplePropertyList>();
  EXPECT_EQ(Rules(ReadZipRuleValues(*settings)), std::make_tuple(true, true, 5, 2));

  settings->SetValue("CheckZipsValidity", "false");
  settings->SetValue("NumericZips", "False");
  settings->SetValue("ValueLength", "five");
  settings->SetValue("NumericPrefixLeastLength", " 3 ");
  EXPECT_EQ(Rules(ReadZipRuleValues(*settings)), std::make_tuple(true, false, 5, 3));
}

std::string Text(const char* id) { return GetTextResources()->FindString(id); }

TEST_F(ZipMethodTest, ARefusedListShowsThePageAgainWithTheWholeText) {
  HostTaskRunResult result = RunWith(
      UseZipScript(ZipTurn("10001, 10002 1000") + "," + ZipTurn("10001, 10002") + "," + NameTurn("Midtown")),
      kSelZipCodesTaskProgId);

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
  EXPECT_EQ(TovSSASelZipCodesFunction::ZipWhereClause("ZIP", *CollectionOf({"10001"})), "(ZIP LIKE '10001')");
  EXPECT_EQ(TovSSASelZipCodesFunction::ZipWhereClause("ZIP", *CollectionOf({"10001", "100%", "10001", "O'Neil"})),
            "(ZIP LIKE '10001') OR (ZIP LIKE '100%') OR (ZIP LIKE '10001') OR (ZIP LIKE 'O''Neil')");
}

// The function as a task hands it its parameters.
class ZipFunctionTest : public ZipMethodTest {
protected:
  std::shared_ptr<TovSSASelZipCodesFunction> Function(const std::vector<std::string>& codes, const std::string& text) {
    auto function = std::make_shared<TovSSASelZipCodesFunction>();
    SetParams(*function, {{"Application", analysis->application}, {"DataManager", analysis->dataManager},
                          {"StudyAreaName", "Harbour"}, {"ZipCodesCollection", CollectionOf(codes)}, {"ZipCodesString", text},
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
  EXPECT_FALSE(InitStartStep(*Function({"10001"}, "10001")));
  EXPECT_EQ(recorder.Locations(), std::vector<std::string>{"ITovFunction_DoStep TovSetupStudyArea\\TovSSASelZipCodesFunction"});
  EXPECT_TRUE(recorder.Reports().empty() || Has(recorder.Reports()[0].description, "Postcodes"));
  EXPECT_EQ(Catalog()->Count(), 0);
}

} // namespace
} // namespace tov::test
