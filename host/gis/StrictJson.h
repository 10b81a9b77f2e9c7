#pragma once
#include "host/gis/JsonView.h"

#include <nlohmann/json.hpp>

#include <stdexcept>
#include <string>

namespace tov {

// Reading the JSON files the host writes (map document, layer files) exactly
// as written: a value of the wrong type, a missing key or an unknown kind is
// refused rather than read as a default, because writing the file back would
// lose what was not understood. `where` names the place in the file, such as
// "maps[0] > layers[2]".

// What is wrong, and where; the file's reader adds which file.
class JsonFormatError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// A place in the file, such as "maps[0] > layers[2]", made into text only
// when something there is refused: a document reads thousands of places and
// refuses none. A place made from another refers to it, so it must not
// outlive it (nor the text it was made from).
class JsonWhere {
public:
  JsonWhere(const std::string& text) : m_text(&text) {}
  JsonWhere(const char* text) : m_literal(text) {}
  // "where > key", or key alone at the top.
  JsonWhere(const JsonWhere& parent, const char* key) : m_parent(&parent), m_key(key) {}
  // "where[index]".
  JsonWhere(const JsonWhere& parent, size_t index) : m_parent(&parent), m_index(index) {}

  std::string Text() const;

private:
  const JsonWhere* m_parent = nullptr;
  const std::string* m_text = nullptr;
  const char* m_literal = "";
  const char* m_key = nullptr; // null for an index
  size_t m_index = 0;
};

[[noreturn]] void RefuseJson(const JsonWhere& where, const std::string& what);

// "where > key", or key alone at the top.
std::string JsonPlace(const std::string& where, const std::string& key);
// "where[index]".
std::string JsonPlace(const std::string& where, size_t index);

// Each reader takes a parsed tree (nlohmann::json) or a view of the text
// (JsonView), with the same refusals.
#define TOV_STRICT_JSON_READERS(J)                                                                 \
  /* The object itself, refused when it is something else. */                                    \
  const J& JsonObject(const J& j, const JsonWhere& where);                                       \
  /* A required member of an object. */                                                           \
  const J& JsonMember(const J& object, const char* key, const JsonWhere& where);                 \
  /* An optional member (null when missing); a member that is null counts as missing. */          \
  const J* JsonOptionalMember(const J& object, const char* key);                                   \
  std::string JsonText(const J& object, const char* key, const JsonWhere& where);                \
  bool JsonBool(const J& object, const char* key, const JsonWhere& where);                       \
  double JsonNumber(const J& object, const char* key, const JsonWhere& where);                   \
  long JsonInteger(const J& object, const char* key, const JsonWhere& where);                    \
  const J& JsonArray(const J& object, const char* key, const JsonWhere& where);

TOV_STRICT_JSON_READERS(nlohmann::json)
TOV_STRICT_JSON_READERS(JsonValue)
#undef TOV_STRICT_JSON_READERS

} // namespace tov
