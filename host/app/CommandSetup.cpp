// tovana setup extent | script: runs a creation method as the host does, with
// the scripted presenter playing the user.
#include "host/app/Commands.h"
#include "host/app/ConsolePresenter.h"

#include "host/session/HostTaskRun.h"
#include "platform/gis/ActiveView.h"
#include "platform/gis/Envelope.h"
#include "platform/gis/Map.h"
#include "platform/gis/MapDocument.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

#include <nlohmann/json.hpp>

#include <fstream>
#include <iostream>
#include <sstream>

namespace tov {

namespace {

// Runs the task and reports the outcome; the exit code of the command.
int RunAndReport(AppContext& context, const std::shared_ptr<ConsolePresenter>& presenter,
                 const std::string& taskProgId, const std::string& descriptorName) {
  AnalysisPtr analysis = context.OpenAnalysisOnce();
  SetPresenter(presenter);
  HostTaskRunResult result = RunHostTask(*analysis, taskProgId, descriptorName);
  presenter->ReportScriptErrors();
  if (!result.Stored()) {
    // Nothing of a failed command is kept in the document, the extent it
    // was given included; what the store already wrote stays.
    std::cerr << "tovana: " << DescribeNothingStored(result) << "\n";
    return kExitNothingMade;
  }
  SaveAnalysis(*analysis);
  std::cout << "Study area \"" << result.currentStudyArea << "\" stored in " << analysis->folder << "\n";
  return kExitOk;
}

// "XMIN,YMIN,XMAX,YMAX" in map coordinates.
EnvelopePtr ParseExtent(const std::string& text) {
  std::vector<double> values;
  std::stringstream in(text);
  std::string part;
  while (std::getline(in, part, ',')) {
    try {
      values.push_back(Variant(part).ToDouble());
    } catch (const HostError&) {
      throw CLI::ValidationError("--extent", "\"" + part + "\" is not a number");
    }
  }
  if (values.size() != 4)
    throw CLI::ValidationError("--extent", "give four numbers: XMIN,YMIN,XMAX,YMAX");
  if (values[0] >= values[2] || values[1] >= values[3])
    throw CLI::ValidationError("--extent", "XMIN must be below XMAX and YMIN below YMAX");
  auto envelope = CreateAs<Envelope>(kEnvelopeProgId);
  envelope->PutCoords(values[0], values[1], values[2], values[3]);
  return envelope;
}

void SetFocusMapExtent(const Analysis& analysis, const std::string& text) {
  EnvelopePtr envelope = ParseExtent(text);
  MapDocumentPtr document = Must(analysis.application->Document(), "the document");
  MapPtr map = Must(document->FocusMap(), "the focus map");
  envelope->SetSpatialReference(map->SpatialReference());
  Must(As<ActiveView>(map), "the map view")->SetExtent(envelope);
}

} // namespace

void AddSetupCommands(CLI::App& app, AppContext& context, CommandRunner& runner) {
  CLI::App* setup = app.add_subcommand("setup", "Create a study area with one of the methods");
  setup->require_subcommand(1);

  struct ExtentOptions {
    std::string name;
    std::string extent;
  };
  auto extentOptions = std::make_shared<ExtentOptions>();
  CLI::App* extent = setup->add_subcommand("extent", "Study area from the map's visible extent");
  extent->add_option("--name", extentOptions->name, "Name of the new study area")->required();
  extent->add_option("--extent", extentOptions->extent,
                     "Visible extent to use, in map coordinates: XMIN,YMIN,XMAX,YMAX");
  extent->callback([&context, &runner, extentOptions] {
    if (!extentOptions->extent.empty()) ParseExtent(extentOptions->extent); // usage errors before anything runs
    runner = [&context, extentOptions] {
      AnalysisPtr analysis = context.OpenAnalysisOnce();
      if (!extentOptions->extent.empty()) SetFocusMapExtent(*analysis, extentOptions->extent);
      nlohmann::json turns = nlohmann::json::array(
          {{{"form", "SelectSANameDialog"},
            {"actions", nlohmann::json::array({{{"type", "StudyAreaNameText"}, {"text", extentOptions->name}},
                                               {{"click", "NextButton"}}})}}});
      auto presenter = std::make_shared<ConsolePresenter>();
      presenter->LoadScript(turns.dump());
      return RunAndReport(context, presenter, kCurExtentTaskProgId, "");
    };
  });

  auto scriptFile = std::make_shared<std::string>();
  CLI::App* script = setup->add_subcommand(
      "script", "Run a creation method with a user script (see docs/scripts.md): "
                "{\"task\": PROGID, \"descriptor\": NAME, \"extent\": [XMIN, YMIN, XMAX, YMAX], \"turns\": [...]}");
  script->add_option("FILE", *scriptFile, "The script (JSON)")->required()->check(CLI::ExistingFile);
  script->callback([&context, &runner, scriptFile] {
    nlohmann::json doc;
    std::ifstream in(*scriptFile);
    try {
      doc = nlohmann::json::parse(in);
    } catch (const nlohmann::json::exception& e) {
      throw CLI::ValidationError("FILE", *scriptFile + " is not valid JSON: " + e.what());
    }
    if (!doc.is_object() && !doc.is_array())
      throw CLI::ValidationError("FILE", *scriptFile + " must hold a JSON object or a list of turns");
    runner = [&context, doc] {
      const std::string task = doc.is_object() ? doc.value("task", std::string(kCurExtentTaskProgId)) : kCurExtentTaskProgId;
      const std::string descriptor = doc.is_object() ? doc.value("descriptor", std::string()) : std::string();
      AnalysisPtr analysis = context.OpenAnalysisOnce();
      if (doc.is_object() && doc.contains("extent")) {
        const auto& e = doc["extent"];
        if (!e.is_array() || e.size() != 4)
          throw HostError(err::InvalidCall, "tovana", "\"extent\" must be [XMIN, YMIN, XMAX, YMAX]");
        std::ostringstream text;
        text.precision(17);
        text << e[0].get<double>() << "," << e[1].get<double>() << "," << e[2].get<double>() << "," << e[3].get<double>();
        SetFocusMapExtent(*analysis, text.str());
      }
      auto presenter = std::make_shared<ConsolePresenter>();
      presenter->LoadScript(doc.is_object() ? doc.value("turns", nlohmann::json::array()).dump() : doc.dump());
      return RunAndReport(context, presenter, task, descriptor);
    };
  });
}

} // namespace tov
