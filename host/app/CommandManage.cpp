// tovana open | delete | rename: Study Area Setup as the window runs it, with
// the scripted presenter playing the user: the chooser's open way, or its
// manage button and the manage dialog's list and buttons, the confirmation
// and the edit name dialog.
#include "host/app/Commands.h"
#include "host/app/ConsolePresenter.h"

#include "host/join/ManageDialogs.h"
#include "host/session/HostTaskRun.h"
#include "platform/framework/StudyAreaCatalog.h"
#include "platform/framework/StudyAreaRecord.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"
#include "platform/runtime/TextCase.h"

#include <nlohmann/json.hpp>

#include <iostream>
#include <sstream>

namespace tov {

namespace {

StudyAreaCatalogPtr Catalog(const Analysis& analysis) {
  return Must(analysis.dataManager->GetStudyAreaCatalog(), "the study area catalogue");
}

// Every study area must exist before anything runs; false with the reason
// printed otherwise.
bool AllExist(const Analysis& analysis, const std::vector<std::string>& names) {
  StudyAreaCatalogPtr catalog = Catalog(analysis);
  for (const std::string& name : names) {
    if (!catalog->Exists(name)) {
      std::cerr << "tovana: there is no study area named \"" << name << "\" in " << AnalysisShownName(analysis)
                << " (tovana list shows them)\n";
      return false;
    }
  }
  return true;
}

// The catalogue's names in the order the manage dialog lists them.
std::vector<std::string> ListedNames(const Analysis& analysis) {
  std::vector<std::string> names;
  CollectionPtr all = Catalog(analysis)->Names();
  for (long i = 1; all && i <= all->Count(); ++i) names.push_back(all->Item(i).ToString());
  return names;
}

using nlohmann::json;

// The catalogue's own spelling of a name the user gave.
std::string CataloguedName(const Analysis& analysis, const std::string& name) {
  StudyAreaRecordPtr record = Catalog(analysis)->Item(name);
  return record ? record->Name() : name;
}

// The chooser's manage button, then Cancel once the manage dialog (the
// turns that follow) has closed.
json ManageFromChooser() {
  return {{"form", "CreateSAMainDialog"}, {"actions", {{{"click", "ManageSAButton"}}, {{"click", "CancelButton"}}}}};
}

// Runs Study Area Setup under the presenter; the run's result.
HostTaskRunResult RunSetup(const Analysis& analysis, const std::shared_ptr<ConsolePresenter>& presenter,
                           const json& turns) {
  presenter->LoadScript(turns.dump());
  SetPresenter(presenter);
  return RunHostTask(analysis);
}

// Prints each delete question and the answer the script gave.
class DeletePresenter : public ConsolePresenter {
public:
  void ShowModal(Form& form) override {
    const bool confirm = IsDeleteConfirmation(form);
    if (confirm) std::cout << form.Ctl("QuestionLabel")->Caption();
    ConsolePresenter::ShowModal(form);
    if (confirm) std::cout << " " << DeleteConfirmationAnswer(form) << "\n";
  }
};

// "yes,no,all" -> the confirmation dialog's buttons.
std::vector<std::string> ParseAnswers(const std::string& text) {
  std::vector<std::string> buttons;
  std::stringstream in(text);
  std::string part;
  while (std::getline(in, part, ',')) {
    const std::string answer = LowerCase(part);
    if (answer == "yes" || answer == "y")
      buttons.push_back("YesButton");
    else if (answer == "no" || answer == "n")
      buttons.push_back("NoButton");
    else if (answer == "all" || answer == "yes-to-all")
      buttons.push_back("YesToAllButton");
    else
      throw CLI::ValidationError("--answers", "\"" + part + "\" is not yes, no or all");
  }
  return buttons;
}

int RunOpen(AppContext& context, const std::string& name) {
  AnalysisPtr analysis = context.OpenAnalysisOnce();
  if (!AllExist(*analysis, {name})) return kExitNothingMade;
  const std::string listed = CataloguedName(*analysis, name);
  // The chooser's open way: the study area picked from the combo, Next. The
  // main task opens it and leaves the host nothing to run.
  json turns = json::array();
  turns.push_back({{"form", "CreateSAMainDialog"},
                   {"actions", {{{"click", "OpenSAOption"}},
                                {{"select", "SANameCombo"}, {"item", listed}},
                                {{"click", "NextButton"}}}}});
  auto presenter = std::make_shared<ConsolePresenter>();
  HostTaskRunResult result = RunSetup(*analysis, presenter, turns);
  presenter->ReportScriptErrors();
  SaveRunChanges(*analysis, result);
  const bool opened = result.pageResult == -1 && result.reports.empty() && result.currentStudyArea == listed;
  if (!opened) {
    std::cerr << "tovana: the study area \"" << name << "\" was not opened";
    if (!result.reports.empty()) std::cerr << ": " << DescribeReport(result.reports.front(), listed);
    std::cerr << "\n";
    return kExitNothingMade;
  }
  std::cout << "Study area \"" << name << "\" opened and made current\n";
  return kExitOk;
}

int RunDelete(AppContext& context, const std::vector<std::string>& names, const std::vector<std::string>& answers) {
  AnalysisPtr analysis = context.OpenAnalysisOnce();
  if (!AllExist(*analysis, names)) return kExitNothingMade;
  const std::vector<std::string> listed = ListedNames(*analysis);
  // The dialog asks in the order it lists the study areas; by default the
  // user says Yes to each.
  std::vector<std::string> buttons = answers.empty() ? std::vector<std::string>(names.size(), "YesButton") : answers;
  nlohmann::json selection = nlohmann::json::array();
  for (const std::string& name : listed)
    for (const std::string& wanted : names)
      if (name == wanted) selection.push_back(name);
  nlohmann::json turns = nlohmann::json::array({ManageFromChooser()});
  turns.push_back({{"form", "ManageSADialog"},
                   {"actions", {{{"deselect", "SANamesList"}, {"items", listed}},
                                {{"select", "SANamesList"}, {"items", selection}},
                                {{"click", "RemoveButton"}},
                                {{"click", "CloseButton"}}}}});
  for (const std::string& button : buttons) {
    turns.push_back({{"form", "DeleteConfirmSADialog"}, {"actions", {{{"click", button}}}}});
    if (button == "YesToAllButton") break;
  }
  auto presenter = std::make_shared<DeletePresenter>();
  HostTaskRunResult result = RunSetup(*analysis, presenter, turns);
  SaveRunChanges(*analysis, result);
  presenter->ReportScriptErrors();

  StudyAreaCatalogPtr catalog = Catalog(*analysis);
  int deleted = 0;
  for (const std::string& name : names) deleted += catalog->Exists(name) ? 0 : 1;
  std::cout << deleted << " of " << names.size() << " study area" << (names.size() == 1 ? "" : "s") << " deleted\n";
  return deleted > 0 ? kExitOk : kExitNothingMade;
}

int RunRename(AppContext& context, const std::string& oldName, const std::string& newName) {
  AnalysisPtr analysis = context.OpenAnalysisOnce();
  if (!AllExist(*analysis, {oldName})) return kExitNothingMade;
  nlohmann::json turns = nlohmann::json::array({ManageFromChooser()});
  turns.push_back({{"form", "ManageSADialog"},
                   {"actions", {{{"deselect", "SANamesList"}, {"items", ListedNames(*analysis)}},
                                {{"select", "SANamesList"}, {"item", oldName}},
                                {{"click", "RenameButton"}},
                                {{"click", "CloseButton"}}}}});
  turns.push_back({{"form", "SAEditNameDialog"},
                   {"actions", {{{"set", "ToText"}, {"text", newName}}, {{"click", "OKButton"}}}}});
  auto presenter = std::make_shared<ConsolePresenter>();
  HostTaskRunResult result = RunSetup(*analysis, presenter, turns);
  SaveRunChanges(*analysis, result);

  StudyAreaCatalogPtr catalog = Catalog(*analysis);
  // A change of letter case leaves the old name "existing" to the catalogue.
  const bool renamed = catalog->Exists(newName) && catalog->Item(newName)->Name() == newName &&
                       (EqualsIgnoreCase(oldName, newName) || !catalog->Exists(oldName));
  if (!renamed) {
    // The dialog refused the name (its message is printed above) and was
    // closed, as a user gives up: nothing changed.
    std::cerr << "tovana: the study area \"" << oldName << "\" was not renamed\n";
    return kExitNothingMade;
  }
  presenter->ReportScriptErrors();
  std::cout << "Study area \"" << oldName << "\" renamed to \"" << newName << "\"\n";
  return kExitOk;
}

} // namespace

void AddManageCommands(CLI::App& app, AppContext& context, CommandRunner& runner) {
  auto name = std::make_shared<std::string>();
  CLI::App* open = app.add_subcommand("open", "Put a saved study area back on the map and make it current");
  open->add_option("NAME", *name, "The study area")->required();
  open->callback([&context, &runner, name] { runner = [&context, name] { return RunOpen(context, *name); }; });

  auto names = std::make_shared<std::vector<std::string>>();
  auto answers = std::make_shared<std::string>();
  CLI::App* del = app.add_subcommand("delete", "Delete saved study areas (their layers, files and records)");
  del->add_option("NAME", *names, "The study areas")->required();
  del->add_option("--answers", *answers,
                  "Answers to the confirmations, in the order they are asked (the list order): yes, no or all, "
                  "comma-separated (default: yes to each)");
  del->callback([&context, &runner, names, answers] {
    std::vector<std::string> buttons = answers->empty() ? std::vector<std::string>() : ParseAnswers(*answers);
    runner = [&context, names, buttons] { return RunDelete(context, *names, buttons); };
  });

  auto oldName = std::make_shared<std::string>();
  auto newName = std::make_shared<std::string>();
  CLI::App* rename = app.add_subcommand("rename", "Give a saved study area a new name");
  rename->add_option("OLD", *oldName, "The study area")->required();
  rename->add_option("NEW", *newName, "Its new name")->required();
  rename->callback([&context, &runner, oldName, newName] {
    if (*oldName == *newName) throw CLI::ValidationError("NEW", "the new name is the same as the old one");
    runner = [&context, oldName, newName] { return RunRename(context, *oldName, *newName); };
  });
}

} // namespace tov
