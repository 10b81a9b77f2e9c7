// tovana datasets create NAME --from SOURCE --regions LAYER[:NAMEFIELD] ...:
// a data set made from the layers of one source.
#include "host/app/Commands.h"

#include "host/datasets/DatasetCreate.h"

#include <iostream>
#include <memory>

namespace tov {
namespace {
std::string Thousands(long n) {
  std::string digits = std::to_string(n), out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

std::optional<bool> YesNo(const std::string& text, const char* option) {
  if (text.empty()) return std::nullopt;
  if (text == "yes" || text == "true") return true;
  if (text == "no" || text == "false") return false;
  throw HostError(err::InvalidCall, "tovana datasets create", std::string(option) + ": give yes or no, not \"" + text + "\"");
}

void Print(const DatasetCreateReport& r) {
  std::cout << "Data set \"" << r.name << "\" written to " << r.folder << "\n";
  for (const auto& layer : r.layers) {
    std::cout << "  " << layer.title << " (" << layer.sourceName << ", " << layer.role << "): "
              << Thousands(layer.features) << " features";
    if (layer.repaired > 0) std::cout << ", " << Thousands(layer.repaired) << " repaired";
    if (layer.dropped > 0) std::cout << ", " << Thousands(layer.dropped) << " left out (no shape, or none after repair)";
    std::cout << "\n";
  }
  std::cout << "  Region names from the field " << r.nameField << (r.nameFieldInferred ? " (the first with unique values)" : "");
  if (r.listField != r.nameField) std::cout << ", listed as " << r.listField;
  std::cout << "\n  Analysis system: " << r.system << "\n  Methods:";
  for (const std::string& m : r.methods) std::cout << " " << m;
  if (!r.codeRules) std::cout << " (no codes: no study areas of codes)";
  std::cout << "\n";
  if (r.codeRules)
    std::cout << "  Code rules: " << (r.codeRules->numeric ? "digits" : "letters and digits") << ", "
              << r.codeRules->valueLength << " characters, "
              << (r.codeRules->checkValidity ? "checked" : "not checked (the codes differ in length)") << "\n";
  std::cout << "  Gazetteer: " << Thousands(static_cast<long>(r.gazetteer.regions)) << " regions, "
            << Thousands(static_cast<long>(r.gazetteer.codes)) << " codes, "
            << Thousands(static_cast<long>(r.gazetteer.places)) << " places"
            << (r.gazetteer.ownPlaces ? ", " + Thousands(static_cast<long>(r.gazetteer.ownPlaces)) + " of your own" : "")
            << "\n";
  for (const std::string& note : r.notes) std::cout << "  Note: " << note << "\n";
  std::cout << "Use it: tovana --analysis DIR --dataset \"" << r.name << "\" setup whole --name NAME\n";
}
} // namespace

void AddDatasetsCreateCommand(CLI::App& datasets, AppContext& context, CommandRunner& runner) {
  CLI::App* create = datasets.add_subcommand("create", "Make a data set from the layers of a GeoPackage, shapefile, "
                                                       "GeoJSON, FlatGeobuf or PostGIS source");
  auto o = std::make_shared<DatasetCreateOptions>();
  auto regions = std::make_shared<std::string>();
  auto codes = std::make_shared<std::string>();
  auto numeric = std::make_shared<std::string>();
  auto check = std::make_shared<std::string>();
  auto length = std::make_shared<int>(0);
  create->add_option("name", o->name, "the new data set's name, also its folder in the data root")->required();
  create->add_option("--from", o->source, "the source: a file GDAL reads, or \"PG:dbname=... \"")->required();
  create->add_option("--regions", *regions, "LAYER[:NAMEFIELD]: the main layer, the regions picked by name "
                                            "(default name field: the first text field with unique values)")
      ->required();
  create->add_option("--codes", *codes, "LAYER:FIELD: postal code areas, for study areas of codes");
  create->add_option("--context", o->context, "LAYER: outlines drawn beneath (repeatable)");
  create->add_option("--projection", o->projection, "auto (an equal-area system fitted to the data) or EPSG:N")
      ->capture_default_str();
  create->add_option("--attribution", o->attribution, "the data's sources in one line, drawn on maps");
  create->add_option("--label-field", o->labelField, "a field of the regions added to their names (\"Kings, NY\")");
  create->add_option("--places", o->placesFile, "FILE.csv: places of your own for the gazetteer "
                                                "(columns name,latitude,longitude[,state][,population])");
  create->add_option("--assume-srs", o->assumeSrs, "EPSG:N: the coordinate system of layers that name none");
  create->add_flag("--replace", o->replace, "replace a data set of the same name");
  create->add_option("--code-length", *length, "the codes' length (default: the most common one)");
  create->add_option("--numeric-codes", *numeric, "yes or no: codes of digits only (default: as the codes are)");
  create->add_option("--check-codes", *check, "yes or no: check typed codes against the length (default: yes when "
                                              "every code has it)");
  create->callback([&context, &runner, o, regions, codes, numeric, check, length] {
    runner = [&context, o, regions, codes, numeric, check, length] {
      DatasetCreateOptions options = *o;
      options.dataRoot = context.dataRoot.empty() ? DefaultDataRoot() : context.dataRoot;
      options.regions = ParseLayerChoice(*regions, "--regions", FieldPart::Optional);
      if (!codes->empty()) options.codes = ParseLayerChoice(*codes, "--codes", FieldPart::Required);
      for (std::string& layer : options.context) layer = ParseLayerChoice(layer, "--context", FieldPart::None).layer;
      options.codeRules.numeric = YesNo(*numeric, "--numeric-codes");
      options.codeRules.checkValidity = YesNo(*check, "--check-codes");
      if (*length < 0 || *length > 64)
        throw HostError(err::InvalidCall, "tovana datasets create", "--code-length: give a length from 1 to 64");
      if (*length > 0) options.codeRules.valueLength = *length;
      Print(CreateDataset(options, [](const std::string& step) { std::cerr << step << "...\n"; }));
      return kExitOk;
    };
  });
}

} // namespace tov
