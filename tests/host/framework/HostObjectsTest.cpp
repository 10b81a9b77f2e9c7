// The host's small objects: path parts, name checks, task properties, the
// error log, the progress runner, and the text and layout tables.
#include "Recorders.h"
#include "TestWorld.h"

#include "host/common/Paths.h"
#include "host/framework/HostEnvironment.h"
#include "host/framework/HostNameChecker.h"
#include "host/framework/MemoryTaskPropertySet.h"
#include "host/framework/ResourceComponent.h"
#include "host/framework/ResourceTable.h"
#include "host/framework/TerminalProgressRunner.h"
#include "host/framework/TovErrorHandler.h"
#include "host/framework/TovFileInfo.h"

#include <sstream>

namespace tov {
namespace {
using testing::TempFolder;

TEST(FileInfoTest, SplitsAPlatformPath) {
  TovFileInfo info;
  const std::array<std::string, 4> cases[] = {
      {"\\work\\analysis\\StudyAreas\\7\\StudyArea.lyr", "\\work\\analysis\\StudyAreas\\7\\", "StudyArea", "lyr"},
      {"\\data\\my.areas.gpkg", "\\data\\", "my.areas", "gpkg"},
      {"\\folder\\StudyArea", "\\folder\\", "StudyArea", ""},
      {"plain.shp", "", "plain", "shp"}};
  for (const auto& [path, directory, name, extension] : cases) {
    info.SetPath(path);
    EXPECT_EQ((std::array<std::string, 3>{info.DirectoryPart(), info.NamePart(), info.ExtensionPart()}),
              (std::array<std::string, 3>{directory, name, extension}));
  }
}

TEST(NameCheckerTest, RefusesWithAReasonAndAcceptsOrdinaryNames) {
  HostNameChecker checker;
  // 64 characters at most, counted as characters, not bytes; a no-break
  // space inside a name, and letters written with a combining accent, are
  // visible text.
  std::string accented;
  for (int i = 0; i < 64; ++i) accented += "\xC3\xA9";
  const std::vector<std::string> good = {"Kings, NY", "Région Île-de-France", "10001 ring 5 miles", "a",
                                        std::string(64, 'x'), accented, "Saint\u00A0Louis", "Cafe\u0301", "\u6771\u4EAC"};
  for (const std::string& name : good) {
    EXPECT_FALSE(checker.Test(name)) << name << ": " << checker.Reason();
    EXPECT_EQ(checker.Reason(), "");
  }
  // Each refused with a reason; invisible characters, Unicode blanks at the
  // ends and broken text named as people cannot see them.
  struct { std::string name, mention; } bad[] = {
      {"", "empty"}, {" x", "blank"}, {"x ", "blank"}, {"a:b", ":"}, {"a\"b", "\""},
      {"line\nbreak", "control"}, {std::string(65, 'x'), "65"},
      {"Next\u0085Line", "U+0085"},           {"Line\u2028Separator", "U+2028"},
      {"Para\u2029Separator", "U+2029"},      {"Zero\u200BWidth", "U+200B ZERO WIDTH SPACE"},
      {"Mark\u200Eed", "U+200E"},             {"\u00A0Leading", "U+00A0 NO-BREAK SPACE"},
      {"Trailing\u3000", "U+3000"},           {"\u0085Leading", "U+0085"},
      {"Bad \xC3 byte", "UTF-8"},             {"Overlong \xC0\xAF", "UTF-8"},
      {"Tail\xE2\x80", "UTF-8"}};
  for (const auto& b : bad) {
    EXPECT_TRUE(checker.Test(b.name)) << b.name;
    EXPECT_NE(checker.Reason().find(b.mention), std::string::npos) << b.name << ": " << checker.Reason();
  }
}

TEST(TaskPropertySetTest, AKeyNeverSetRaisesAnError) {
  MemoryTaskPropertySet set;
  EXPECT_EQ(test::ErrorOf([&] { set.GetProperty("FormLeft"); }).number, err::InvalidCall);
  set.SetProperty("FormLeft", Variant(120.5f));
  set.SetProperty("SAName", Variant("North"));
  EXPECT_FLOAT_EQ(static_cast<float>(set.GetProperty("FormLeft").ToDouble()), 120.5f);
  EXPECT_EQ(set.GetProperty("SAName").ToString(), "North");
  EXPECT_FALSE(set.HasProperty("saname")); // keys are exact
  set.RemoveProperty("SAName");
  EXPECT_THROW(set.GetProperty("SAName"), HostError);
}

TEST(ErrorHandlerTest, WritesOneLinePerReportAndShowsItWhenDebugging) {
  TempFolder tmp;
  std::string log = tmp / "log.txt";
  SetErrorLogPath(log);
  std::vector<std::string> shown;
  SetErrorDisplay([&](const std::string& line) { shown.push_back(line); });

  TovErrorHandler handler;
  handler.SetProperty("Module Name", Variant("SSA"));
  handler.ReportError("ITovTask_Init TovSetupStudyArea\\TovSetupStudyAreaMain", 91, "Src", "first\r\nsecond");
  EXPECT_TRUE(shown.empty());
  handler.SetProperty("Debug", Variant(true));
  handler.ReportError("CreateStudyArea TovSSA\\TovSSAUtils", 0, "", "");
  SetErrorDisplay(nullptr);
  SetErrorLogPath("");

  const std::string text = test::ReadTextFile(log);
  ASSERT_EQ(std::count(text.begin(), text.end(), '\n'), 2) << text;
  EXPECT_TRUE(test::Has(text.substr(0, text.find('\n')),
                        "[SSA] ITovTask_Init TovSetupStudyArea\\TovSetupStudyAreaMain error 91 (Src): first | second"))
      << text;
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_NE(shown[0].find("CreateStudyArea TovSSA\\TovSSAUtils error 0"), std::string::npos);
  EXPECT_THROW(handler.SetProperty("Debug", Variant("maybe")), HostError);
}

// Starts as told, then asks for `steps` steps; counts both.
struct CountingFunction : test::SpyFunction {
  CountingFunction(bool startResult, int steps) : SpyFunction(&log), startResult(startResult), steps(steps) {}
  bool Start() override { ++starts; return startResult; }
  bool DoStep() override { return ++doSteps < steps; }
  test::FunctionLog log;
  const bool startResult;
  const int steps;
  int starts = 0, doSteps = 0;
};

TEST(ProgressRunnerTest, StartsOnceThenStepsUntilFalse) {
  TerminalProgressRunner runner;
  std::ostringstream out;
  runner.SetOutput(&out);
  auto function = std::make_shared<CountingFunction>(true, 5);
  runner.Run(function, "Study Area Setup", "Processing...", "", 0);
  EXPECT_EQ(std::make_pair(function->starts, function->doSteps), std::make_pair(1, 5));
  EXPECT_NE(out.str().find("Study Area Setup: Processing..."), std::string::npos);

  auto refuses = std::make_shared<CountingFunction>(false, 5);
  runner.Run(refuses, "t", "m", "", 0);
  EXPECT_EQ(std::make_pair(refuses->starts, refuses->doSteps), std::make_pair(1, 0));
  EXPECT_NO_THROW(runner.Run(nullptr, "t", "m", "", 0));
}

// Text ids the component and the host look up.
const int kTextIds[] = {101, 107, 112, 113, 125, 126, 127, 128, 135, 167, 168, 174, 175, 176, 177, 178,
                        179, 180, 181, 182, 183, 184, 185, 186, 187, 188, 189, 190, 191};

// Layout blocks: base id and the number of controls laid out after the two
// form values.
const struct { int base; int controls; } kLayoutBlocks[] = {
    {100, 5},  {200, 6},  {300, 2},  {400, 7},  {500, 7},   {600, 10},  {700, 14},
    {800, 8},  {900, 12}, {1000, 8}, {1100, 12}, {1200, 8}};

// Every text id in use has a text; unknown ids give none, and blanks around
// an id are ignored.
TEST(ResourcesTest, EveryTextIdInUseHasATextAndUnknownOnesNone) {
  TextResources texts;
  for (int id : kTextIds) EXPECT_FALSE(texts.FindString(std::to_string(id)).empty()) << id;
  // Texts joined to a name keep the blank that separates them.
  EXPECT_EQ(texts.FindString("175").front(), ' ');
  EXPECT_EQ(texts.FindString("189").back(), ' ');
  for (int id : {181, 184, 190, 191}) EXPECT_NE(texts.FindString(std::to_string(id)).find("%1"), std::string::npos);

  EXPECT_EQ(texts.FindString("99999"), "");
  EXPECT_EQ(texts.FindString(""), "");
  EXPECT_EQ(texts.FindString(" 187 "), texts.FindString("187"));
  EXPECT_EQ(texts.FindCursor("101"), nullptr); // only the layout component has cursors
}

// Every layout block is complete with positive sizes; the cursors and the
// clock animation are there.
TEST(ResourcesTest, EveryLayoutBlockIsCompleteAndTheCursorsAndClockAreThere) {
  GuiResources layout;
  for (const auto& block : kLayoutBlocks) {
    int last = block.base + 1 + 4 * block.controls;
    for (int id = block.base; id <= last; ++id) {
      std::string value = layout.FindString(std::to_string(id));
      ASSERT_FALSE(value.empty()) << "layout id " << id;
      double number = std::stod(value);
      bool isPosition = id >= block.base + 2 && ((id - block.base - 2) % 4 == 1 || (id - block.base - 2) % 4 == 2);
      EXPECT_TRUE(isPosition ? number >= 0 : number > 0) << "layout id " << id;
    }
  }
  for (const char* id : {"101", "102", "103"}) {
    ResourcePicturePtr cursor = layout.FindCursor(id);
    ASSERT_TRUE(cursor) << id;
    EXPECT_TRUE(std::filesystem::exists(ToNativePath(cursor->Path())));
  }
  for (const char* id : {"104", "../strings"}) EXPECT_EQ(layout.FindCursor(id), nullptr) << id;
  for (const char* file : {"/clock.gif", "/help/ABOUT_CREATE_STUDY_AREA.html"})
    EXPECT_TRUE(std::filesystem::exists(ResourceRoot() + file)) << file;
}

TEST(ResourcesTest, TableSyntax) {
  ResourceMap table = ParseResourceTable("# note\n\n7\tOne\\nTwo\tnote\n8\tback\\\\slash \n", "t");
  EXPECT_EQ(table["7"], "One\r\nTwo");
  EXPECT_EQ(table["8"], "back\\slash ");
  EXPECT_THROW(ParseResourceTable("7\ta\n7\tb\n", "t"), HostError);
  EXPECT_THROW(ParseResourceTable("no tab here\n", "t"), HostError);
}

TEST(ResourcesTest, AMissingTableIsAnErrorThatSaysWhereToLook) {
  std::string saved = ResourceRoot();
  SetResourceRoot("/nonexistent-resources");
  const test::Raised missing = test::ErrorOf([] { TextResources().FindString("101"); });
  EXPECT_TRUE(test::Has(missing.description, "TOVANA_RESOURCES")) << "raised: " << missing.raised;
  SetResourceRoot(saved);
}

} // namespace
} // namespace tov
