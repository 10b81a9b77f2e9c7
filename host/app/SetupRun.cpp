#include "host/app/SetupRun.h"

#include "host/app/Commands.h"
#include "host/app/LonLatToMap.h"
#include "host/app/SetupTurns.h"
#include "host/framework/MethodDescriptor.h"
#include "host/gis/OgrGeometrySource.h"
#include "host/join/MapListRegions.h"
#include "host/join/MapPageSystem.h"
#include "host/join/RegionNameText.h"
#include "host/session/HostTaskRun.h"
#include "host/session/MapPreparation.h"
#include "platform/forms/Form.h"
#include "platform/framework/HostDataset.h"
#include "platform/framework/TaskDescriptor.h"
#include "platform/gis/Point.h"
#include "platform/gis/SpatialReferenceFactory.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"
#include "platform/runtime/TextCase.h"

#include <ogr_geometry.h>

#include <iostream>
#include <map>

namespace tov {

using nlohmann::json;

namespace {

// The caption under which the chooser lists a method of the current data
// set; "" when the data set does not offer it.
std::string MethodCaption(const Analysis& analysis, const std::string& descriptorName) {
  const std::string datasetName = analysis.extension->CurrentDatasetName();
  HostDatasetPtr dataset = analysis.dataManager->DataSetByName(datasetName);
  TaskDescriptorPtr method = FindMethodDescriptor(dataset, descriptorName);
  return method ? method->Caption() : std::string();
}

} // namespace

void SetupPresenter::ShowModal(Form& form) {
  if (EqualsIgnoreCase(form.Name(), "SummarySelShapesDialog"))
    if (ControlPtr summary = form.Ctl("SummarySelShapes")) std::cout << summary->Text() << "\n";
  ConsolePresenter::ShowModal(form);
}

int RunAndReport(AppContext& context, const std::shared_ptr<ConsolePresenter>& presenter, const std::string& taskProgId,
                 const std::string& descriptorName) {
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

int RunMethod(AppContext& context, const MethodScript& script) {
  AnalysisPtr analysis = context.OpenAnalysisOnce();
  const std::string caption = MethodCaption(*analysis, script.descriptorName);
  if (caption.empty()) {
    std::cerr << "tovana: the data set \"" << analysis->extension->CurrentDatasetName()
              << "\" does not offer the method \"" << script.descriptorName << "\" (tovana datasets lists them)\n";
    return kExitNothingMade;
  }
  auto presenter = std::make_shared<SetupPresenter>();
  presenter->LoadScript(MethodRunTurns(caption, script.chooserActions, script.pageTurns, script.name).dump());
  return RunAndReport(context, presenter);
}

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

SpatialReferencePtr MapPageSystemOf(AppContext& context, const std::string& methodName) {
  AnalysisPtr analysis = context.OpenAnalysisOnce();
  return MapPageSystem(analysis->dataManager, analysis->application, analysis->extension->CurrentDatasetName(),
                       methodName);
}

std::array<double, 2> LonLatIn(const SpatialReferencePtr& system, double lon, double lat) {
  auto point = CreateAs<Point>(kPointProgId);
  point->PutCoords(lon, lat);
  point->SetSpatialReference(
      CreateAs<SpatialReferenceFactory>(kSpatialReferenceFactoryProgId)->CreateGeographicCoordinateSystem(4326));
  if (system) point->Project(system);
  return {point->X(), point->Y()};
}

void SetFocusMapExtent(const Analysis& analysis, EnvelopePtr envelope, bool lonLat) {
  // A preparation: the run's mark then need not write out every layer (it
  // is replayed on the loaded document only if the run stores nothing).
  const double xMin = envelope->XMin(), yMin = envelope->YMin(), xMax = envelope->XMax(), yMax = envelope->YMax();
  analysis.application->Prepare([=](MapDocument& document) {
    MapPtr map = Must(document.FocusMap(), "the focus map");
    EnvelopePtr shown = lonLat ? LonLatExtentToMap(*map, xMin, yMin, xMax, yMax) : MakeEnvelope(xMin, yMin, xMax, yMax);
    if (!lonLat) RequireExtentOnGlobe(*map, *shown);
    ShowExtent(map, shown);
  });
}

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

} // namespace tov
