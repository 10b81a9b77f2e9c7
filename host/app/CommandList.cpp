// tovana list: the saved study areas of the analysis.
#include "host/app/Commands.h"

#include "host/framework/AnalysisCheck.h"
#include "host/framework/SharedAnalysis.h"
#include "host/framework/SqliteStudyAreaCatalog.h"
#include "platform/framework/SettingsKeys.h"
#include "platform/framework/StudyAreaRecord.h"

#include <iostream>
#include <optional>

namespace tov {

namespace {

// One line per study area, in catalogue order; returns how many.
size_t PrintStudyAreas(const Analysis& analysis, SqliteStudyAreaCatalog& catalog) {
  const std::string current = analysis.extension->ExtensionProperties()->GetProperty(kCurrentExtentKey);
  const std::vector<SqliteStudyAreaCatalog::Entry> entries = catalog.Entries("TYPE");
  // What an earlier list found whole is not looked at again while its files
  // are unchanged. So too in the user's mirror of a shared analysis, whose
  // files are written anew when pulled again; not in a private copy.
  std::optional<CheckedStudyAreas> checked;
  if (!analysis.shared || analysis.shared->InMirror()) checked.emplace(analysis.folder);
  for (const auto& [name, method, record] : entries) {
    std::cout << name << "\t" << method << "\t" << (name == current ? "*" : "") << "\t"
              << AnalysisShownPath(analysis, record->FilePath());
    // A study area that cannot be opened is still listed, marked.
    const std::string broken = AnalysisCheck::BrokenReason(*record, checked ? &*checked : nullptr);
    if (!broken.empty()) std::cout << "\tbroken: " << broken;
    std::cout << "\n";
  }
  if (checked) checked->Save();
  return entries.size();
}

} // namespace

void AddListCommand(CLI::App& app, AppContext& context, CommandRunner& runner) {
  CLI::App* list = app.add_subcommand(
      "list", "List the saved study areas: name, method, current mark, layer file and, when its files are "
              "missing or unreadable, why it is broken");
  list->callback([&context, &runner] {
    runner = [&context] {
      // The map is neither shown nor changed: it is left unread.
      AnalysisPtr analysis = context.OpenAnalysisOnce(AnalysisOpening::WithoutMap);
      auto catalog = std::dynamic_pointer_cast<SqliteStudyAreaCatalog>(analysis->dataManager->GetStudyAreaCatalog());
      if (PrintStudyAreas(*analysis, *Must(catalog, "the study area catalogue")) == 0)
        std::cerr << "No study areas in " << AnalysisShownName(*analysis) << "\n";
      return kExitOk;
    };
  });
}

} // namespace tov
