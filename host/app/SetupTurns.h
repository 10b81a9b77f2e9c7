#pragma once
#include <nlohmann/json.hpp>

#include <array>
#include <string>
#include <vector>

namespace tov {

// The turns that `tovana setup METHOD` plays, built from what the user gave
// alone: which page each option goes to and what a user does there. Running
// them is SetupRun's.

nlohmann::json Turn(const std::string& form, nlohmann::json actions);

// A whole run: the chooser with the method picked by its caption, the
// chooser actions and Next; the method's page turns; the name page with the
// name typed and Next.
nlohmann::json MethodRunTurns(const std::string& caption, const nlohmann::json& chooserActions,
                              const nlohmann::json& pageTurns, const std::string& name);

// The ZIP page with the list typed, Next.
nlohmann::json ZipCodesPageTurns(const std::string& zips);

// The selected shapes summary, read and left by Next.
nlohmann::json SelectedShapesPageTurns();

// Where a ring goes: an address found by the geocoder (its candidate pick,
// from 1), or a latitude and longitude as the user typed them.
struct RingSite {
  std::string address;
  int pick = 1;
  std::string latitude, longitude;
};

// The site page (and the geocoder's page for an address), then the ring
// size page with the radius in units, "miles" or "km".
nlohmann::json RingPageTurns(const RingSite& site, double radius, const std::string& units);

// The chooser's option of the regions method: the list page first, or the
// map page.
nlohmann::json RegionChooserActions(bool fromList);

// The list page: each name searched for and double-clicked, then the
// search's names added all at once, as a user does; then on to the map page
// or Next.
nlohmann::json RegionListTurn(const std::vector<std::string>& names, const std::string& search, bool toMap);

// The map page: a click at each point and a drag over each rectangle (shift
// held when add), in the coordinates of the page's map; then Next.
nlohmann::json RegionMapTurn(const std::vector<std::array<double, 2>>& clicks,
                             const std::vector<std::array<double, 4>>& drags, bool add);

} // namespace tov
