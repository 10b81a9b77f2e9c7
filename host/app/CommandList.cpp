// tovana list: the saved study areas of the analysis.
#include "host/app/Commands.h"

#include "host/framework/AnalysisCheck.h"
#include "platform/framework/SettingsKeys.h"
#include "platform/framework/StudyAreaCatalog.h"
#include "platform/framework/StudyAreaRecord.h"

#include <iostream>

namespace tov {

void AddListCommand(CLI::App& app, AppContext& context, CommandRunner& runner) {
  CLI::App* list = app.add_subcommand(
      "list", "List the saved study areas: name, method, current mark, layer file and, when its files are "
              "missing or unreadable, why it is broken");
  list->callback([&context, &runner] {
    runner = [&context] {
      AnalysisPtr analysis = context.OpenAnalysisOnce(AnalysisOpening::WithoutMap);
      StudyAreaCatalogPtr catalog = Must(analysis->dataManager->GetStudyAreaCatalog(), "the study area catalogue");
      const std::string current = analysis->extension->ExtensionProperties()->GetProperty(kCurrentExtentKey);
      CollectionPtr names = catalog->Names();
      for (long i = 1; i <= names->Count(); ++i) {
        const std::string name = names->Item(i).ToString();
        StudyAreaRecordPtr record = catalog->Item(name);
        if (!record) continue;
        std::cout << name << "\t" << record->RecordProperties()->GetProperty("TYPE") << "\t"
                  << (name == current ? "*" : "") << "\t" << AnalysisShownPath(*analysis, record->FilePath());
        // A study area that cannot be opened is still listed, marked.
        const std::string broken = AnalysisCheck::BrokenReason(*analysis, name);
        if (!broken.empty()) std::cout << "\tbroken: " << broken;
        std::cout << "\n";
      }
      if (names->Count() == 0) std::cerr << "No study areas in " << AnalysisShownName(*analysis) << "\n";
      return kExitOk;
    };
  });
}

} // namespace tov
