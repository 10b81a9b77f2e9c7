#include "host/forms/SetupScript.h"

#include <nlohmann/json.hpp>

namespace tov {

std::string SetupMethodTurns(const std::string& caption, const std::string& pageTurns, const std::string& name) {
  using nlohmann::json;
  auto turn = [](const std::string& form, json actions) { return json{{"form", form}, {"actions", std::move(actions)}}; };
  json turns = json::array();
  turns.push_back(turn("CreateSAMainDialog", {{{"click", "CreateSAOption"}},
                                              {{"select", "SATasksList"}, {"item", caption}},
                                              {{"click", "NextButton"}}}));
  for (const json& page : json::parse(pageTurns)) turns.push_back(page);
  turns.push_back(
      turn("SelectSANameDialog", {{{"type", "StudyAreaNameText"}, {"text", name}}, {{"click", "NextButton"}}}));
  return turns.dump();
}

} // namespace tov
