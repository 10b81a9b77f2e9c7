// tovana setup METHOD | script: runs Study Area Setup as the host does, with
// the scripted presenter playing the user from the method chooser on. This
// file holds the options; SetupOptions reads the ones that are more than a
// text, SetupTurns builds the turns and SetupRun runs them.
#include "host/app/Commands.h"
#include "host/app/DrawnShape.h"
#include "host/app/SetupOptions.h"
#include "host/app/SetupRun.h"
#include "host/app/SetupTurns.h"
#include "host/forms/UserScript.h"
#include "host/join/MapListRegions.h"
#include "platform/runtime/MethodNames.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <iostream>

namespace tov {

using nlohmann::json;

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
  extentScript->descriptorName = kCurrentExtentMethod;
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
  wholeScript->descriptorName = kUseWholeMethod;
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
  selectedScript->descriptorName = kSelectedShapesMethod;
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
    selectedScript->pageTurns = SelectedShapesPageTurns();
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
  zipScript->descriptorName = kZipCodesMethod;
  auto zips = std::make_shared<std::string>();
  CLI::App* zip = setup->add_subcommand("zip", "Study area from a list of ZIP codes");
  addName(zip, zipScript);
  zip->add_option("--zips", *zips, "The ZIP codes, separated by blanks, commas or semicolons; a code of at least two digits ending in * or % takes every ZIP code that begins with it")
      ->required();
  zip->callback([&context, &runner, zipScript, zips, checkName] {
    checkName(*zipScript);
    if (!UserScript::IsUtf8(*zips)) throw CLI::ValidationError("--zips", "the list is not UTF-8 text");
    zipScript->pageTurns = ZipCodesPageTurns(*zips);
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
    auto clicks = std::make_shared<std::vector<std::vector<double>>>();
    auto drags = std::make_shared<std::vector<std::vector<double>>>();
    for (const std::string& text : regionOptions->clicks) clicks->push_back(LonLatNumbers(text, 2, "--click"));
    for (const std::string& text : regionOptions->drags) drags->push_back(LonLatNumbers(text, 4, "--drag"));
    const bool fromList = !regionOptions->regions.empty() || !regionOptions->search.empty();
    regionScript->chooserActions = RegionChooserActions(fromList);
    runner = [&context, regionScript, regionOptions, clicks, drags, fromList] {
      std::vector<std::string> names;
      for (const std::string& name : regionOptions->regions)
        if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
      if (!CheckRegionNames(context, names, regionOptions->search)) return kExitNothingMade;
      regionScript->pageTurns = json::array();
      if (fromList) regionScript->pageTurns.push_back(RegionListTurn(names, regionOptions->search, regionOptions->onMap));
      if (regionOptions->onMap) {
        // The map page's map is in its bottom layer's system.
        const SpatialReferencePtr system = MapPageSystemOf(context, MapListRegions::kMethodName);
        std::vector<std::array<double, 2>> clicked;
        for (const auto& c : *clicks) clicked.push_back(LonLatIn(system, c[0], c[1]));
        std::vector<std::array<double, 4>> dragged;
        for (const auto& d : *drags) {
          const auto low = LonLatIn(system, d[0], d[1]), high = LonLatIn(system, d[2], d[3]);
          dragged.push_back({low[0], low[1], high[0], high[1]});
        }
        regionScript->pageTurns.push_back(RegionMapTurn(clicked, dragged, regionOptions->add));
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
  ringScript->descriptorName = kSimpleRingMethod;
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
    const bool byAddress = !o.address.empty();
    RingSite site;
    if (byAddress) {
      if (!UserScript::IsUtf8(o.address)) throw CLI::ValidationError("--address", "the address is not UTF-8 text");
      if (o.pick < 1) throw CLI::ValidationError("--pick", "candidates are counted from 1");
      site.address = o.address;
      site.pick = o.pick;
    } else {
      const double latitude = NumberOption("--lat", o.latitude);
      const double longitude = NumberOption("--lon", o.longitude);
      if (latitude < -90 || latitude > 90) throw CLI::ValidationError("--lat", "a latitude is from -90 to 90");
      if (longitude < -180 || longitude > 180)
        throw CLI::ValidationError("--lon", "a longitude is from -180 to 180");
      site.latitude = o.latitude;
      site.longitude = o.longitude;
    }
    ringScript->pageTurns = RingPageTurns(site, o.radius, o.units);
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
  drawScript->descriptorName = kDrawnAreaMethod;
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
        drawn = shape.InMapUnits(
            Must(MapPageSystemOf(context, drawScript->descriptorName), "the drawing page's coordinate system"));
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
