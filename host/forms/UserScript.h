#pragma once
#include <nlohmann/json.hpp>

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace tov {

// A script of user turns (docs/scripts.md), read and checked in one pass: a
// script that would fail half-way is refused before anything runs. The
// parsed document is built once and its actions moved into the turns.
class UserScript {
public:
  static constexpr size_t kMaxNesting = 64;

  struct Turn {
    size_t Number = 0;
    std::string Form; // "" for a message box answer outside any form
    std::vector<nlohmann::json> Actions;
    int32_t Answer = 0;
  };

  // Reads a script: a list of turns, or an object with "turns" and the
  // command line's "task", "descriptor" and "extent". Turns are numbered
  // from firstTurn. A malformed script (not JSON or not UTF-8, nested deeper
  // than kMaxNesting, a wrong type, an unknown key or verb, two verbs in one
  // action) raises HostError 5 whose description starts with its place,
  // "turn 2, action 1: ...".
  static UserScript Parse(const std::string& text, size_t firstTurn = 1);
  // The same from a file (native path); 53 when it cannot be read.
  static UserScript ParseFile(const std::string& nativePath, size_t firstTurn = 1);

  // Whether text is well-formed UTF-8 (every text of a script must be).
  static bool IsUtf8(const std::string& text);

  std::deque<Turn>& Turns() { return m_turns; }
  const std::deque<Turn>& Turns() const { return m_turns; }
  // Number of the last turn ("firstTurn - 1" when there is none).
  size_t LastTurnNumber() const { return m_lastTurn; }
  const std::optional<std::string>& Task() const { return m_task; }
  const std::optional<std::string>& Descriptor() const { return m_descriptor; }
  // XMIN, YMIN, XMAX, YMAX in map coordinates, XMIN below XMAX, YMIN below YMAX.
  const std::optional<std::array<double, 4>>& Extent() const { return m_extent; }

private:
  std::deque<Turn> m_turns;
  size_t m_lastTurn = 0;
  std::optional<std::string> m_task;
  std::optional<std::string> m_descriptor;
  std::optional<std::array<double, 4>> m_extent;
};

} // namespace tov
