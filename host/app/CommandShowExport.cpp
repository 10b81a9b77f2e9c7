// tovana show | export: what the host knows of a stored study area, and a
// copy of it for other programs.
#include "host/app/Commands.h"

#include "host/studyareas/StudyAreaExport.h"
#include "host/studyareas/StudyAreaProperties.h"
#include "platform/runtime/TextCase.h"

#include <iostream>

namespace tov {

namespace {

// "EPSG:5070" or "5070" -> 5070.
long ParseSrs(const std::string& text) {
  std::string code = text;
  if (LowerCase(code.substr(0, 5)) == "epsg:") code = code.substr(5);
  try {
    size_t used = 0;
    const long value = std::stol(code, &used);
    if (used == code.size() && value > 0) return value;
  } catch (const std::exception&) {
  }
  throw CLI::ValidationError("--srs", "\"" + text + "\" is not an EPSG code such as EPSG:4326");
}

} // namespace

void AddShowExportCommands(CLI::App& app, AppContext& context, CommandRunner& runner) {
  struct ShowOptions {
    std::string name;
    bool json = false;
  };
  auto show = std::make_shared<ShowOptions>();
  CLI::App* showCommand = app.add_subcommand("show", "The properties of a saved study area");
  showCommand->add_option("NAME", show->name, "The study area")->required();
  showCommand->add_flag("--json", show->json, "One JSON object for scripts");
  showCommand->callback([&context, &runner, show] {
    runner = [&context, show] {
      AnalysisPtr analysis = context.OpenAnalysisOnce(AnalysisOpening::WithoutMap);
      StudyAreaProperties properties = DescribeStudyArea(*analysis, show->name);
      std::cout << (show->json ? StudyAreaPropertiesJson(properties) + "\n" : FormatStudyAreaProperties(properties));
      return properties.problem.empty() ? kExitOk : kExitNothingMade;
    };
  });

  struct ExportOptions {
    std::string name;
    std::string out;
    std::string srs;
  };
  auto exported = std::make_shared<ExportOptions>();
  CLI::App* exportCommand = app.add_subcommand(
      "export", "Write a study area to a file for other programs, each format in its usual coordinate system: "
                "GeoJSON (.geojson, .json) as RFC 7946, longitude and latitude on WGS 84; KML (.kml), always on "
                "WGS 84; GeoPackage (.gpkg), shapefile (.shp) or FlatGeobuf (.fgb) in the study area's own system");
  exportCommand->add_option("NAME", exported->name, "The study area")->required();
  exportCommand->add_option("--out", exported->out, "The new file")->required();
  exportCommand->add_option("--srs", exported->srs,
                            "Coordinate system of the file instead of the format's usual one, e.g. EPSG:5070 (a "
                            "GeoJSON file then names it in a \"crs\" member; not for KML)");
  exportCommand->callback([&context, &runner, exported] {
    if (ExportFormatForPath(exported->out).empty())
      throw CLI::ValidationError("--out", exported->out + " must end in .geojson, .json, .gpkg, .shp, .kml or .fgb");
    const long code = exported->srs.empty() ? 0 : ParseSrs(exported->srs);
    if (const std::string refusal = ExportSystemRefusal(exported->out, code); !refusal.empty())
      throw CLI::ValidationError("--srs", refusal);
    runner = [&context, exported, code] {
      AnalysisPtr analysis = context.OpenAnalysisOnce(AnalysisOpening::WithoutMap);
      ExportStudyArea(*analysis, exported->name, exported->out, code);
      std::cout << "Study area \"" << exported->name << "\" written to " << exported->out << "\n";
      return kExitOk;
    };
  });
}

} // namespace tov
