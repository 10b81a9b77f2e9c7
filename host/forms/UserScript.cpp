#include "host/forms/UserScript.h"

#include "host/forms/ScriptShapes.h"
#include "platform/forms/MsgBox.h"
#include "platform/runtime/HostError.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace tov {

using nlohmann::json;

namespace {

constexpr char kSource[] = "ScriptedPresenter";

// The place of a problem: "turn 2, action 1", "turn 2" or "" (top level).
std::string Place(size_t turn, size_t action) {
  if (turn == 0) return std::string();
  std::string where = "turn " + std::to_string(turn);
  if (action) where += ", action " + std::to_string(action);
  return where;
}

HostError Malformed(const std::string& place, const std::string& what) {
  return HostError(5, kSource, place.empty() ? what : place + ": " + what);
}

// Byte offset of the first byte that does not belong to a well-formed UTF-8
// sequence, or npos.
size_t FirstNonUtf8(const std::string& text) {
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  size_t i = 0;
  while (i < n) {
    const unsigned char c = s[i];
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
    if (c < 0x80) length = 1;
    else if (c >= 0xC2 && c <= 0xDF) length = 2;
    else if (c == 0xE0) length = 3, low = 0xA0;
    else if (c >= 0xE1 && c <= 0xEC) length = 3;
    else if (c == 0xED) length = 3, high = 0x9F; // no surrogates
    else if (c >= 0xEE && c <= 0xEF) length = 3;
    else if (c == 0xF0) length = 4, low = 0x90;
    else if (c >= 0xF1 && c <= 0xF3) length = 4;
    else if (c == 0xF4) length = 4, high = 0x8F;
    else return i;
    if (i + length > n) return i;
    for (size_t k = 1; k < length; ++k) {
      const unsigned char lo = k == 1 ? low : 0x80, hi = k == 1 ? high : 0xBF;
      if (s[i + k] < lo || s[i + k] > hi) return i;
    }
    i += length;
  }
  return std::string::npos;
}

std::string LineAndColumn(const std::string& text, size_t offset) {
  offset = std::min(offset, text.size());
  const size_t line = 1 + static_cast<size_t>(std::count(text.begin(), text.begin() + offset, '\n'));
  const size_t lineStart = text.rfind('\n', offset == 0 ? 0 : offset - 1);
  const size_t column = offset - (lineStart == std::string::npos || offset == 0 ? 0 : lineStart + 1) + 1;
  return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

// Builds the document without recursion, refuses nesting beyond the limit
// and knows at any moment which turn and action it is in, so that a script
// that cannot be read still names its place.
class ScriptReader : public nlohmann::json_sax<json> {
public:
  explicit ScriptReader(size_t firstTurn) : m_firstTurn(firstTurn) {}

  json root;
  std::string problem; // set when the reader itself stopped the parse
  size_t errorAt = std::string::npos;

  bool null() override { return Put(json(nullptr)) != nullptr; }
  bool boolean(bool value) override { return Put(json(value)) != nullptr; }
  bool number_integer(number_integer_t value) override { return Put(json(value)) != nullptr; }
  bool number_unsigned(number_unsigned_t value) override { return Put(json(value)) != nullptr; }
  bool number_float(number_float_t value, const string_t&) override { return Put(json(value)) != nullptr; }
  bool string(string_t& value) override { return Put(json(std::move(value))) != nullptr; }
  bool binary(binary_t& value) override { return Put(json::binary(std::move(value))) != nullptr; }
  bool start_object(std::size_t) override { return Open(json::object()); }
  bool start_array(std::size_t) override { return Open(json::array()); }
  bool end_object() override { return Close(); }
  bool end_array() override { return Close(); }
  bool key(string_t& name) override {
    if (m_stack.back()->contains(name)) {
      problem = "the key \"" + name + "\" is given twice";
      return false;
    }
    m_frames.back().key = std::move(name);
    return true;
  }
  bool parse_error(std::size_t position, const std::string&, const nlohmann::detail::exception&) override {
    errorAt = position;
    return false;
  }

  // The turn and action being read, as Place() writes them.
  std::string Where() const {
    size_t turns = 0; // index of the frame of the list of turns
    if (m_frames.empty()) return std::string();
    if (!m_frames[0].array) {
      if (m_frames.size() < 2 || m_frames[0].key != "turns" || !m_frames[1].array) return std::string();
      turns = 1;
    }
    const size_t turn = m_frames[turns].count;
    if (turn == 0) return std::string();
    size_t action = 0;
    if (m_frames.size() > turns + 2 && !m_frames[turns + 1].array && m_frames[turns + 1].key == "actions" &&
        m_frames[turns + 2].array)
      action = m_frames[turns + 2].count;
    return Place(m_firstTurn + turn - 1, action);
  }

private:
  struct Frame {
    bool array = false;
    size_t count = 0; // entries begun so far (lists)
    std::string key;  // the last key read (objects)
  };

  // Places a value in the open container (or as the root); the address stays
  // valid while the value is open, since only its own entries grow then.
  json* Put(json&& value) {
    if (m_stack.empty()) {
      root = std::move(value);
      return &root;
    }
    json& parent = *m_stack.back();
    if (parent.is_array()) {
      ++m_frames.back().count;
      parent.push_back(std::move(value));
      return &parent.back();
    }
    json& slot = parent[m_frames.back().key];
    slot = std::move(value);
    return &slot;
  }
  bool Open(json&& container) {
    if (m_stack.size() >= UserScript::kMaxNesting) {
      problem = "the script is nested deeper than " + std::to_string(UserScript::kMaxNesting) + " levels";
      return false;
    }
    json* opened = Put(std::move(container));
    m_stack.push_back(opened);
    m_frames.push_back(Frame{opened->is_array(), 0, std::string()});
    return true;
  }
  bool Close() {
    m_stack.pop_back();
    m_frames.pop_back();
    return true;
  }

  size_t m_firstTurn;
  std::vector<json*> m_stack;
  std::vector<Frame> m_frames;
};

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string KindOf(const json& value) {
  if (value.is_string()) return "text";
  if (value.is_boolean()) return "true or false";
  if (value.is_number()) return "a number";
  if (value.is_array()) return "a list";
  if (value.is_object()) return "an object";
  return "null";
}

// Keys of an object outside the allowed ones are refused.
void OnlyKeys(const json& object, const std::set<std::string>& allowed, const std::string& place,
              const std::string& what) {
  for (auto it = object.begin(); it != object.end(); ++it)
    if (!allowed.count(it.key())) {
      std::string known;
      for (const std::string& k : allowed) known += (known.empty() ? "" : ", ") + Quoted(k);
      throw Malformed(place, "unknown key " + Quoted(it.key()) + " in " + what + " (it takes " +
                                 (allowed.size() == 1 ? "only " : "") + known + ")");
    }
}

void Expect(bool ok, const std::string& place, const std::string& key, const std::string& wanted, const json& got) {
  if (!ok) throw Malformed(place, Quoted(key) + " must be " + wanted + ", not " + KindOf(got));
}

bool IsCount(const json& v) { return v.is_number_integer() && v.get<long long>() >= 0; }

// The verbs of an action and the other keys each may have.
const std::map<std::string, std::set<std::string>>& Verbs() {
  static const std::map<std::string, std::set<std::string>> verbs = {
      {"type", {"text"}},
      {"set", {"text"}},
      {"click", {}},
      {"option", {}},
      {"dblclick", {"index", "item"}},
      {"select", {"index", "item", "items"}},
      {"deselect", {"index", "item", "items"}},
      {"keypress", {"key"}},
      {"keyup", {"key", "shift"}},
      {"toolbar", {"button"}},
      {"buttonmenu", {"button", "menu"}},
      {"check", {"index"}},
      {"itemclick", {"index"}},
      {"tab", {"index"}},
      {"mapdown", {"map", "button", "shift", "x", "y", "track", "tracks"}},
      {"msgbox", {}},
      {"close", {}},
      {"resize", {}},
  };
  return verbs;
}

void CheckEntries(const json& a, const std::string& verb, const std::string& place) {
  if (a.contains("index")) Expect(IsCount(a["index"]), place, "index", "a whole number from 0", a["index"]);
  if (a.contains("item")) Expect(a["item"].is_string(), place, "item", "the text of an entry", a["item"]);
  if (a.contains("items")) {
    Expect(a["items"].is_array(), place, "items", "a list of entry texts or numbers", a["items"]);
    for (const json& x : a["items"])
      Expect(x.is_string() || IsCount(x), place, "items", "a list of entry texts or numbers", x);
  }
  if ((verb == "select" || verb == "deselect") && !a.contains("index") && !a.contains("item") && !a.contains("items"))
    throw Malformed(place, Quoted(verb) + " needs \"index\", \"item\" or \"items\"");
}

void CheckAction(const json& a, const std::string& place) {
  if (!a.is_object()) throw Malformed(place, "an action is an object such as {\"click\": \"NextButton\"}");
  std::vector<std::string> verbs;
  for (auto it = a.begin(); it != a.end(); ++it)
    if (Verbs().count(it.key())) verbs.push_back(it.key());
  if (verbs.empty()) throw Malformed(place, "no action verb in " + a.dump() + " (such as \"click\" or \"type\")");
  if (verbs.size() > 1)
    throw Malformed(place, "one action has one verb, this one has " + Quoted(verbs[0]) + " and " + Quoted(verbs[1]));
  const std::string& verb = verbs[0];
  std::set<std::string> allowed = Verbs().at(verb);
  allowed.insert(verb);
  OnlyKeys(a, allowed, place, "a " + Quoted(verb) + " action");
  const json& value = a[verb];
  if (verb == "msgbox") {
    Expect(value.is_string() && MsgBoxAnswerFromName(value.get<std::string>()) != 0, place, "msgbox",
           "\"OK\", \"Cancel\", \"Yes\" or \"No\"", value);
    return;
  }
  if (verb == "close") {
    Expect(value.is_boolean() && value.get<bool>(), place, "close", "true", value);
    return;
  }
  if (verb == "resize") {
    Expect(value.is_array() && value.size() == 2 && value[0].is_number() && value[1].is_number(), place, "resize",
           "[width, height] in twips", value);
    return;
  }
  Expect(value.is_string() && !value.get<std::string>().empty(), place, verb, "the name of a control", value);
  if (verb == "type" || verb == "set") {
    if (!a.contains("text")) throw Malformed(place, Quoted(verb) + " needs a \"text\"");
    Expect(a["text"].is_string(), place, "text", "text", a["text"]);
  } else if (verb == "keypress" || verb == "keyup") {
    if (!a.contains("key")) throw Malformed(place, Quoted(verb) + " needs a \"key\"");
    Expect(a["key"].is_number_integer(), place, "key", "a whole number", a["key"]);
    if (a.contains("shift")) Expect(a["shift"].is_number_integer(), place, "shift", "a whole number", a["shift"]);
  } else if (verb == "toolbar" || verb == "buttonmenu") {
    if (!a.contains("button")) throw Malformed(place, Quoted(verb) + " needs the \"button\" key");
    Expect(a["button"].is_string(), place, "button", "the key of a toolbar button", a["button"]);
    if (verb == "buttonmenu") {
      if (!a.contains("menu")) throw Malformed(place, "\"buttonmenu\" needs the \"menu\" key");
      Expect(a["menu"].is_string(), place, "menu", "the key of a menu entry", a["menu"]);
    }
  } else if (verb == "check" || verb == "itemclick" || verb == "tab") {
    if (!a.contains("index")) throw Malformed(place, Quoted(verb) + " needs an \"index\"");
    Expect(a["index"].is_number_integer(), place, "index", "a whole number", a["index"]);
  } else if (verb == "select" || verb == "deselect" || verb == "dblclick") {
    CheckEntries(a, verb, place);
  } else if (verb == "mapdown") {
    const json* map = a.contains("map") ? &a["map"] : nullptr;
    if (!map) throw Malformed(place, "\"mapdown\" needs \"map\": [x, y] in map units");
    Expect(map->is_array() && map->size() == 2 && (*map)[0].is_number() && (*map)[1].is_number(), place, "map",
           "[x, y] in map units", *map);
    for (const char* key : {"button", "shift"})
      if (a.contains(key)) Expect(a[key].is_number_integer(), place, key, "a whole number", a[key]);
    for (const char* key : {"x", "y"})
      if (a.contains(key)) Expect(a[key].is_number(), place, key, "a number of pixels", a[key]);
    try {
      if (a.contains("track")) ScriptShapes::ShapeOf(a["track"]);
      if (a.contains("tracks")) {
        Expect(a["tracks"].is_array(), place, "tracks", "a list of shapes", a["tracks"]);
        for (const json& t : a["tracks"]) ScriptShapes::ShapeOf(t);
      }
    } catch (const HostError& e) {
      throw Malformed(place, e.Description());
    }
  }
}

void CheckExtent(const json& extent, std::array<double, 4>& out) {
  const std::string wanted = "[XMIN, YMIN, XMAX, YMAX] in map coordinates";
  Expect(extent.is_array() && extent.size() == 4, "", "extent", wanted, extent);
  for (size_t i = 0; i < 4; ++i) {
    Expect(extent[i].is_number(), "", "extent", wanted, extent[i]);
    out[i] = extent[i].get<double>();
  }
  if (!(out[0] < out[2]) || !(out[1] < out[3]))
    throw Malformed("", "\"extent\" needs XMIN below XMAX and YMIN below YMAX");
}

} // namespace

UserScript UserScript::Parse(const std::string& text, size_t firstTurn) {
  ScriptReader reader(firstTurn);
  if (!json::sax_parse(text, &reader)) {
    std::string what = reader.problem;
    if (what.empty()) {
      const size_t bad = FirstNonUtf8(text);
      const size_t at = reader.errorAt == std::string::npos ? text.size() : reader.errorAt;
      what = bad != std::string::npos && bad < at
                 ? "the text at " + LineAndColumn(text, bad) + " is not UTF-8"
                 : "the script is not valid JSON at " + LineAndColumn(text, at > 0 ? at - 1 : 0);
    }
    throw Malformed(reader.Where(), what);
  }

  UserScript script;
  script.m_lastTurn = firstTurn - 1;
  json& doc = reader.root;
  json* turns = &doc;
  if (doc.is_object()) {
    OnlyKeys(doc, {"turns", "task", "descriptor", "extent"}, "", "the script");
    if (doc.contains("task")) {
      Expect(doc["task"].is_string() && !doc["task"].get<std::string>().empty(), "", "task",
             "the ProgID of a task", doc["task"]);
      script.m_task = std::move(doc["task"].get_ref<std::string&>());
    }
    if (doc.contains("descriptor")) {
      Expect(doc["descriptor"].is_string(), "", "descriptor", "the name of a method", doc["descriptor"]);
      script.m_descriptor = std::move(doc["descriptor"].get_ref<std::string&>());
    }
    if (doc.contains("extent")) {
      std::array<double, 4> extent{};
      CheckExtent(doc["extent"], extent);
      script.m_extent = extent;
    }
    if (!doc.contains("turns")) return script;
    turns = &doc["turns"];
    Expect(turns->is_array(), "", "turns", "a list of turns", *turns);
  } else if (!doc.is_array()) {
    throw Malformed("", "a script is a list of turns, or an object with \"turns\"");
  }

  size_t number = firstTurn - 1;
  for (json& t : *turns) {
    const std::string place = Place(++number, 0);
    Turn turn;
    turn.Number = number;
    if (!t.is_object()) throw Malformed(place, "a turn is an object with \"form\" and \"actions\", or \"msgbox\"");
    if (t.contains("msgbox") && !t.contains("form")) {
      OnlyKeys(t, {"msgbox"}, place, "a message box turn");
      CheckAction(t, place);
      turn.Answer = MsgBoxAnswerFromName(t["msgbox"].get<std::string>());
      script.m_turns.push_back(std::move(turn));
      continue;
    }
    OnlyKeys(t, {"form", "actions"}, place, "a form turn");
    if (!t.contains("form")) throw Malformed(place, "a turn names its \"form\"");
    Expect(t["form"].is_string() && !t["form"].get<std::string>().empty(), place, "form", "the name of a form",
           t["form"]);
    turn.Form = t["form"].get<std::string>();
    if (t.contains("actions")) {
      json& actions = t["actions"];
      Expect(actions.is_array(), place, "actions", "a list of actions", actions);
      size_t k = 0;
      for (json& a : actions) {
        CheckAction(a, Place(number, ++k));
        turn.Actions.push_back(std::move(a));
      }
    }
    script.m_turns.push_back(std::move(turn));
  }
  script.m_lastTurn = number;
  return script;
}

bool UserScript::IsUtf8(const std::string& text) { return FirstNonUtf8(text) == std::string::npos; }

UserScript UserScript::ParseFile(const std::string& nativePath, size_t firstTurn) {
  std::ifstream in(nativePath, std::ios::binary);
  std::stringstream text;
  if (in) text << in.rdbuf();
  if (!in) throw HostError(err::FileNotFound, kSource, "Cannot read the script file " + nativePath);
  return Parse(text.str(), firstTurn);
}

} // namespace tov
