// tovana setup extent | script: runs a creation method as the host does, with
// the scripted presenter playing the user.
#include "host/app/Commands.h"
#include "host/app/ConsolePresenter.h"

#include "host/forms/UserScript.h"
#include "host/session/HostTaskRun.h"
#include "platform/gis/ActiveView.h"
#include "platform/gis/Envelope.h"
#include "platform/gis/Map.h"
#include "platform/gis/MapDocument.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

#include <nlohmann/json.hpp>

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

EnvelopePtr MakeEnvelope(double xMin, double yMin, double xMax, double yMax) {
  auto envelope = CreateAs<Envelope>(kEnvelopeProgId);
  envelope->PutCoords(xMin, yMin, xMax, yMax);
  return envelope;
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
  if (!(values[0] < values[2]) || !(values[1] < values[3]))
    throw CLI::ValidationError("--extent", "XMIN must be below XMAX and YMIN below YMAX");
  return MakeEnvelope(values[0], values[1], values[2], values[3]);
}

// Shows the envelope (in map coordinates) in the focus map.
void SetFocusMapExtent(const Analysis& analysis, const EnvelopePtr& envelope) {
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
    // Usage errors before anything runs.
    if (!UserScript::IsUtf8(extentOptions->name)) throw CLI::ValidationError("--name", "the name is not UTF-8 text");
    EnvelopePtr envelope = extentOptions->extent.empty() ? nullptr : ParseExtent(extentOptions->extent);
    runner = [&context, extentOptions, envelope] {
      AnalysisPtr analysis = context.OpenAnalysisOnce();
      if (envelope) SetFocusMapExtent(*analysis, envelope);
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
    // The whole script is checked here, before the analysis is opened (or
    // made): a malformed one is a usage error.
    auto parsed = std::make_shared<UserScript>();
    try {
      *parsed = UserScript::ParseFile(*scriptFile);
    } catch (const HostError& e) {
      throw CLI::ValidationError(*scriptFile, e.Description());
    }
    const std::string task = parsed->Task().value_or(kCurExtentTaskProgId);
    if (!IsClassRegistered(task))
      throw CLI::ValidationError(*scriptFile, "\"task\": no task is installed as \"" + task + "\"");
    runner = [&context, parsed, task] {
      AnalysisPtr analysis = context.OpenAnalysisOnce();
      if (const auto& e = parsed->Extent())
        SetFocusMapExtent(*analysis, MakeEnvelope((*e)[0], (*e)[1], (*e)[2], (*e)[3]));
      auto presenter = std::make_shared<ConsolePresenter>();
      const std::string descriptor = parsed->Descriptor().value_or(std::string());
      presenter->Load(std::move(*parsed));
      return RunAndReport(context, presenter, task, descriptor);
    };
  });
}

} // namespace tov
