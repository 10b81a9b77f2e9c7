#include "host/app/SetupTurns.h"

#include "host/forms/SetupScript.h"

#include <sstream>

namespace tov {

using nlohmann::json;

json Turn(const std::string& form, json actions) { return {{"form", form}, {"actions", std::move(actions)}}; }

json MethodRunTurns(const std::string& caption, const json& chooserActions, const json& pageTurns,
                    const std::string& name) {
  json turns = json::parse(SetupMethodTurns(caption, pageTurns.dump(), name));
  json& chooser = turns.at(0).at("actions");
  chooser.insert(chooser.end() - 1, chooserActions.begin(), chooserActions.end());
  return turns;
}

json ZipCodesPageTurns(const std::string& zips) {
  return json::array(
      {Turn("SelectByZipCodesDialog", {{{"set", "ZipCodesText"}, {"text", zips}}, {{"click", "NextButton"}}})});
}

json SelectedShapesPageTurns() { return json::array({Turn("SummarySelShapesDialog", {{{"click", "NextButton"}}})}); }

json RingPageTurns(const RingSite& site, double radius, const std::string& units) {
  json turns = json::array();
  if (!site.address.empty()) {
    turns.push_back(Turn("SpecifySiteDialog", {{{"click", "obtSelect"}}, {{"click", "NextButton"}}}));
    turns.push_back(Turn("GeocoderDialog", {{{"set", "AddressText"}, {"text", site.address}},
                                            {{"click", "FindButton"}},
                                            {{"select", "CandidatesList"}, {"index", site.pick - 1}},
                                            {{"click", "NextButton"}}}));
  } else {
    turns.push_back(Turn("SpecifySiteDialog", {{{"click", "obtCoord"}},
                                               {{"set", "txtLatitude"}, {"text", site.latitude}},
                                               {{"set", "txtLongitude"}, {"text", site.longitude}},
                                               {{"click", "NextButton"}}}));
  }
  std::ostringstream text;
  text.precision(15);
  text << radius;
  turns.push_back(Turn("SelectRingSizeDialog", {{{"click", units == "km" ? "KilometersOption" : "MilesOption"}},
                                                {{"set", "FirstText"}, {"text", text.str()}},
                                                {{"click", "NextButton"}}}));
  return turns;
}

json RegionChooserActions(bool fromList) {
  return json::array({{{"click", fromList ? "FromListOption" : "FromMapOption"}}});
}

json RegionListTurn(const std::vector<std::string>& names, const std::string& search, bool toMap) {
  json actions = json::array();
  auto find = [&actions](const std::string& text) {
    actions.push_back({{"set", "SearchTextBox"}, {"text", ""}});
    actions.push_back({{"type", "SearchTextBox"}, {"text", text}});
  };
  for (const std::string& name : names) {
    find(name);
    actions.push_back({{"dblclick", "FromList"}, {"item", name}});
  }
  if (!search.empty()) {
    find(search);
    actions.push_back({{"click", "AddAllButton"}});
  }
  actions.push_back({{"click", toMap ? "ToMapButton" : "NextButton"}});
  return Turn("SelectFromListDialog", actions);
}

json RegionMapTurn(const std::vector<std::array<double, 2>>& clicks, const std::vector<std::array<double, 4>>& drags,
                   bool add) {
  json actions = json::array();
  for (const auto& c : clicks) actions.push_back({{"mapdown", "MapControl"}, {"map", json::array({c[0], c[1]})}});
  for (const auto& d : drags)
    actions.push_back({{"mapdown", "MapControl"},
                       {"map", json::array({d[0], d[1]})},
                       {"shift", add ? 1 : 0},
                       {"track", {{"rectangle", {d[0], d[1], d[2], d[3]}}}}});
  actions.push_back({{"click", "NextButton"}});
  return Turn("SelectFromMapDialog", actions);
}

} // namespace tov
