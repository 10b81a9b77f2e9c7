// Opening a saved study area: one layer each, outlines, zoom, missing or emptied data.
#include "ManageTest.h"

namespace tov::test {
namespace {

class OpenExistingSATest : public ManageTest {
protected:
  ITovFunctionPtr OpenFunction(const std::string& name) {
    return NewFunction(kOpenExistingSAFuncProgId, {{"StudyAreaName", Variant(name)}});
  }
  bool Open(const std::string& name) {
    auto function = OpenFunction(name);
    return function->Init() && function->Start();
  }
  // The focus map shows `expected`, each side to the tolerance.
  void ExpectShown(const EnvelopePtr& expected, double tolerance) {
    EnvelopePtr shown = As<ActiveView>(FocusMap())->Extent();
    for (auto side : {&Envelope::XMin, &Envelope::YMin, &Envelope::XMax, &Envelope::YMax})
      EXPECT_NEAR(((*shown).*side)(), ((*expected).*side)(), tolerance);
  }
};

TEST_F(OpenExistingSATest, AStudyAreaAlreadyInTheMapIsReplacedNotAddedTwice) {
  for (const char* useGroup : {"True", "False"}) {
    Options()->SetProperty("Use Group Layer For Analysis", useGroup);
    const std::string name = std::string("Shown ") + useGroup;
    ASSERT_TRUE(Store(name, -74.6));
    ASSERT_EQ(LayersShowing(FocusMap(), FileLayer(name)), 1) << useGroup;

    ASSERT_TRUE(Open(name)) << useGroup;
    EXPECT_EQ(LayersShowing(FocusMap(), FileLayer(name)), 1) << useGroup;
    EXPECT_EQ(LayersNamed(FocusMap(), name).size(), 1u) << useGroup;
    if (std::string(useGroup) == "True") {
      // Back into its own analysis group layer, first in it.
      auto group = As<GroupLayer>(LayersNamed(FocusMap(), "Analyses created for " + name).at(0));
      ASSERT_TRUE(group);
      EXPECT_EQ(group->Layer(0)->Name(), name);
    }
  }
}

TEST_F(OpenExistingSATest, TheOpenedStudyAreaIsCurrentAndOnlyRealStudyAreaLayersAreRestyled) {
  ASSERT_TRUE(StoreAll({"Inland", "Coast"}));
  // A layer named after a study area that shows other data.
  auto impostor = CreateAs<FeatureLayer>(kFeatureLayerProgId);
  impostor->SetFeatureClass(As<FeatureLayer>(LayersNamed(FocusMap(), "Regions").at(0))->FeatureClass());
  impostor->SetName("Inland");
  SetOutlineWidth(impostor, 1.0);
  FocusMap()->AddLayer(impostor);

  ASSERT_TRUE(Open("Inland"));
  EXPECT_EQ(CurrentSettings(), (std::vector<std::string>{"Inland", "Analyses created for Inland", "Inland"}));
  EXPECT_DOUBLE_EQ(OutlineWidth(LayersNamed(FocusMap(), "Coast").at(0)), 2.0);

  ASSERT_TRUE(Open("Coast"));
  EXPECT_DOUBLE_EQ(OutlineWidth(LayersNamed(FocusMap(), "Coast").at(0)), 4.0);
  for (const LayerPtr& layer : LayersNamed(FocusMap(), "Inland")) {
    const bool real = ShowSameData(As<FeatureLayer>(layer)->FeatureClass(), FileLayer("Inland")->FeatureClass());
    EXPECT_DOUBLE_EQ(OutlineWidth(layer), real ? 2.0 : 1.0);
  }
  EXPECT_EQ(LayersNamed(FocusMap(), "Inland").size(), 2u);
}

TEST_F(OpenExistingSATest, TheMapZoomsToTheStudyAreaWithSomeRoomAround) {
  ASSERT_TRUE(Store("Zoomed", -74.6));
  As<ActiveView>(FocusMap())->SetExtent(As<ActiveView>(FocusMap())->FullExtent());
  ASSERT_TRUE(Open("Zoomed"));

  FeatureClassPtr data = FileLayer("Zoomed")->FeatureClass();
  EnvelopePtr expected = data->Search(nullptr, false)->NextFeature()->Shape()->Envelope();
  expected->Expand(1.2, 1.2, true);
  expected->Project(FocusMap()->SpatialReference());
  ExpectShown(expected, 1e-6 * expected->Width());
}

TEST_F(OpenExistingSATest, AMissingLayerFileIsNamedOnItsOwnLine) {
  ASSERT_TRUE(Store("Lost", -74.6));
  const std::string path = LayerFilePath("Lost");
  std::filesystem::remove(ToNativePath(path));
  presenter = UseScript("[]");
  auto function = OpenFunction("Lost");
  ASSERT_TRUE(function->Init());
  // Braces evaluate in order: the code is read after Start.
  EXPECT_EQ((std::tuple{function->Start(), function->LastError()}), std::tuple(false, 47));
  ExpectMissingFileTold(path);
}

TEST_F(OpenExistingSATest, AnEmptiedStudyAreaOpensWhereTheMapAlreadyIs) {
  ASSERT_TRUE(StoreAll({"Emptied", "Kept"}));
  FileLayer("Emptied")->FeatureClass()->Search(nullptr, false)->NextFeature()->Delete();
  ASSERT_FALSE(FileLayer("Emptied")->FeatureClass()->Search(nullptr, false)->NextFeature());
  EnvelopePtr before = As<ActiveView>(FocusMap())->Extent();

  ReportRecorder recorder;
  auto function = OpenFunction("Emptied");
  ASSERT_TRUE(function->Init());
  // Braces evaluate in order: Start first.
  EXPECT_EQ((std::tuple{function->Start(), function->LastError(), recorder.Reports().size(), CurrentStudyArea(),
                        LayersNamed(FocusMap(), "Emptied").size()}),
            std::tuple(true, 0, 0u, "Emptied", 1u));
  ExpectShown(before, 0);
}

} // namespace
} // namespace tov::test
