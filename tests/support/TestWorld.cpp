#include "TestWorld.h"

#include "component/RegisterComponentClasses.h"
#include "PostgisCluster.h"
#include "host/common/Paths.h"
#include "host/framework/MethodDescriptor.h"
#include "host/framework/PgConnection.h"
#include "host/framework/SharedAnalysis.h"
#include "host/forms/RegisterHostFormsClasses.h"
#include "host/framework/PostgisDatasetImport.h"
#include "host/framework/RegisterHostFrameworkClasses.h"
#include "host/gis/RegisterHostGisClasses.h"

#include <nlohmann/json.hpp>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace tov::test {

namespace {

class RegistrationEnvironment : public ::testing::Environment {
public:
  void SetUp() override {
    TOV_REQUIRE_POSTGIS_IF_ASKED(); // else every test of the database run skips, saying why
    RegisterHostGisClasses();
    RegisterHostFrameworkClasses();
    RegisterHostFormsClasses();
    RegisterComponentClasses();
  }
};

[[maybe_unused]] ::testing::Environment* const kRegistration =
    ::testing::AddGlobalTestEnvironment(new RegistrationEnvironment);

constexpr char kDatasetJson[] = R"({
  "name": "Test",
  "geopackage": "test.gpkg",
  "layers": [ { "name": "Regions", "sourceName": "regions", "mapLayerName": "Regions", "reference": true }@LAYERS@ ],
  "configuration": { "children": [ @PROJECTIONS@ ] },
  "tasks": [
    { "name": "SetupStudyArea", "caption": "Study Area Setup", "properties": {}, "layers": [],
      "children": [
        { "name": "SetupStudyArea.CurrentExtent", "caption": "The current extent",
          "properties": { "MainLayer": "Regions" }, "layers": [], "children": [] }@METHODS@ ] } ]
})";

} // namespace

TestWorld::TestWorld(const std::string& projection) : TestWorld(TestWorldOptions{projection, "", ""}) {}

TestWorld::TestWorld(const TestWorldOptions& options) {
  std::filesystem::create_directories(DatasetFolder());
  std::string json = kDatasetJson;
  const std::string projections =
      options.projection.empty() ? std::string()
                                 : R"({ "name": "Projections", "properties": {}, "children": [
      { "name": "Projection.ResultantDefault", "properties": )" + options.projection + R"(, "children": [] } ] })";
  auto fill = [&json](const char* placeholder, const std::string& text) {
    json.replace(json.find(placeholder), std::string(placeholder).size(), text);
  };
  fill("@PROJECTIONS@", projections);
  fill("@LAYERS@", options.extraLayers.empty() ? "" : ", " + options.extraLayers);
  fill("@METHODS@", options.extraMethods.empty() ? "" : ", " + options.extraMethods);
  WriteTextFile(DatasetFolder() + "/dataset.json", json);
  // Two regions side by side, made through the host's own workspace classes.
  CreateAs<WorkspaceFactory>(kAccessWorkspaceFactoryProgId)->Create(ToPlatformPath(DatasetFolder()), "test", nullptr);
  WritePolygons(*this, "regions", {},
                {{Rectangle(-75, 40, -74, 41.5, Geographic(4269)), {{"NAME", "West"}}},
                 {Rectangle(-74, 40, -73, 41.5, Geographic(4269)), {{"NAME", "East"}}}});
  if (auto connection = PostgisConnection()) {
    // The temporary folder's random name makes the schema this world's own.
    m_schema = "tw_";
    for (char c : std::filesystem::path(Root()).filename().string())
      m_schema += std::isalnum(static_cast<unsigned char>(c)) ? static_cast<char>(std::tolower(c)) : '_';
    m_location = *connection + " schemas=" + m_schema;
    m_datasetSchema = PostgisDatasetImport::SchemaFor("twd_" + std::filesystem::path(Root()).filename().string());
  }
}

TestWorld::~TestWorld() {
  if (!m_published.empty()) {
    try {
      PostgisDatasetImport::DropSchema(*PostgisConnection(), m_datasetSchema);
    } catch (const HostError& e) {
      ADD_FAILURE() << "the schema " << m_datasetSchema << " was not dropped: " << e.Description();
    }
  }
  if (m_schema.empty()) return;
  try {
    const SharedLocation location = SharedAnalysis::ParseLocation(m_location);
    PgConnection(location.conninfo, location.shown)
        .Execute("DROP SCHEMA IF EXISTS " + PgConnection::QuoteIdentifier(m_schema) + " CASCADE");
  } catch (const HostError&) {
    // The cluster is going away with its schemas.
  }
}

