#include "ZipWorld.h"

namespace tov::test {

const std::vector<std::string> kZipAreaCodes = {"10001", "10002", "10003", "11201"};

namespace {

// The sample data set's settings of the method.
const std::map<std::string, std::string> kSampleSettings = {
    {"MainLayer", "ZIP areas"},
    {"DSMainLayer", "ZIP areas"},
    {"DSMainLayerIDFieldName", "ZIP"},
    {"ZipCodeRules", "Type five-digit ZIP codes separated by blanks, commas or semicolons. End a code of at least "
                     "two digits with * or % to take every ZIP code that begins with it."},
    {"ValidExampleText", "Valid: 10001, 10002; 100*"},
    {"InvalidExampleText", "Not valid: 1000, 1*, 10A01"},
    {"CheckZipsValidity", "True"},
    {"NumericZips", "True"},
    {"ValueLength", "5"},
    {"NumericPrefixLeastLength", "2"},
};

} // namespace

std::string ZipTurn(const std::string& text, const std::string& button) {
  return R"({"form": "SelectByZipCodesDialog", "actions": [{"set": "ZipCodesText", "text": ")" + text +
         R"("}, {"click": ")" + button + R"("}]})";
}

PolygonPtr ZipSquare(const std::string& code, const std::vector<std::string>& codes) {
  for (size_t i = 0; i < codes.size(); ++i)
    if (codes[i] == code) return RowSquare(i, false, true);
  return nullptr;
}

void ZipMethodTest::UseSettings(const std::map<std::string, std::string>& overrides,
                                const std::vector<std::string>& codes) {
  std::map<std::string, std::string> settings = kSampleSettings;
  for (const auto& [key, value] : overrides) settings[key] = value;
  TestWorldOptions options;
  options.extraLayers = R"({ "name": "ZIP areas", "sourceName": "zip_areas", "mapLayerName": "ZIP areas" })";
  options.extraMethods = MethodJson(kZipCodesMethod, "A list of ZIP codes", nlohmann::json(settings).dump());
  analysis.reset();
  world = std::make_unique<TestWorld>(options);
  std::vector<PolygonRow> rows;
  for (size_t i = 0; i < codes.size(); ++i) rows.push_back({RowSquare(i), {{"ZIP", codes[i]}}});
  WritePolygons(*world, "zip_areas", {{"ZIP", 5}}, rows);
  OpenAnalysis();
}

ScriptedPresenterPtr ZipMethodTest::UseZipScript(const std::string& turns) {
  page = {};
  return presenter = WatchScript("[" + turns + "]", [this](Form& form) {
           if (form.Name() != "SelectByZipCodesDialog") return;
           page.texts.push_back(form.Ctl("ZipCodesText")->Text());
           page.nextEnabled.push_back(form.Ctl("NextButton")->Enabled());
           page.rules.push_back(form.Ctl("ZipCodeRulesLabel")->Caption());
         });
}

int32_t ZipMethodTest::RunPages(const TaskPropertySetPtr& propertySet) {
  task = std::dynamic_pointer_cast<TovSSASelZipCodesTask>(
      NewMethodTask(*analysis, kSelZipCodesTaskProgId, kZipCodesMethod, propertySet));
  return task->DoParamSelector();
}

} // namespace tov::test
