// tovana setup METHOD | script: runs Study Area Setup as the host does, with
// the scripted presenter playing the user from the method chooser on.
#include "host/app/Commands.h"
#include "host/app/ConsolePresenter.h"
#include "host/app/DrawnShape.h"
#include "host/app/ExtentOption.h"
#include "host/app/LonLatToMap.h"
#include "host/join/MapListRegions.h"
#include "host/join/MapPageSystem.h"
#include "host/join/RegionNameText.h"

#include "host/forms/SetupScript.h"
#include "host/forms/UserScript.h"
#include "host/framework/MethodDescriptor.h"
#include "host/gis/OgrGeometrySource.h"
#include "host/session/HostTaskRun.h"
#include "host/session/MapPreparation.h"
#include "platform/forms/Form.h"
#include "platform/framework/HostDataset.h"
#include "platform/framework/TaskDescriptor.h"
#include "platform/gis/ActiveView.h"
#include "platform/gis/EnumFeature.h"
#include "platform/gis/Envelope.h"
#include "platform/gis/FeatureLayer.h"
#include "platform/gis/FillSymbol.h"
#include "platform/gis/GraphicElement.h"
#include "platform/gis/GroupLayer.h"
#include "platform/gis/LineSymbol.h"
#include "platform/gis/Map.h"
#include "platform/gis/MapDocument.h"
#include "platform/gis/Point.h"
#include "platform/gis/QueryFilter.h"
#include "platform/gis/RgbColor.h"
#include "platform/gis/SelectionSet.h"
#include "platform/gis/SpatialReferenceFactory.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"
#include "platform/runtime/TextCase.h"

#include <nlohmann/json.hpp>
#include <ogr_geometry.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <map>
#include <sstream>

