// Study Area Setup on the command line: every method starts at the chooser
// and ends on the name page; usage errors stop before anything is made.
#include "AnalysisViews.h"
#include "ZipWorld.h"

namespace tov::test {
namespace {

class CommandLineSetupTest : public WorldTest {
protected:
  CommandLineSetupTest() : WorldTest(AllMethodsOptions()) {}

  // The method a stored study area was made with, as the next session reads it.
  std::string Type(const std::string& name) {
    analysis = world->Open();
    const std::string type = Catalog()->Exists(name) ? RecordProperty(name, "TYPE") : "(missing)";
    analysis.reset();
    return type;
  }
};

TEST_F(CommandLineSetupTest, EachMethodStoresItsStudyArea) {
  // The method's options, the name, the method stored and what the run says (the summary page's text).
  const std::tuple<const char*, const char*, const char*, const char*> runs[] = {
      {"extent --lonlat --extent -74.6,40.2,-74.1,40.8", "Harbour", kCurrentExtentMethod, ""},
      {"whole", "Everything", kUseWholeMethod, ""},
      {"selected --select \"Regions:NAME = 'West'\"", "Westside", kSelectedShapesMethod, "1 selected polygon"},
      {"selected --lonlat --graphic 'POLYGON((-74.5 40.5,-74 40.5,-74 41,-74.5 40.5))'", "Drawn",
       kSelectedShapesMethod, ""},
      {"ring --lat 40.7128 --lon -74.0060 --radius 3 --units km", "Ring", kSimpleRingMethod, ""}};
  for (const auto& [options, name, method, said] : runs) {
    ASSERT_EQ(Tovana(std::string("setup ") + options + " --name " + name), 0) << errors;
    EXPECT_TRUE(Has(output, said)) << output;
    // A run that stores says nothing of its script.
    EXPECT_FALSE(Has(errors, "script:")) << errors;
    EXPECT_EQ(Type(name), method);
  }
  EXPECT_EQ(world->Open()->extension->ExtensionProperties()->GetProperty("CurrentExtent"), "Ring");
}

TEST_F(CommandLineSetupTest, UsageErrorsExitTwoBeforeTheAnalysisIsMade) {
  for (const char* arguments :
       {"setup nowhere --name A", "setup whole", "setup zip --name A", "setup ring --lat 40 --radius 3 --name A",
        "setup ring --lat 40 --lon -74 --radius 0 --name A", "setup ring --lat 40 --lon -74 --radius 40000 --name A",
        "setup ring --lat 40 --lon -74 --radius 3 --units feet --name A", "setup ring --radius 3 --name A",
        "setup ring --lat 40 --lon -74 --address 'Main St' --radius 3 --name A",
        "setup selected --name A", "setup selected --select Regions --name A",
        "setup selected --graphic 'LINESTRING(0 0,1 1)' --name A"}) {
    EXPECT_EQ(Tovana(arguments), 2) << arguments << "\n" << errors;
    EXPECT_FALSE(world->AnalysisExists()) << arguments;
  }
  Tovana("setup ring --lat 40 --lon -74 --radius 40000 --name A");
  EXPECT_TRUE(Has(errors, "40000")) << errors;
}

TEST_F(CommandLineSetupTest, AnUnknownLayerARefusedClauseOrNothingSelectedExitsOne) {
  for (const auto& [select, refusal] : {std::pair{"Nowhere:NAME = 'West'", "no layer named \"Nowhere\""},
                                        {"Regions:NOSUCHFIELD = 1", "refused the where clause"},
                                        {"Regions:NAME = 'North'", "nothing was selected"}}) {
    EXPECT_EQ(Tovana(std::string("setup selected --select \"") + select + "\" --name A"), 1) << select;
    EXPECT_TRUE(Has(errors, refusal)) << errors;
  }
  EXPECT_EQ(CatalogueNames(*world), std::vector<std::string>{});
}

// The ZIP test data set: squares coded 10001, 10002, 10003 and 11201.
using CommandLineZipTest = ZipMethodTest;

TEST_F(CommandLineZipTest, AListStoresItsAreasAndARefusedListTellsTheRule) {
  ASSERT_EQ(Tovana("setup zip --zips '10001, 10002; 1120*' --name Three"), 0) << errors;
  EXPECT_EQ(Tovana("setup zip --zips '1000' --name Refused"), 1);
  EXPECT_TRUE(Has(errors, "five digits")) << errors;
  // The refusal is the one thing said: no script noise after it.
  EXPECT_FALSE(Has(errors, "script:")) << errors;
  EXPECT_TRUE(Has(errors, "the input was refused")) << errors;
  analysis = world->Open();
  EXPECT_EQ(CatalogueNames(*world), std::vector<std::string>{"Three"});
  EXPECT_EQ(RecordProperty("Three", "TYPE"), kZipCodesMethod);
}

} // namespace
} // namespace tov::test
