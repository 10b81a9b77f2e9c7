// The map list method run as the host runs it: regions picked by name on the
// list page or on the map page, the name page, and the union of their shapes
// stored with their identifiers; its function driven directly for what the
// pages cannot reach.
#include "HostWrappers.h"
#include "MapListWorld.h"
#include "Recorders.h"

#include "host/gis/HostQueryFilter.h"
#include "host/gis/HostMapControl.h"
#include "methods/maplist/SelectFromMapDialog.h"
#include "methods/maplist/TovSSAMapListFunction.h"
#include "pages/modi18N.h"

namespace tov::test {
namespace {

using Names = std::vector<std::string>;

std::string Text(const char* id) { return GetTextResources()->FindString(id); }
const Names kStepFailed = {"ITovFunction_DoStep TovSetupStudyArea\\TovSSAMapListFunction"};

TEST_F(MapListMethodTest, ThreeCountiesGiveOnePolygonOfTheirShapesAndListTheirIdentifiers) {
  auto player = UsePlayer({Adding({"Kings, NY", "O'Brien, IA", "Queens, NY"}), Naming("Three")});
  HostTaskRunResult result = RunAll();
  ASSERT_TRUE(result.Stored()) << DescribeNothingStored(result);
  EXPECT_TRUE(player->messages.empty());
  // The identifiers in the order the layer stores the regions.
  EXPECT_EQ(RecordProperty("Three", "FEATURESLIST"), "'36047','19141','36081'");
  EXPECT_EQ(RecordProperty("Three", "TYPE"), "SetupStudyArea.MapList");
  // The shapes come from "County shapes", a quarter of each county.
  const double expected = SquaresArea({1, 3, 4}, true);
  EXPECT_NEAR(StoredArea(), expected, expected * 1e-4);
}

TEST_F(MapListMethodTest, WithoutAShapesFieldTheUnionIsOfTheChosenRegionsThemselves) {
  MapListWorld options;
  options.settings["DSMainLayerIDFieldName"] = "";
  UseMapListWorld(options);
  UsePlayer({Adding({"Bronx, NY", "Richmond, NY"}), Naming("Ends")});
  ASSERT_TRUE(RunAll().Stored());
  EXPECT_EQ(RecordProperty("Ends", "FEATURESLIST"), "'36005','36085'");
  const double expected = SquaresArea({0, 5}, false);
  EXPECT_NEAR(StoredArea(), expected, expected * 1e-4);
}

TEST_F(MapListMethodTest, BackOnTheNamePageReturnsToTheListPageWithItsChoice) {
  auto player = UsePlayer({Adding({"Kings, NY"}),
                           [](Form& form) { UserActions::Click(form, "BackButton"); },
                           [&](Form& form) {
                             EXPECT_EQ(Entries(form, "ToList"), Names{"Kings, NY"});
                             // The search typed to find Kings is kept too.
                             EXPECT_EQ(Entries(form, "FromList"), Names{});
                             AddByName(form, "Queens, NY");
                             UserActions::Click(form, "NextButton");
                           },
                           Naming("Pair")});
  ASSERT_TRUE(RunAll().Stored());
  EXPECT_EQ(player->shown, (Names{"SelectFromListDialog", "SelectSANameDialog", "SelectFromListDialog",
                                  "SelectSANameDialog"}));
  EXPECT_EQ(RecordProperty("Pair", "FEATURESLIST"), "'36047','36081'");
}

TEST_F(MapListMethodTest, AReferenceLayerThatCannotBeReadOrLacksTheListFieldLeavesTheListsEmpty) {
  struct Case {
    std::string source, listField, message;
  };
  for (const Case& c : {Case{"ghost", "LABEL", Text("177") + "ghost" + Text("178")},
                        Case{"counties", "NAMES", Text("179") + "NAMES" + Text("180")}}) {
    MapListWorld options;
    options.mainSource = c.source;
    options.listField = c.listField;
    UseMapListWorld(options);
    auto player = UsePlayer({[&](Form& form) {
      EXPECT_TRUE(Entries(form, "FromList").empty());
      EXPECT_TRUE(Entries(form, "ToList").empty());
      EXPECT_FALSE(form.Ctl("NextButton")->Enabled());
      UserActions::Click(form, "CancelButton");
    }});
    EXPECT_EQ(RunPages(), -1) << c.source;
    EXPECT_EQ(player->shown.size(), 1u);
    ASSERT_EQ(player->messages, Names{c.message});
  }
}

TEST_F(MapListMethodTest, ANameMetTwiceEndsTheFillingWithTheNamesReadSoFar) {
  MapListWorld options;
  options.counties = {{"Bronx, NY", "36005"}, {"Kings, NY", "36047"}, {"KINGS, NY", "99999"}, {"Queens, NY", "36081"}};
  UseMapListWorld(options);
  ReportRecorder recorder;
  Names offered;
  UsePlayer({[&](Form& form) {
    offered = Entries(form, "FromList");
    UserActions::Click(form, "CancelButton");
  }});
  RunPages();
  EXPECT_EQ(offered, (Names{"Bronx, NY", "Kings, NY"}));
  ASSERT_EQ(recorder.Locations(), Names{"InsertRegionNames TovSetupStudyArea\\TovSSAMapListTask"});
  EXPECT_EQ(recorder.Reports()[0].number, 457);
}

TEST_F(MapListMethodTest, TaskParameterNamesIgnoreCaseAndUnknownOnesChangeNothing) {
  auto mapList = CreateAs<ITovTask>("TovSSA.TovSSAMapListTask");
  ReportRecorder recorder;
  Variant yes(true), descriptor(Method(kMapListMethod));
  EXPECT_TRUE(mapList->SetParam("FROMMAPORLIST", yes));
  EXPECT_TRUE(mapList->SetParam("ssaTask", descriptor));
  EXPECT_FALSE(mapList->SetParam("Radius", yes));
  EXPECT_TRUE(std::dynamic_pointer_cast<TovSSAMapListTask>(mapList)->FromMapOrList());
  EXPECT_TRUE(recorder.Reports().empty());
}

// Every where clause the host's filters were given while one lives.
struct WhereClauseRecorder {
  struct Recording : HostQueryFilter {
    explicit Recording(Names* clauses) : clauses(clauses) {}
    void SetWhereClause(const std::string& clause) override {
      clauses->push_back(clause);
      HostQueryFilter::SetWhereClause(clause);
    }
    Names* clauses;
  };
  Names clauses;
  ClassOverride recording{"orvaCore.QueryFilter", [this] {
                            return std::static_pointer_cast<Object>(std::make_shared<Recording>(&clauses));
                          }};
};

// The function as a task or the property sheet hands it its parameters.
class MapListFunctionTest : public MapListMethodTest {
protected:
  std::shared_ptr<TovSSAMapListFunction> Function(const Names& names) {
    auto function = std::make_shared<TovSSAMapListFunction>();
    CollectionPtr regions = names.empty() ? nullptr : CollectionOf(names);
    SetParams(*function, {{"Application", analysis->application}, {"DataManager", analysis->dataManager},
                          {"StudyAreaName", "Area"}, {"RegionsSelectedByNames", regions}, {"DataSet", Dataset()},
                          {"SSATask", Method(kMapListMethod)}, {"FromPropertyPage", false}});
    return function;
  }
  long Count() { return analysis->dataManager->GetStudyAreaCatalog()->Count(); }
};

TEST_F(MapListFunctionTest, IdentifiersGoIntoTheFeaturesListAndTheShapesClauseAsTheyAre) {
  MapListWorld options;
  options.counties = {{"Bronx, NY", "36005"}, {"Odd, XX", "1'2"}};
  options.settings["DSMainLayerIDFieldName"] = "";
  UseMapListWorld(options);
  auto function = Function({"Odd, XX", "Bronx, NY"});
  EXPECT_FALSE(InitStartStep(*function));
  EXPECT_EQ(RecordProperty("Area", "FEATURESLIST"), "'36005','1'2'");

  // With a shapes field the identifier breaks its clause: the step fails.
  options.settings.erase("DSMainLayerIDFieldName");
  UseMapListWorld(options);
  ReportRecorder recorder;
  WhereClauseRecorder where;
  function = Function({"Odd, XX"});
  EXPECT_FALSE(InitStartStep(*function));
  EXPECT_EQ(where.clauses, (Names{"(LABEL= 'Odd, XX')", " FIPS='1'2' "}));
  EXPECT_EQ(recorder.Locations(), kStepFailed);
  EXPECT_EQ(Count(), 0);
}

TEST_F(MapListFunctionTest, AShapesLayerThatDoesNotOpenIsLastError33) {
  MapListWorld options;
  options.settings["DSMainLayer"] = "Nowhere";
  UseMapListWorld(options);
  auto function = Function({"Kings, NY"});
  EXPECT_FALSE(InitStartStep(*function));
  EXPECT_EQ(function->LastError(), 33);
  EXPECT_EQ(Count(), 0);
}

TEST_F(MapListFunctionTest, ASelectionSetAloneBuildsTheAreaAndNamesMatchingNothingMakeNone) {
  // What the map page hands over: a selection of the reference layer.
  FeatureClassPtr counties = analysis->extension->GetDataAccessService()->OpenFeatureClass("counties", "Test");
  auto filter = CreateAs<QueryFilter>("orvaCore.QueryFilter");
  filter->SetWhereClause("FIPS IN ('36005', '36085')");
  Variant selection(counties->Select(filter, 1, 1, nullptr));
  auto function = Function({});
  function->SetParam("SelectionSet", selection);
  EXPECT_FALSE(InitStartStep(*function));
  EXPECT_EQ(RecordProperty("Area", "FEATURESLIST"), "'36005','36085'");
  const double expected = SquaresArea({0, 5}, true);
  EXPECT_NEAR(StoredArea(), expected, expected * 1e-4);

  ReportRecorder recorder;
  function = Function({"Atlantis, XX"});
  Variant name("Nothing");
  function->SetParam("StudyAreaName", name);
  EXPECT_FALSE(InitStartStep(*function));
  EXPECT_EQ(recorder.Locations(), kStepFailed);
  EXPECT_EQ(Count(), 1);
}

TEST_F(MapListFunctionTest, ParameterNamesMustMatchExactlyAndOneInputIsNeeded) {
  ReportRecorder recorder;
  auto function = Function({});
  Variant names(std::make_shared<Collection>());
  EXPECT_TRUE(function->SetParam("regionsSelectedByNames", names));
  EXPECT_EQ(recorder.Locations(), Names{"ITovFunction_SetParam TovSetupStudyArea\\TovSSAMapListFunction"});
  EXPECT_FALSE(function->Init());
  EXPECT_EQ(function->LastError(), 47);
  EXPECT_TRUE(function->SetParam("RegionsSelectedByNames", names));
  EXPECT_TRUE(function->Init());
  EXPECT_EQ(function->LastError(), 0);
}

// Switching between the list page and the map page: what was chosen on one
// is chosen on the other, and the page left with Next decides.
class MapListSwitchingTest : public MapListMethodTest {
protected:
  void SetUp() override {
    RegisterHostMapControl();
    MapListMethodTest::SetUp();
  }
};

TEST_F(MapListSwitchingTest, EachPagesChoiceIsChosenOnTheOtherAndThePageLeftWithNextDecides) {
  // The list's Kings selected on the map, where a click replaces it by Queens.
  auto player = UsePlayer({Adding({"Kings, NY"}, "ToMapButton"),
                           [&](Form& form) {
                             EXPECT_EQ(static_cast<SelectFromMapDialog&>(form).PageMap()->SelectionCount(), 1);
                             ClickingCounty(4, "NextButton")(form);
                           },
                           Naming("On the map")});
  ASSERT_TRUE(RunAll().Stored());
  EXPECT_EQ(player->shown, (Names{"SelectFromListDialog", "SelectFromMapDialog", "SelectSANameDialog"}));
  EXPECT_EQ(RecordProperty("On the map", "FEATURESLIST"), "'36081'");

  // The map's Bronx chosen on the list, where Richmond is added.
  player = UsePlayer({[](Form& form) { UserActions::Click(form, "ToMapButton"); }, ClickingCounty(0, "ToListButton"),
                      [&](Form& form) {
                        EXPECT_EQ(Entries(form, "ToList"), Names{"Bronx, NY"});
                        Adding({"Richmond, NY"}, "NextButton")(form);
                      },
                      Naming("Ends")});
  ASSERT_TRUE(RunAll().Stored());
  EXPECT_EQ(player->shown, (Names{"SelectFromListDialog", "SelectFromMapDialog", "SelectFromListDialog",
                                  "SelectSANameDialog"}));
  EXPECT_EQ(RecordProperty("Ends", "FEATURESLIST"), "'36005','36085'");
}

} // namespace
} // namespace tov::test
