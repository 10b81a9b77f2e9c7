#include "MapListWorld.h"

namespace tov::test {

const std::vector<County> kCounties = {{"Bronx, NY", "36005"},   {"Kings, NY", "36047"},  {"New York, NY", "36061"},
                                       {"O'Brien, IA", "19141"}, {"Queens, NY", "36081"}, {"Richmond, NY", "36085"}};

namespace {

const std::map<std::string, std::string> kSettings = {
    {"MainLayer", "Counties"},       {"ListDialogLabel", "Counties (name, state):"},
    {"MainLayerIDFieldName", "FIPS"}, {"DSMainLayer", "County shapes"},
    {"DSMainLayerIDFieldName", "FIPS"}};

std::string MethodEntry(const MapListWorld& world) {
  std::map<std::string, std::string> settings = kSettings;
  for (const auto& [key, value] : world.settings) settings[key] = value;
  return MethodJson(kMapListMethod, "Counties from a list", nlohmann::json(settings).dump(),
                    R"([ { "name": "Counties", "properties": { "ListField": )" + nlohmann::json(world.listField).dump() +
                        R"(, "Visible": "True" } } ])");
}

} // namespace

PolygonPtr CountySquare(size_t index, bool quarter) { return RowSquare(index, quarter, true); }

void PagePlayer::ShowModal(Form& form) {
  shown.push_back(form.Name());
  if (m_next < m_plays.size()) m_plays[m_next++](form);
  if (form.Visible()) form.CloseBox();
}

int32_t PagePlayer::MsgBox(const std::string& text, int32_t, const std::string&) {
  messages.push_back(text);
  return vbOK;
}

TrackedShape PagePlayer::Track(TrackKind kind) {
  TrackedShape none;
  none.Kind = kind;
  return none;
}

std::shared_ptr<PagePlayer> UsePlayer(std::vector<PagePlayer::Play> plays) {
  auto player = std::make_shared<PagePlayer>(std::move(plays));
  SetPresenter(player);
  return player;
}


void Search(Form& form, const std::string& text) {
  UserActions::SetText(form, "SearchTextBox", "");
  UserActions::Type(form, "SearchTextBox", text);
}

void AddByName(Form& form, const std::string& name) {
  Search(form, name);
  const std::vector<std::string> shown = Entries(form, "FromList");
  for (size_t i = 0; i < shown.size(); ++i)
    if (shown[i] == name) {
      UserActions::Select(form, "FromList", static_cast<long>(i));
      UserActions::DblClick(form, "FromList");
      return;
    }
  ADD_FAILURE() << name << " is not offered";
}

double SquaresArea(std::initializer_list<size_t> indexes, bool quarters) {
  double area = 0;
  for (size_t i : indexes) area += CountySquare(i, quarters)->Area();
  return area;
}

PagePlayer::Play Adding(std::vector<std::string> names, const char* button) {
  return [names, button](Form& form) {
    for (const std::string& name : names) AddByName(form, name);
    UserActions::Click(form, button);
  };
}

PagePlayer::Play Naming(const std::string& name) {
  return [name](Form& form) {
    UserActions::SetText(form, "StudyAreaNameText", name);
    UserActions::Click(form, "NextButton");
  };
}

PagePlayer::Play ClickingCounty(size_t i, const char* button) {
  return [i, button](Form& form) {
    UserActions::MapMouseDown(form, "MapControl", 1, 0, 0, 0, -74.0 + 0.1 * static_cast<double>(i) + 0.05, 40.65);
    UserActions::Click(form, button);
  };
}

PagePlayer::Play Pressing(const char* button) {
  return [button](Form& form) { UserActions::Click(form, button); };
}

void MapListMethodTest::UseMapListWorld(const MapListWorld& options) {
  TestWorldOptions worldOptions;
  worldOptions.extraLayers = R"({ "name": "Counties", "sourceName": )" + nlohmann::json(options.mainSource).dump() +
                             R"(, "mapLayerName": "Counties map" },
         { "name": "County shapes", "sourceName": "county_shapes", "mapLayerName": "County shapes" })";
  worldOptions.extraMethods = MethodEntry(options);
  analysis.reset();
  world = std::make_unique<TestWorld>(worldOptions);
  for (bool quarter : {false, true}) {
    std::vector<PolygonRow> rows;
    for (size_t i = 0; i < options.counties.size(); ++i)
      rows.push_back({RowSquare(i, quarter), {{"LABEL", options.counties[i].label}, {"FIPS", options.counties[i].fips}}});
    WritePolygons(*world, quarter ? "county_shapes" : "counties", {{"LABEL", 40}, {"FIPS", 5}}, rows);
  }
  OpenAnalysis();
}

int32_t MapListMethodTest::RunPages(const TaskPropertySetPtr& propertySet, bool fromMap) {
  task = std::dynamic_pointer_cast<TovSSAMapListTask>(CreateObject(kMapListTaskProgId));
  SetParams(*task, {{"SSATask", Variant(Method(kMapListMethod))},
                    {"DataSet", Variant(Dataset())},
                    {"PropertySet", Variant(propertySet ? propertySet : NewPropertySet())},
                    {"FromMapOrList", Variant(fromMap)}});
  if (!task->Init(analysis->dataManager, analysis->application)) return -99;
  return task->DoParamSelector();
}

double MapListMethodTest::StoredArea() const {
  PolygonPtr stored = CurrentShape();
  return stored ? stored->Area() : -1;
}

} // namespace tov::test
