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
  ASSERT_EQ(Tovana("setup extent --name Harbour --lonlat --extent -74.6,40.2,-74.1,40.8"), 0) << errors;
  // A run that stores says nothing of its script.
  EXPECT_FALSE(Has(errors, "script:")) << errors;
  ASSERT_EQ(Tovana("setup whole --name Everything"), 0) << errors;
  ASSERT_EQ(Tovana("setup selected --select \"Regions:NAME = 'West'\" --name Westside"), 0) << errors;
  // The summary page's text is printed.
  EXPECT_TRUE(Has(output, "1 selected polygon")) << output;
  ASSERT_EQ(Tovana("setup selected --lonlat --graphic 'POLYGON((-74.5 40.5,-74 40.5,-74 41,-74.5 40.5))' --name Drawn"), 0)
      << errors;
  ASSERT_EQ(Tovana("setup ring --lat 40.7128 --lon -74.0060 --radius 3 --units km --name Ring"), 0) << errors;
  EXPECT_EQ(Type("Harbour"), kCurrentExtentMethod);
  EXPECT_EQ(Type("Everything"), kUseWholeMethod);
  EXPECT_EQ(Type("Westside"), kSelectedShapesMethod);
  EXPECT_EQ(Type("Drawn"), kSelectedShapesMethod);
  EXPECT_EQ(Type("Ring"), kSimpleRingMethod);
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
  EXPECT_EQ(Tovana("setup selected --select \"Nowhere:NAME = 'West'\" --name A"), 1);
  EXPECT_TRUE(Has(errors, "no layer named \"Nowhere\"")) << errors;
  EXPECT_EQ(Tovana("setup selected --select \"Regions:NOSUCHFIELD = 1\" --name A"), 1);
  EXPECT_TRUE(Has(errors, "refused the where clause")) << errors;
  EXPECT_EQ(Tovana("setup selected --select \"Regions:NAME = 'North'\" --name A"), 1);
  EXPECT_TRUE(Has(errors, "nothing was selected")) << errors;
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
