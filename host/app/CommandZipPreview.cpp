// tovana zip-preview: what a ZIP code list would take, before anything is
// made (see ZipPreview.h).
#include "host/app/Commands.h"
#include "host/join/ZipPreview.h"

#include <iostream>

namespace tov {

void AddZipPreviewCommand(CLI::App& app, AppContext& context, CommandRunner& runner) {
  auto zips = std::make_shared<std::string>();
  CLI::App* preview = app.add_subcommand(
      "zip-preview", "Check a ZIP code list by the ZIP method's rules and count the ZIP areas each code takes");
  preview->add_option("--zips", *zips, "The list, e.g. \"10001, 10002; 100*\"")->required();
  preview->callback([&context, &runner, zips] {
    runner = [&context, zips] {
      AnalysisPtr analysis = context.OpenAnalysisOnce(AnalysisOpening::WithoutMap);
      return PreviewZipCodes(*analysis, *zips, std::cout, std::cerr) ? kExitOk : kExitNothingMade;
    };
  });
}

} // namespace tov