bool TestWorld::AnalysisExists() const {
  if (m_schema.empty()) return std::filesystem::exists(AnalysisFolder());
  const SharedLocation location = SharedAnalysis::ParseLocation(m_location);
  return PgConnection(location.conninfo, location.shown)
      .Scalar("SELECT 1 FROM pg_namespace WHERE nspname = $1", {m_schema})
      .has_value();
}

void TestWorld::Publish() const {
  const auto connection = PostgisConnection();
  if (!connection) return;
  // The GeoPackage's state: its own file and its write-ahead log.
  std::string state;
  for (const char* suffix : {"", "-wal"}) {
    std::error_code ec;
    const std::string file = DatasetFolder() + "/test.gpkg" + suffix;
    const auto size = std::filesystem::file_size(file, ec);
    if (ec) continue;
    state += std::to_string(size) + ":" +
             std::to_string(std::filesystem::last_write_time(file, ec).time_since_epoch().count()) + ";";
  }
  if (state == m_published) return;
  PostgisDatasetImport::CopyTables(DatasetFolder() + "/test.gpkg", {}, *connection, m_datasetSchema, true);
  auto description = nlohmann::ordered_json::parse(ReadTextFile(DatasetFolder() + "/dataset.json"));
  description.erase("geopackage");
  description["postgis"] = *connection + " schemas=" + m_datasetSchema;
  WriteTextFile(DatasetFolder() + "/dataset.json", description.dump(2));
  m_published = state;
}

AnalysisPtr TestWorld::Open() const {
  Publish();
  return OpenAnalysis(AnalysisFolder(), "Test", DataRoot());
}

std::string TestWorld::DocumentText() const {
  if (m_schema.empty()) return ReadTextFile(AnalysisFolder() + "/document.json");
  AnalysisPtr analysis = OpenAnalysis(AnalysisFolder(), "Test", DataRoot(), false);
  return analysis->shared->ToShared(ReadTextFile(analysis->folder + "/document.json"));
}

namespace {
// A scripted presenter that lets the test look at each form before its turn.
class WatchingPresenter : public ScriptedPresenter {
public:
  explicit WatchingPresenter(std::function<void(Form&)> watch) : m_watch(std::move(watch)) {}
  void ShowModal(Form& form) override {
    m_watch(form);
    ScriptedPresenter::ShowModal(form);
  }

private:
  std::function<void(Form&)> m_watch;
};
} // namespace

ScriptedPresenterPtr WatchScript(const std::string& json, std::function<void(Form&)> watch) {
  return InstallScript<WatchingPresenter>(json, std::move(watch));
}

CollectionPtr CollectionOf(const std::vector<std::string>& texts) {
  auto collection = std::make_shared<Collection>();
  for (const std::string& text : texts) collection->Add(text);
  return collection;
}

std::vector<std::string> TextsOf(const CollectionPtr& collection) {
  std::vector<std::string> texts;
  if (collection)
    for (const Variant& item : *collection) texts.push_back(item.ToString());
  return texts;
}

std::vector<std::string> ListEntries(Form& form, const std::string& list) {
  auto control = form.CtlAs<ListControl>(list);
  std::vector<std::string> entries;
  for (long i = 0; i < control->ListCount(); ++i) entries.push_back(control->List(i));
  return entries;
}

std::vector<std::string> ShownMessages(const ScriptedPresenter& presenter) {
  std::vector<std::string> shown;
  for (const auto& message : presenter.Messages()) shown.push_back(message.Icon + " | " + message.Title + " | " + message.Text);
  return shown;
}

std::string ClickTurn(const std::string& form, const std::string& button) {
  return R"({"form": ")" + form + R"(", "actions": [{"click": ")" + button + R"("}]})";
}

std::string MethodJson(const std::string& name, const std::string& caption, const std::string& properties,
                       const std::string& layers) {
  return R"({ "name": ")" + name + R"(", "caption": ")" + caption + R"(", "properties": )" + properties +
         R"(, "layers": )" + layers + R"(, "children": [] })";
}

TestWorldOptions MapPageOptions(const std::string& taskLayers) {
  TestWorldOptions options;
  options.extraLayers = R"({ "name": "Outline", "sourceName": "regions", "mapLayerName": "Outline" })";
  options.extraMethods = MethodJson(kMapListMethod, "Picked", "{}", taskLayers);
  return options;
}

