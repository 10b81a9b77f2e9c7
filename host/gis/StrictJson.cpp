#include "host/gis/StrictJson.h"

#include <limits>

using nlohmann::json;

namespace tov {

namespace {
// What the readers below need of either kind of value.
const json* Find(const json& object, const char* key) {
  auto it = object.find(std::string_view(key));
  return it == object.end() ? nullptr : &*it;
}
const JsonValue* Find(const JsonValue& object, const char* key) { return object.Find(key); }
std::string TextOf(const json& v) { return v.get<std::string>(); }
std::string TextOf(const JsonValue& v) { return std::string(v.Text()); }
bool BoolOf(const json& v) { return v.get<bool>(); }
bool BoolOf(const JsonValue& v) { return v.Bool(); }
double NumberOf(const json& v) { return v.get<double>(); }
double NumberOf(const JsonValue& v) { return v.Number(); }
int64_t IntegerOf(const json& v) { return v.get<int64_t>(); }
int64_t IntegerOf(const JsonValue& v) { return v.Integer(); }

template <typename J> const J& Object(const J& j, const JsonWhere& where) {
  if (!j.is_object()) RefuseJson(where, "an object was expected");
  return j;
}

template <typename J> const J& Member(const J& object, const char* key, const JsonWhere& where) {
  Object(object, where);
  const J* member = Find(object, key);
  if (!member) RefuseJson(where, std::string("\"") + key + "\" is missing");
  return *member;
}

template <typename J> const J* OptionalMember(const J& object, const char* key) {
  const J* member = Find(object, key);
  return !member || member->is_null() ? nullptr : member;
}

template <typename J> std::string Text(const J& object, const char* key, const JsonWhere& where) {
  const J& v = Member(object, key, where);
  if (!v.is_string()) RefuseJson(JsonWhere(where, key), "a text was expected");
  return TextOf(v);
}

template <typename J> bool Bool(const J& object, const char* key, const JsonWhere& where) {
  const J& v = Member(object, key, where);
  if (!v.is_boolean()) RefuseJson(JsonWhere(where, key), "true or false was expected");
  return BoolOf(v);
}

template <typename J> double Number(const J& object, const char* key, const JsonWhere& where) {
  const J& v = Member(object, key, where);
  if (!v.is_number()) RefuseJson(JsonWhere(where, key), "a number was expected");
  return NumberOf(v);
}

template <typename J> long Integer(const J& object, const char* key, const JsonWhere& where) {
  const J& v = Member(object, key, where);
  if (!v.is_number_integer()) RefuseJson(JsonWhere(where, key), "a whole number was expected");
  const int64_t value = IntegerOf(v);
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
    RefuseJson(JsonWhere(where, key), "the number is too large");
  return static_cast<long>(value);
}

template <typename J> const J& Array(const J& object, const char* key, const JsonWhere& where) {
  const J& v = Member(object, key, where);
  if (!v.is_array()) RefuseJson(JsonWhere(where, key), "a list was expected");
  return v;
}
} // namespace

std::string JsonWhere::Text() const {
  if (!m_parent) return m_text ? *m_text : std::string(m_literal);
  return m_key ? JsonPlace(m_parent->Text(), m_key) : JsonPlace(m_parent->Text(), m_index);
}

void RefuseJson(const JsonWhere& where, const std::string& what) {
  const std::string place = where.Text();
  throw JsonFormatError(place.empty() ? what : place + ": " + what);
}

std::string JsonPlace(const std::string& where, const std::string& key) {
  return where.empty() ? "\"" + key + "\"" : where + " > \"" + key + "\"";
}

std::string JsonPlace(const std::string& where, size_t index) { return where + "[" + std::to_string(index) + "]"; }

#define TOV_STRICT_JSON_READERS(J)                                                                                     \
  const J& JsonObject(const J& j, const JsonWhere& where) { return Object(j, where); }                                \
  const J& JsonMember(const J& object, const char* key, const JsonWhere& where) { return Member(object, key, where); } \
  const J* JsonOptionalMember(const J& object, const char* key) { return OptionalMember(object, key); }                  \
  std::string JsonText(const J& object, const char* key, const JsonWhere& where) { return Text(object, key, where); }  \
  bool JsonBool(const J& object, const char* key, const JsonWhere& where) { return Bool(object, key, where); }         \
  double JsonNumber(const J& object, const char* key, const JsonWhere& where) { return Number(object, key, where); }   \
  long JsonInteger(const J& object, const char* key, const JsonWhere& where) { return Integer(object, key, where); }   \
  const J& JsonArray(const J& object, const char* key, const JsonWhere& where) { return Array(object, key, where); }

TOV_STRICT_JSON_READERS(json)
TOV_STRICT_JSON_READERS(JsonValue)
#undef TOV_STRICT_JSON_READERS

} // namespace tov