namespace tov {

namespace {

using nlohmann::json;

// The command line's presenter; it also prints the text of the selected
// shapes summary, which the user would read before going on.
class SetupPresenter : public ConsolePresenter {
public:
  void ShowModal(Form& form) override {
    if (EqualsIgnoreCase(form.Name(), "SummarySelShapesDialog"))
      if (ControlPtr summary = form.Ctl("SummarySelShapes")) std::cout << summary->Text() << "\n";
    ConsolePresenter::ShowModal(form);
  }
};

// Runs Study Area Setup and reports the outcome; the exit code of the command.
// Without a task ProgID the host's main task runs (the chooser first).
int RunAndReport(AppContext& context, const std::shared_ptr<ConsolePresenter>& presenter,
                 const std::string& taskProgId = std::string(), const std::string& descriptorName = std::string()) {
  AnalysisPtr analysis = context.OpenAnalysisOnce();
  SetPresenter(presenter);
  HostTaskRunResult result =
      taskProgId.empty() ? RunHostTask(*analysis) : RunHostTask(*analysis, taskProgId, descriptorName);
  // A page that refuses what the command typed says why in a message and
  // shows itself again; the command then gives up as a user would, and the
  // turns it did not use are no fault of the script.
  const bool refused = result.pageResult == -1 && !presenter->Messages().empty();
  if (refused) presenter->CheckFinished();
  else presenter->ReportScriptErrors();
  // A run that stored nothing keeps only what the wizard itself changed (a
  // study area opened, renamed or removed), never the extent, selection and
  // graphics the command was given; what the store already wrote stays.
  SaveRunChanges(*analysis, result);
  if (!result.Stored()) {
    std::cerr << "tovana: "
              << (refused ? std::string("the input was refused (the message above says why); no study area was made.")
                          : DescribeNothingStored(result))
              << "\n";
    if (result.changed)
      std::cerr << "tovana: what the wizard changed (study areas opened, renamed or removed) is saved in "
                << AnalysisShownName(*analysis) << ".\n";
    return kExitNothingMade;
  }
  const std::string& name = result.studyAreaName.empty() ? result.currentStudyArea : result.studyAreaName;
  std::cout << "Study area \"" << name << "\" stored in " << AnalysisShownName(*analysis) << "\n";
  return kExitOk;
}

json Turn(const std::string& form, json actions) { return {{"form", form}, {"actions", std::move(actions)}}; }

// The caption under which the chooser lists a method of the current data
// set; "" when the data set does not offer it.
std::string MethodCaption(const Analysis& analysis, const std::string& descriptorName) {
  const std::string datasetName = analysis.extension->CurrentDatasetName();
  HostDatasetPtr dataset = analysis.dataManager->DataSetByName(datasetName);
  TaskDescriptorPtr method = FindMethodDescriptor(dataset, descriptorName);
  return method ? method->Caption() : std::string();
}

// What every `setup METHOD` shares: the method's descriptor, its own page
// turns and the name typed on the name page; some methods also take an
// option on the chooser before its Next.
struct MethodScript {
  std::string descriptorName;
  json chooserActions = json::array();
  json pageTurns = json::array();
  std::string name;
};

// The chooser turn (the method picked by its caption, Next), the method's
// pages, the name page; run through the main task.
int RunMethod(AppContext& context, const MethodScript& script) {
  AnalysisPtr analysis = context.OpenAnalysisOnce();
  const std::string caption = MethodCaption(*analysis, script.descriptorName);
  if (caption.empty()) {
    std::cerr << "tovana: the data set \"" << analysis->extension->CurrentDatasetName()
              << "\" does not offer the method \"" << script.descriptorName << "\" (tovana datasets lists them)\n";
    return kExitNothingMade;
  }
  json turns = json::parse(SetupMethodTurns(caption, script.pageTurns.dump(), script.name));
  json& chooser = turns.at(0).at("actions");
  chooser.insert(chooser.end() - 1, script.chooserActions.begin(), script.chooserActions.end());
  auto presenter = std::make_shared<SetupPresenter>();
  presenter->LoadScript(turns.dump());
  return RunAndReport(context, presenter);
}

// The region names as the list page offers them; false with the reason
// printed when a name is not among them (with the closest names) or the
// search shows none. A name may differ from the list's in letter case: it
// then becomes the list's.
bool CheckRegionNames(AppContext& context, std::vector<std::string>& regions, const std::string& search) {
  AnalysisPtr analysis = context.OpenAnalysisOnce();
  SetPresenter(std::make_shared<ConsolePresenter>());
  MapListRegions method(analysis->dataManager, analysis->application, analysis->extension->CurrentDatasetName());
  const std::vector<std::string> all = method.Offered(std::string());
  std::map<std::string, std::string> byFold;
  for (const std::string& name : all) byFold.emplace(LowerCase(name), name);
  bool ok = true;
  for (std::string& region : regions) {
    auto it = byFold.find(LowerCase(region));
    if (it != byFold.end()) {
      region = it->second;
      continue;
    }
    ok = false;
    std::cerr << "tovana: \"" << region << "\" is not among the regions of the list; the closest are:";
    const std::vector<std::string> closest = ClosestNames(all, region, 5);
    for (size_t i = 0; i < closest.size(); ++i) std::cerr << (i ? ", \"" : " \"") << closest[i] << "\"";
    std::cerr << (closest.empty() ? " none (the list is empty)" : "") << "\n";
  }
  if (!search.empty() && method.Offered(search).empty()) {
    std::cerr << "tovana: no region of the list contains \"" << search << "\" (tovana regions lists them)\n";
    ok = false;
  }
  if (!ok) std::cerr << "tovana: no study area was made.\n";
  return ok;
}

EnvelopePtr MakeEnvelope(double xMin, double yMin, double xMax, double yMax) {
  auto envelope = CreateAs<Envelope>(kEnvelopeProgId);
  envelope->PutCoords(xMin, yMin, xMax, yMax);
  return envelope;
}

// Said by every option that takes map coordinates.
constexpr char kMapCoordinates[] =
    "in the map's coordinate system (metres in EPSG:5070 for the sample data set USA), or in longitude and "
    "latitude (degrees) with --lonlat";
constexpr char kLonLatHelp[] = "Coordinates are longitude and latitude in degrees (WGS 84), put into the map's system";

// "XMIN,YMIN,XMAX,YMAX" in map coordinates (or WEST,SOUTH,EAST,NORTH).
EnvelopePtr ParseExtent(const std::string& text, bool lonLat) {
  const std::vector<double> v = ParseExtentOption(text, lonLat);
  return MakeEnvelope(v[0], v[1], v[2], v[3]);
}

// Shows the envelope (in map coordinates, or longitude and latitude) in the
// focus map.
void SetFocusMapExtent(const Analysis& analysis, EnvelopePtr envelope, bool lonLat = false) {
  MapPtr map = FocusMapOf(analysis);
  if (lonLat) envelope = LonLatExtentToMap(*map, envelope->XMin(), envelope->YMin(), envelope->XMax(), envelope->YMax());
  else RequireExtentOnGlobe(*map, *envelope);
  ShowExtent(map, envelope);
}

// A number option as the user wrote it; a usage error when it is none.
double NumberOption(const std::string& option, const std::string& text) {
  try {
    return Variant(text).ToDouble();
  } catch (const HostError&) {
    throw CLI::ValidationError(option, "\"" + text + "\" is not a number");
  }
}

struct LayerSelection {
  std::string layer;
  std::string where;
};

// "LAYER:WHERE" (the where clause may hold colons itself).
LayerSelection ParseSelection(const std::string& text) {
  const auto colon = text.find(':');
  if (colon == std::string::npos || colon == 0 || colon + 1 == text.size())
    throw CLI::ValidationError("--select", "\"" + text + "\": give LAYER:WHERE, such as \"Counties:STATE = 'NY'\"");
  return {text.substr(0, colon), text.substr(colon + 1)};
}

// A WKT polygon in map coordinates (or longitude and latitude); a usage
// error when it is not one.
std::shared_ptr<OGRGeometry> ParseGraphic(const std::string& wkt, bool lonLat) {
  OGRGeometry* geometry = nullptr;
  const OGRErr status = OGRGeometryFactory::createFromWkt(wkt.c_str(), nullptr, &geometry);
  std::shared_ptr<OGRGeometry> owned(geometry, [](OGRGeometry* g) { OGRGeometryFactory::destroyGeometry(g); });
  if (status != OGRERR_NONE || !geometry)
    throw CLI::ValidationError("--graphic", "\"" + wkt + "\" is not a WKT polygon");
  const auto type = wkbFlatten(geometry->getGeometryType());
  if (type != wkbPolygon && type != wkbMultiPolygon)
    throw CLI::ValidationError("--graphic", "\"" + wkt + "\" is a " + geometry->getGeometryName() + ", not a polygon");
  if (geometry->IsEmpty()) throw CLI::ValidationError("--graphic", "the polygon is empty");
  if (lonLat) {
    OGREnvelope e;
    geometry->getEnvelope(&e);
    if (std::string problem = LonLatRangeProblem(e.MinX, e.MinY, e.MaxX, e.MaxY); !problem.empty())
      throw CLI::ValidationError("--graphic", "with --lonlat, " + problem);
  }
  return owned;
}

// Selects the features of each layer by its where clause and adds each
// polygon as a selected graphic, as a user would before starting the
// wizard; false with the reason printed when a layer is unknown, refuses its
// clause or nothing ends up selected.
bool SelectShapes(const Analysis& analysis, const std::vector<LayerSelection>& selections,
                  const std::vector<std::shared_ptr<OGRGeometry>>& graphics, bool lonLat) {
  MapPtr map = FocusMapOf(analysis);
  map->ClearSelection();
  map->UnselectAllElements();
  for (const LayerSelection& selection : selections) {
    FeatureLayerPtr layer = FindFeatureLayer(*map, selection.layer);
    if (!layer) {
      std::cerr << "tovana: the map has no layer named \"" << selection.layer << "\" (tovana datasets lists them)\n";
      return false;
    }
    try {
      SelectFeaturesWhere(*layer, selection.where);
    } catch (const HostError& e) {
      std::cerr << "tovana: the layer \"" << layer->Name() << "\" refused the where clause \"" << selection.where
                << "\": " << e.Description() << "\n";
      return false;
    }
  }
  long selected = SelectedFeatureCount(*map);
  for (const auto& graphic : graphics) {
    if (lonLat) LonLatGeometryToMap(*graphic, *map);
    AddPolygonGraphic(*map, GeometryFromOgr(graphic.get(), geometryPolygon, map->SpatialReference()), true);
    ++selected;
  }
  if (selected == 0) {
    std::cerr << "tovana: nothing was selected: no feature passed the where clauses; no study area was made.\n";
    return false;
  }
  return true;
}

} // namespace

void AddSetupCommands(CLI::App& app, AppContext& context, CommandRunner& runner) {
  CLI::App* setup = app.add_subcommand("setup", "Create a study area with one of the methods");
  setup->require_subcommand(1);
  // Storing a study area may make the shared analysis it goes into.
  setup->preparse_callback([&context](std::size_t) { context.createsSharedAnalysis = true; });

  // Every method ends on the name page.
  auto addName = [](CLI::App* method, const std::shared_ptr<MethodScript>& script) {
    method->add_option("--name", script->name, "Name of the new study area")->required();
  };
  auto checkName = [](const MethodScript& script) {
    if (!UserScript::IsUtf8(script.name)) throw CLI::ValidationError("--name", "the name is not UTF-8 text");
  };

  auto extentScript = std::make_shared<MethodScript>();
  extentScript->descriptorName = "SetupStudyArea.CurrentExtent";
  auto extentText = std::make_shared<std::string>();
  auto extentLonLat = std::make_shared<bool>(false);
  CLI::App* extent = setup->add_subcommand("extent", "Study area from the map's visible extent");
  addName(extent, extentScript);
  CLI::Option* extentOption = extent->add_option(
      "--extent", *extentText, std::string("Visible extent to use, XMIN,YMIN,XMAX,YMAX ") + kMapCoordinates);
  extent->add_flag("--lonlat", *extentLonLat, kLonLatHelp)->needs(extentOption);
  extent->callback([&context, &runner, extentScript, extentText, extentLonLat, checkName] {
    // Usage errors before anything runs.
    checkName(*extentScript);
    EnvelopePtr envelope = extentText->empty() ? nullptr : ParseExtent(*extentText, *extentLonLat);
    const bool lonLat = *extentLonLat;
    runner = [&context, extentScript, envelope, lonLat] {
      if (envelope) {
        try {
          SetFocusMapExtent(*context.OpenAnalysisOnce(), envelope, lonLat);
        } catch (const HostError& e) {
          std::cerr << "tovana: the study area \"" << extentScript->name
                    << "\" was not made: the extent cannot be shown on the map (" << e.Description() << ")\n";
          return kExitNothingMade;
        }
      }
      return RunMethod(context, *extentScript);
    };
  });

  auto wholeScript = std::make_shared<MethodScript>();
  wholeScript->descriptorName = "SetupStudyArea.UseWhole";
  CLI::App* whole = setup->add_subcommand("whole", "Study area from the whole main layer of the data set");
  addName(whole, wholeScript);
  whole->callback([&context, &runner, wholeScript, checkName] {
    checkName(*wholeScript);
    runner = [&context, wholeScript] { return RunMethod(context, *wholeScript); };
  });

  struct SelectedOptions {
    std::vector<std::string> selections;
    std::vector<std::string> graphics;
    bool lonLat = false;
  };
  auto selectedScript = std::make_shared<MethodScript>();
  selectedScript->descriptorName = "SetupStudyArea.SelectedShapes";
  auto selectedOptions = std::make_shared<SelectedOptions>();
  CLI::App* selected = setup->add_subcommand("selected", "Study area from the selected polygons of the map");
  addName(selected, selectedScript);
  selected->add_option("--select", selectedOptions->selections,
                       "Select the features of LAYER that pass the where clause: \"LAYER:WHERE\" (repeatable)")
      ->allow_extra_args(false);
  CLI::Option* graphicOption =
      selected
          ->add_option("--graphic", selectedOptions->graphics,
                       std::string("Add a selected graphic polygon, WKT \"POLYGON((...))\" ") + kMapCoordinates +
                           " (repeatable)")
          ->allow_extra_args(false);
  selected->add_flag("--lonlat", selectedOptions->lonLat, kLonLatHelp)->needs(graphicOption);
  selected->callback([&context, &runner, selectedScript, selectedOptions, checkName] {
    checkName(*selectedScript);
    if (selectedOptions->selections.empty() && selectedOptions->graphics.empty())
      throw CLI::ValidationError("--select", "give at least one --select or --graphic");
    std::vector<LayerSelection> selections;
    for (const std::string& text : selectedOptions->selections) selections.push_back(ParseSelection(text));
    std::vector<std::shared_ptr<OGRGeometry>> graphics;
    const bool lonLat = selectedOptions->lonLat;
    for (const std::string& wkt : selectedOptions->graphics) graphics.push_back(ParseGraphic(wkt, lonLat));
    selectedScript->pageTurns = json::array({Turn("SummarySelShapesDialog", {{{"click", "NextButton"}}})});
    runner = [&context, selectedScript, selections, graphics, lonLat] {
      try {
        if (!SelectShapes(*context.OpenAnalysisOnce(), selections, graphics, lonLat)) return kExitNothingMade;
      } catch (const HostError& e) {
        if (!lonLat) throw;
        std::cerr << "tovana: the study area \"" << selectedScript->name
                  << "\" was not made: the polygon cannot be placed on the map (" << e.Description() << ")\n";
        return kExitNothingMade;
      }
      return RunMethod(context, *selectedScript);
    };
  });

  auto zipScript = std::make_shared<MethodScript>();
  zipScript->descriptorName = "SetupStudyArea.WildCard";
  auto zips = std::make_shared<std::string>();
  CLI::App* zip = setup->add_subcommand("zip", "Study area from a list of ZIP codes");
  addName(zip, zipScript);
  zip->add_option("--zips", *zips, "The ZIP codes, separated by blanks, commas or semicolons; a code of at least two digits ending in * or % takes every ZIP code that begins with it")
      ->required();
  zip->callback([&context, &runner, zipScript, zips, checkName] {
    checkName(*zipScript);
    if (!UserScript::IsUtf8(*zips)) throw CLI::ValidationError("--zips", "the list is not UTF-8 text");
    zipScript->pageTurns = json::array(
        {Turn("SelectByZipCodesDialog", {{{"set", "ZipCodesText"}, {"text", *zips}}, {{"click", "NextButton"}}})});
    runner = [&context, zipScript] { return RunMethod(context, *zipScript); };
  });

  struct RegionOptions {
    std::vector<std::string> regions;
    std::string search;
    bool onMap = false, add = false;
    std::vector<std::string> clicks, drags;
  };
  auto regionScript = std::make_shared<MethodScript>();
  regionScript->descriptorName = MapListRegions::kMethodName;
  auto regionOptions = std::make_shared<RegionOptions>();
  CLI::App* regions =
      setup->add_subcommand("regions", "Study area of regions picked by name from the list, or on the map");
  addName(regions, regionScript);
  regions->add_option("--region", regionOptions->regions, "A region's name as the list shows it (repeatable)")
      ->allow_extra_args(false);
  regions->add_option("--search", regionOptions->search, "Also add every region whose name contains this text");
  regions->add_flag("--on-map", regionOptions->onMap,
                    "Pick on the method's map page (after the list page when names are given too)");
  regions->add_option("--click", regionOptions->clicks,
                      "On the map: click the region at LON,LAT (repeatable; a click replaces the selection)")
      ->allow_extra_args(false);
  regions->add_option("--drag", regionOptions->drags,
                      "On the map: drag a rectangle LONMIN,LATMIN,LONMAX,LATMAX over the regions (repeatable)")
      ->allow_extra_args(false);
  regions->add_flag("--add", regionOptions->add, "On the map: the drags add to the selection (shift held)");
  regions->callback([&context, &runner, regionScript, regionOptions, checkName] {
    checkName(*regionScript);
    const bool onMapInput = !regionOptions->clicks.empty() || !regionOptions->drags.empty() || regionOptions->add;
    if (onMapInput && !regionOptions->onMap)
      throw CLI::ValidationError("--click", "--click, --drag and --add act on the map page: give --on-map too");
    if (regionOptions->regions.empty() && regionOptions->search.empty() && !onMapInput)
      throw CLI::ValidationError("--region", "give at least one --region, a --search, or --on-map with --click or --drag");
    for (const std::string& text : regionOptions->regions)
      if (!UserScript::IsUtf8(text)) throw CLI::ValidationError("--region", "a name is not UTF-8 text");
    if (!UserScript::IsUtf8(regionOptions->search)) throw CLI::ValidationError("--search", "the text is not UTF-8");
    // Parsed now so that a bad coordinate is a usage error.
    auto lonLat = [](const std::string& text, size_t count, const char* option) {
      std::vector<double> values;
      std::stringstream in(text);
      for (std::string part; std::getline(in, part, ',');) {
        double v = 0;
        if (!ParseNumber(part, v)) throw CLI::ValidationError(option, "\"" + text + "\" holds no number at \"" + part + "\"");
        values.push_back(v);
      }
      if (values.size() != count)
        throw CLI::ValidationError(option, "\"" + text + "\" must be " + std::to_string(count) + " numbers separated by commas");
      for (size_t i = 0; i < values.size(); ++i)
        if (std::abs(values[i]) > (i % 2 ? 90 : 180))
          throw CLI::ValidationError(option, "\"" + text + "\" is no longitude and latitude");
      return values;
    };
    auto clicks = std::make_shared<std::vector<std::vector<double>>>();
    auto drags = std::make_shared<std::vector<std::vector<double>>>();
    for (const std::string& text : regionOptions->clicks) clicks->push_back(lonLat(text, 2, "--click"));
    for (const std::string& text : regionOptions->drags) drags->push_back(lonLat(text, 4, "--drag"));
    const bool fromList = !regionOptions->regions.empty() || !regionOptions->search.empty();
    regionScript->chooserActions = json::array({{{"click", fromList ? "FromListOption" : "FromMapOption"}}});
    runner = [&context, regionScript, regionOptions, clicks, drags, fromList] {
      std::vector<std::string> names;
      for (const std::string& name : regionOptions->regions)
        if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
      if (!CheckRegionNames(context, names, regionOptions->search)) return kExitNothingMade;
      regionScript->pageTurns = json::array();
      if (fromList) {
        // Each name searched for and double-clicked, the search's names
        // added all at once: what a user does on the list page.
        json actions = json::array();
        auto search = [&actions](const std::string& text) {
          actions.push_back({{"set", "SearchTextBox"}, {"text", ""}});
          actions.push_back({{"type", "SearchTextBox"}, {"text", text}});
        };
        for (const std::string& name : names) {
          search(name);
          actions.push_back({{"dblclick", "FromList"}, {"item", name}});
        }
        if (!regionOptions->search.empty()) {
          search(regionOptions->search);
          actions.push_back({{"click", "AddAllButton"}});
        }
        actions.push_back({{"click", regionOptions->onMap ? "ToMapButton" : "NextButton"}});
        regionScript->pageTurns.push_back(Turn("SelectFromListDialog", actions));
      }
      if (regionOptions->onMap) {
        // The map page's map is in its bottom layer's system.
        AnalysisPtr analysis = context.OpenAnalysisOnce();
        SpatialReferencePtr system = MapPageSystem(analysis->dataManager, analysis->application,
                                                   analysis->extension->CurrentDatasetName(), MapListRegions::kMethodName);
        auto onMap = [&system](double lon, double lat) {
          auto point = CreateAs<Point>(kPointProgId);
          point->PutCoords(lon, lat);
          point->SetSpatialReference(
              CreateAs<SpatialReferenceFactory>(kSpatialReferenceFactoryProgId)->CreateGeographicCoordinateSystem(4326));
          if (system) point->Project(system);
          return json::array({point->X(), point->Y()});
        };
        json actions = json::array();
        for (const auto& c : *clicks) actions.push_back({{"mapdown", "MapControl"}, {"map", onMap(c[0], c[1])}});
        for (const auto& d : *drags) {
          const json low = onMap(d[0], d[1]), high = onMap(d[2], d[3]);
          actions.push_back({{"mapdown", "MapControl"},
                             {"map", low},
                             {"shift", regionOptions->add ? 1 : 0},
                             {"track", {{"rectangle", {low[0], low[1], high[0], high[1]}}}}});
        }
        actions.push_back({{"click", "NextButton"}});
        regionScript->pageTurns.push_back(Turn("SelectFromMapDialog", actions));
      }
      return RunMethod(context, *regionScript);
    };
  });

  struct RingOptions {
    std::string latitude, longitude, address, units = "miles";
    double radius = 0;
    int pick = 1;
  };
  auto ringScript = std::make_shared<MethodScript>();
  ringScript->descriptorName = "SetupStudyArea.SimpleRing";
  auto ringOptions = std::make_shared<RingOptions>();
  CLI::App* ring = setup->add_subcommand("ring", "Study area of a ring around a site");
  addName(ring, ringScript);
  CLI::Option* lat = ring->add_option("--lat", ringOptions->latitude, "Latitude of the site (degrees)");
  CLI::Option* lon = ring->add_option("--lon", ringOptions->longitude, "Longitude of the site (degrees)");
  CLI::Option* address = ring->add_option("--address", ringOptions->address, "Address of the site (geocoded)");
  CLI::Option* pick = ring->add_option("--pick", ringOptions->pick, "Which of the geocoder's candidates (from 1)");
  ring->add_option("--radius", ringOptions->radius, "Radius of the ring")->required();
  ring->add_option("--units", ringOptions->units, "Unit of the radius: miles (default) or km")
      ->check(CLI::IsMember({"miles", "km"}));
  lat->needs(lon);
  lon->needs(lat);
  address->excludes(lat)->excludes(lon);
  pick->needs(address);
  ring->callback([&context, &runner, ringScript, ringOptions, checkName] {
    checkName(*ringScript);
    const RingOptions& o = *ringOptions;
    if (o.latitude.empty() && o.address.empty())
      throw CLI::ValidationError("--lat", "give the site: --lat and --lon, or --address");
    if (!(o.radius > 0 && o.radius < 40000))
      throw CLI::ValidationError("--radius", "the radius must be above 0 and below 40000");
    json site = json::array();
    const bool byAddress = !o.address.empty();
    if (byAddress) {
      if (!UserScript::IsUtf8(o.address)) throw CLI::ValidationError("--address", "the address is not UTF-8 text");
      if (o.pick < 1) throw CLI::ValidationError("--pick", "candidates are counted from 1");
      site.push_back(Turn("SpecifySiteDialog", {{{"click", "obtSelect"}}, {{"click", "NextButton"}}}));
      site.push_back(Turn("GeocoderDialog", {{{"set", "AddressText"}, {"text", o.address}},
                                             {{"click", "FindButton"}},
                                             {{"select", "CandidatesList"}, {"index", o.pick - 1}},
                                             {{"click", "NextButton"}}}));
    } else {
      const double latitude = NumberOption("--lat", o.latitude);
      const double longitude = NumberOption("--lon", o.longitude);
      if (latitude < -90 || latitude > 90) throw CLI::ValidationError("--lat", "a latitude is from -90 to 90");
      if (longitude < -180 || longitude > 180)
        throw CLI::ValidationError("--lon", "a longitude is from -180 to 180");
      site.push_back(Turn("SpecifySiteDialog", {{{"click", "obtCoord"}},
                                                {{"set", "txtLatitude"}, {"text", o.latitude}},
                                                {{"set", "txtLongitude"}, {"text", o.longitude}},
                                                {{"click", "NextButton"}}}));
    }
    std::ostringstream radius;
    radius.precision(15);
    radius << o.radius;
    site.push_back(Turn("SelectRingSizeDialog",
                        {{{"click", o.units == "km" ? "KilometersOption" : "MilesOption"}},
                         {{"set", "FirstText"}, {"text", radius.str()}},
                         {{"click", "NextButton"}}}));
    ringScript->pageTurns = site;
    runner = [&context, ringScript, byAddress] {
      if (byAddress && !IsClassRegistered(kGeocoderProgId)) {
        std::cerr << "tovana: finding a site by address needs the geocoder, which is not installed; give --lat and "
                     "--lon instead. No study area was made.\n";
        return kExitNothingMade;
      }
      return RunMethod(context, *ringScript);
    };
  });

  struct DrawOptions {
    std::string rectangle, polygon, circle;
    bool lonLat = false;
  };
  auto drawScript = std::make_shared<MethodScript>();
  drawScript->descriptorName = "SetupStudyArea.DrawOwn";
  auto drawOptions = std::make_shared<DrawOptions>();
  CLI::App* draw = setup->add_subcommand(
      "draw", "Study area of a rectangle, polygon or circle drawn on the drawing page's map. A polygon needs three "
              "distinct points; one that crosses or touches itself is refused, as is a circle whose radius is not "
              "above 0 (exit status 1): this method stores a shape as drawn and repairs nothing");
  addName(draw, drawScript);
  CLI::Option* rectangle =
      draw->add_option("--rectangle", drawOptions->rectangle, "A rectangle: XMIN,YMIN,XMAX,YMAX");
  CLI::Option* polygon = draw->add_option("--polygon", drawOptions->polygon,
                                          "A polygon, its vertices in order: \"X Y, X Y, X Y, ...\" (closed for you)");
  CLI::Option* circle = draw->add_option("--circle", drawOptions->circle, "A circle around X,Y of radius R: X,Y,R");
  draw->add_flag("--lonlat", drawOptions->lonLat,
                 "X and Y are longitude and latitude (WGS 84) and R is in metres, measured north from the centre "
                 "(a circle is round on the map: on a map in degrees it is narrower east to west on the ground); "
                 "without it all are in the drawing page's map units, those of the method's first layer (degrees "
                 "for the sample data set)");
  rectangle->excludes(polygon)->excludes(circle);
  polygon->excludes(circle);
  draw->callback([&context, &runner, drawScript, drawOptions, checkName] {
    checkName(*drawScript);
    const DrawOptions& o = *drawOptions;
    const int given = !o.rectangle.empty() + !o.polygon.empty() + !o.circle.empty();
    if (given != 1) throw CLI::ValidationError("--rectangle", "give one shape: --rectangle, --polygon or --circle");
    const char* option = !o.rectangle.empty() ? "--rectangle" : !o.polygon.empty() ? "--polygon" : "--circle";
    DrawnShape shape;
    try {
      shape = !o.rectangle.empty() ? DrawnShape::Rectangle(o.rectangle)
              : !o.polygon.empty() ? DrawnShape::Polygon(o.polygon)
                                   : DrawnShape::Circle(o.circle);
    } catch (const std::invalid_argument& e) {
      throw CLI::ValidationError(option, e.what());
    }
    if (o.lonLat)
      if (const std::string wrong = shape.LonLatRefusal(); !wrong.empty()) throw CLI::ValidationError(option, wrong);
    const bool lonLat = o.lonLat;
    runner = [&context, drawScript, shape, lonLat] {
      // A shape no study area can be drawn from is told before the analysis
      // is touched.
      if (const std::string refusal = shape.Refusal(); !refusal.empty()) {
        std::cerr << "tovana: " << refusal << "; no study area was made.\n";
        return kExitNothingMade;
      }
      DrawnShape drawn = shape;
      if (lonLat) {
        // Drawn on the drawing page, whose map is in its bottom layer's system.
        AnalysisPtr analysis = context.OpenAnalysisOnce();
        drawn = shape.InMapUnits(Must(MapPageSystem(analysis->dataManager, analysis->application,
                                                    analysis->extension->CurrentDatasetName(), drawScript->descriptorName),
                                      "the drawing page's coordinate system"));
      }
      drawScript->pageTurns = json::array({drawn.PageTurn()});
      return RunMethod(context, *drawScript);
    };
  });

  auto scriptFile = std::make_shared<std::string>();
  CLI::App* script = setup->add_subcommand(
      "script", "Run Study Area Setup with a user script from the method chooser on (see docs/scripts.md), or one "
                "method's task alone: {\"task\": PROGID, \"descriptor\": NAME, \"extent\": [XMIN, YMIN, XMAX, "
                "YMAX], \"turns\": [...]}");
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
    const std::string task = parsed->Task().value_or(std::string());
    if (task.empty() && parsed->Descriptor())
      throw CLI::ValidationError(*scriptFile, "\"descriptor\" names the method of a \"task\"; give the task too");
    if (!task.empty() && !IsClassRegistered(task))
      throw CLI::ValidationError(*scriptFile, "\"task\": no task is installed as \"" + task + "\"");
    runner = [&context, parsed, task] {
      AnalysisPtr analysis = context.OpenAnalysisOnce();
      if (const auto& e = parsed->Extent())
        SetFocusMapExtent(*analysis, MakeEnvelope((*e)[0], (*e)[1], (*e)[2], (*e)[3]));
      auto presenter = std::make_shared<SetupPresenter>();
      const std::string descriptor = parsed->Descriptor().value_or(std::string());
      presenter->Load(std::move(*parsed));
      return RunAndReport(context, presenter, task, descriptor);
    };
  });
}

} // namespace tov
