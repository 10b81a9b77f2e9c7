#pragma once
// Running `tovana setup`: the turns played from the chooser on, the outcome
// reported, and what a run needs of the analysis first (the names the list
// offers, the map's extent and selection).
#include "host/app/AppContext.h"
#include "host/app/ConsolePresenter.h"
#include "host/app/SetupOptions.h"

#include <nlohmann/json.hpp>

#include <array>
#include <memory>
#include <string>
#include <vector>

class OGRGeometry;

namespace tov {

// The command line's presenter; it also prints the text of the selected
// shapes summary, which the user would read before going on.
class SetupPresenter : public ConsolePresenter {
public:
  void ShowModal(Form& form) override;
};

// Runs Study Area Setup and reports the outcome; the exit code of the command.
// Without a task ProgID the host's main task runs (the chooser first).
int RunAndReport(AppContext& context, const std::shared_ptr<ConsolePresenter>& presenter,
                 const std::string& taskProgId = std::string(), const std::string& descriptorName = std::string());

// What every `setup METHOD` shares: the method's descriptor, its own page
// turns and the name typed on the name page; some methods also take an
// option on the chooser before its Next.
struct MethodScript {
  std::string descriptorName;
  nlohmann::json chooserActions = nlohmann::json::array();
  nlohmann::json pageTurns = nlohmann::json::array();
  std::string name;
};

// The chooser turn (the method picked by its caption, Next), the method's
// pages, the name page; run through the main task.
int RunMethod(AppContext& context, const MethodScript& script);

// The region names as the list page offers them; false with the reason
// printed when a name is not among them (with the closest names) or the
// search shows none. A name may differ from the list's in letter case: it
// then becomes the list's.
bool CheckRegionNames(AppContext& context, std::vector<std::string>& regions, const std::string& search);

// The coordinate system of a method's map page: its bottom layer's. No
// object when the method or its layer has none.
SpatialReferencePtr MapPageSystemOf(AppContext& context, const std::string& methodName);

// A longitude and latitude (WGS 84) in the system (unchanged without one).
std::array<double, 2> LonLatIn(const SpatialReferencePtr& system, double lon, double lat);

// Shows the envelope (in map coordinates, or longitude and latitude) in the
// focus map.
void SetFocusMapExtent(const Analysis& analysis, EnvelopePtr envelope, bool lonLat = false);

// Selects the features of each layer by its where clause and adds each
// polygon as a selected graphic, as a user would before starting the
// wizard; false with the reason printed when a layer is unknown, refuses its
// clause or nothing ends up selected.
bool SelectShapes(const Analysis& analysis, const std::vector<LayerSelection>& selections,
                  const std::vector<std::shared_ptr<OGRGeometry>>& graphics, bool lonLat);

} // namespace tov