TestWorldOptions AllMethodsOptions() {
  TestWorldOptions options;
  options.extraMethods = MethodJson(kSelectedShapesMethod, "Selected shapes on the map") + ", " +
                         MethodJson(kUseWholeMethod, "All the regions") + ", " +
                         MethodJson(kSimpleRingMethod, "A ring around a site");
  return options;
}

std::string NameTurn(const std::string& name) {
  return R"({"form": "SelectSANameDialog", "actions": [{"set": "StudyAreaNameText", "text": ")" + name +
         R"("}, {"click": "NextButton"}]})";
}

void WritePolygons(const TestWorld& world, const std::string& className,
                   const std::vector<std::pair<std::string, long>>& textFields, const std::vector<PolygonRow>& rows) {
  WorkspacePtr workspace = CreateAs<WorkspaceFactory>(kAccessWorkspaceFactoryProgId)
                               ->OpenFromFile(ToPlatformPath(world.DatasetFolder() + "/test.gpkg"));
  FieldsPtr fields = PolygonFields(Geographic(4269), true);
  for (const auto& [name, length] : textFields) fields->AddField(TextField(name, length));
  FeatureClassPtr polygons =
      workspace->CreateFeatureClass(className, fields, kFeatureClassClsid, "", featureTypeSimple, "Shape", "");
  for (const auto& [shape, values] : rows) {
    FeaturePtr feature = polygons->CreateFeature();
    feature->SetShape(shape);
    for (const auto& [field, value] : values) feature->SetValue(polygons->FindField(field), value);
    feature->Store();
  }
}

void AddRegion(const TestWorld& world, const std::string& name, double xmin, double ymin, double xmax, double ymax) {
  auto factory = CreateAs<WorkspaceFactory>(kAccessWorkspaceFactoryProgId);
  FeatureClassPtr regions =
      factory->OpenFromFile(ToPlatformPath(world.DatasetFolder() + "/test.gpkg"))->OpenFeatureClass("regions");
  FeaturePtr feature = regions->CreateFeature();
  feature->SetShape(Rectangle(xmin, ymin, xmax, ymax, Geographic(4269)));
  feature->SetValue(regions->FindField("NAME"), name);
  feature->Store();
}

void AddLineLayerNamed(const Analysis& analysis, const std::string& name) {
  const std::string folder = analysis.folder + "/lines";
  std::filesystem::create_directories(folder);
  WorkspacePtr workspace = CreateAs<WorkspaceFactory>(kShapefileWorkspaceFactoryProgId)->OpenFromFile(ToPlatformPath(folder));
  FeatureClassPtr lines = workspace->CreateFeatureClass("lines", ShapeFields(geometryPolyline, Geographic(4269), false),
                                                        kFeatureClassClsid, "", featureTypeSimple, "Shape", "");
  auto layer = CreateAs<FeatureLayer>(kFeatureLayerProgId);
  layer->SetFeatureClass(lines);
  layer->SetName(name);
  analysis.application->Document()->FocusMap()->AddLayer(layer);
  SaveAnalysis(analysis);
}

TaskPropertySetPtr NewPropertySet() { return CreateAs<TaskPropertySet>(kTaskPropertySetProgId); }

ITovTaskPtr NewMethodTask(const Analysis& analysis, const std::string& progId, const std::string& method,
                          TaskPropertySetPtr propertySet, const std::vector<std::pair<std::string, Variant>>& more) {
  auto task = CreateAs<ITovTask>(progId);
  HostDatasetPtr dataset = analysis.dataManager->DataSetByName("Test");
  std::vector<std::pair<std::string, Variant>> parameters = {
      {"SSATask", Variant(FindMethodDescriptor(dataset, method))},
      {"DataSet", Variant(dataset)},
      {"PropertySet", Variant(propertySet ? propertySet : NewPropertySet())}};
  parameters.insert(parameters.end(), more.begin(), more.end());
  for (auto& [key, value] : parameters) task->SetParam(key, value);
  task->Init(analysis.dataManager, analysis.application);
  return task;
}

void WriteTextFile(const std::string& nativePath, const std::string& text) {
  std::ofstream out(nativePath, std::ios::binary | std::ios::trunc);
  out << text;
}

std::string ReadTextFile(const std::string& nativePath) {
  std::ifstream in(nativePath, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

} // namespace tov::test
