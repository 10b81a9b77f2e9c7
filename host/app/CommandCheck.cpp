// tovana check [--repair]: finds what a crash, a full disk or files removed by
// hand left inconsistent in the analysis and, when asked, makes it whole.
#include "host/app/Commands.h"
#include "host/app/ConsolePresenter.h"

#include "host/framework/AnalysisCheck.h"
#include "platform/framework/ITovFunction.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

#include <nlohmann/json.hpp>

#include <iostream>
#include <memory>

namespace tov {

namespace {

// Broken study areas go as a user would remove them: through the delete
// function, answering Yes to each confirmation.
bool DeleteStudyAreas(const Analysis& analysis, const std::vector<std::string>& names) {
  nlohmann::json turns = nlohmann::json::array();
  for (size_t i = 0; i < names.size(); ++i)
    turns.push_back({{"form", "DeleteConfirmSADialog"}, {"actions", {{{"click", "YesButton"}}}}});
  auto presenter = std::make_shared<ConsolePresenter>();
  presenter->LoadScript(turns.dump());
  SetPresenter(presenter);
  auto list = std::make_shared<Collection>();
  for (const std::string& name : names) list->Add(Variant(name));
  auto function = CreateAs<ITovFunction>(kDeleteExistingSAFuncProgId);
  Variant application(analysis.application), dataManager(analysis.dataManager), studyAreas(list);
  function->SetParam("Application", application);
  function->SetParam("DataManager", dataManager);
  function->SetParam("StudyAreaNames", studyAreas);
  bool done = function->Init() && function->Start();
  if (done)
    while (function->DoStep()) {
    }
  presenter->ReportScriptErrors();
  return done;
}

int RunCheck(AppContext& context, bool repair) {
  AnalysisPtr analysis = context.OpenAnalysisOnce();
  std::vector<AnalysisFinding> findings = AnalysisCheck::Check(*analysis);
  if (findings.empty()) {
    std::cout << "The analysis " << AnalysisShownName(*analysis) << " is consistent\n";
    return kExitOk;
  }
  for (const AnalysisFinding& f : findings)
    std::cout << (f.kind == AnalysisFinding::Kind::BrokenStudyArea ? "study area \"" + f.name + "\" " : "") << f.text
              << "\n";
  if (!repair) {
    std::cerr << "tovana: " << findings.size() << " problem" << (findings.size() == 1 ? "" : "s")
              << " found; tovana check --repair removes what is broken\n";
    return kExitNothingMade;
  }

  std::vector<std::string> broken;
  for (const AnalysisFinding& f : findings)
    if (f.kind == AnalysisFinding::Kind::BrokenStudyArea) broken.push_back(f.name);
  if (!broken.empty()) {
    if (!DeleteStudyAreas(*analysis, broken)) {
      std::cerr << "tovana: the broken study areas could not all be removed (see the log)\n";
      SaveAnalysis(*analysis);
      return kExitNothingMade;
    }
    for (const std::string& name : broken) std::cout << "removed the study area \"" << name << "\"\n";
  }
  // What the deletions left behind (folders holding stray files, layers
  // whose data is gone) is found again and repaired.
  for (const std::string& line : AnalysisCheck::RepairOutsideCatalogue(*analysis, AnalysisCheck::Check(*analysis)))
    std::cout << line << "\n";
  SaveAnalysis(*analysis);

  const std::vector<AnalysisFinding> left = AnalysisCheck::Check(*analysis);
  for (const AnalysisFinding& f : left) std::cerr << "tovana: still wrong: " << f.text << "\n";
  if (!left.empty()) return kExitNothingMade;
  std::cout << "The analysis " << AnalysisShownName(*analysis) << " is consistent again\n";
  return kExitOk;
}

} // namespace

void AddCheckCommand(CLI::App& app, AppContext& context, CommandRunner& runner) {
  auto repair = std::make_shared<bool>(false);
  CLI::App* check = app.add_subcommand(
      "check", "Find study areas whose files are missing, folders without a study area, map layers without data "
               "and a current study area that does not exist; exit 1 when something is wrong");
  check->add_flag("--repair", *repair,
                  "Make the analysis consistent: broken study areas deleted, stray folders removed, layers "
                  "without data dropped, a missing current study area cleared");
  check->callback([&context, &runner, repair] { runner = [&context, repair] { return RunCheck(context, *repair); }; });
}

} // namespace tov
