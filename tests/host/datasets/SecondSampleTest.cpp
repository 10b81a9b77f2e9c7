// The UK sample, as `make data` makes it with `datasets create`: each method
// it offers stores areas that are right; the ZIP method is not offered.
#include "DatasetsTestSupport.h"
#include "tests/host/StoredShape.h"

#include "host/join/HostSetup.h"
#include "setup/CreateSAMainDialog.h"

namespace tov::test {
namespace {

const std::string kDataRoot = std::string(TOVANA_SOURCE_ROOT) + "/data";

class SecondSampleTest : public ::testing::Test {
protected:
  void SetUp() override {
    if (!fs::exists(kDataRoot + "/UK/dataset.json")) GTEST_SKIP() << "the UK sample is not built (make data)";
  }

  ProgramRun On(const std::string& arguments) {
    return RunProgram("--data-root '" + kDataRoot + "' --analysis '" + analysis + "' --dataset UK " + arguments,
                      temp.Path());
  }

  // The stored shape of a study area, with the system it is in.
  std::unique_ptr<OGRGeometry> Stored(const std::string& name) { return StoredShapeOf(On("show '" + name + "' --json")); }

  tov::testing::TempFolder temp;
  std::string analysis = temp / "analysis";
};

TEST_F(SecondSampleTest, EachMethodMakesAStudyAreaWhoseAreaIsRight) {
  GDALAllRegister();
  const std::pair<const char*, std::string> made[] = {
      {"London", "setup extent --name London --lonlat --extent=-0.55,51.28,0.33,51.70"},
      {"Wales", "setup selected --name Wales --select \"Districts:nation = 'Wales'\""},
      {"Peak", "setup draw --name Peak --lonlat --polygon '-2.0 53.2, -1.6 53.2, -1.6 53.5, -2.0 53.5'"},
      {"West Yorkshire", "setup regions --name 'West Yorkshire' --region Leeds --region Bradford --region Wakefield "
                         "--region Kirklees --region Calderdale"},
      {"Kingdom", "setup whole --name Kingdom"},
      // A ring around an address the geocoder finds in the sample's gazetteer.
      {"Leeds 10 km", "setup ring --name 'Leeds 10 km' --address Leeds --radius 10 --units km"},
  };
  for (const auto& [name, arguments] : made) {
    const ProgramRun run = On(arguments);
    ASSERT_EQ(run.exitCode, 0) << arguments << "\n" << run.errors;
    std::unique_ptr<OGRGeometry> shape = Stored(name);
    ASSERT_TRUE(shape) << name;
    EXPECT_NEAR(AreaRatio(*shape), 1.0, 0.001) << name;
  }
  // West Yorkshire is 2,029 square kilometres, and the ring is a circle of 10 km.
  const std::string shown = On("show 'West Yorkshire'").output;
  EXPECT_NE(shown.find("(2029."), std::string::npos) << shown;
  std::unique_ptr<OGRGeometry> ring = Stored("Leeds 10 km");
  EXPECT_NEAR(OGR_G_Area(OGRGeometry::ToHandle(ring.get())), M_PI * 1e8, M_PI * 1e8 * 0.01);

  // Open, rename and delete, as on the first sample.
  for (const char* command : {"open London", "rename London 'Greater London'", "delete Kingdom"}) {
    const ProgramRun run = On(command);
    EXPECT_EQ(run.exitCode, 0) << command << "\n" << run.errors;
  }
  const std::string list = "\n" + On("list").output;
  for (const auto& [line, listed] : {std::pair{"\nGreater London\t", true}, {"\nLondon\t", false},
                                     {"\nKingdom\t", false}, {"\nLeeds 10 km\tSetupStudyArea.SimpleRing", true}})
    EXPECT_EQ(Has(list, line), listed) << line << " in\n" << list;
}

TEST_F(SecondSampleTest, WithoutCodesTheChooserDoesNotOfferTheZipMethod) {
  RegisterAllHostClasses();
  AnalysisPtr opened = OpenAnalysis(analysis, "UK", kDataRoot);
  auto chooser = std::make_shared<CreateSAMainDialog>();
  chooser->m_pApplication = opened->application;
  chooser->m_pDataManager = opened->dataManager;
  chooser->m_pDataSet = opened->dataManager->DataSetByName("UK");
  chooser->InitializeDialog();
  // Selected shapes show only while some are selected.
  EXPECT_EQ(ListEntries(*chooser, "SATasksList"), (std::vector<std::string>{"The visible map extent", "An area drawn on the map",
                                               "Districts picked from a list or on the map", "All the districts",
                                               "A ring around a site"}));
  const ProgramRun zip = On("setup zip --zips 'LS1' --name Codes");
  EXPECT_EQ(zip.exitCode, 1);
  EXPECT_NE(zip.errors.find("does not offer the method \"SetupStudyArea.WildCard\""), std::string::npos) << zip.errors;
}

} // namespace
} // namespace tov::test
