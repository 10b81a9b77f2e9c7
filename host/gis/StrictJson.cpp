#include "host/gis/StrictJson.h"

#include <limits>

using nlohmann::json;

namespace tov {

void RefuseJson(const std::string& where, const std::string& what) {
  throw JsonFormatError(where.empty() ? what : where + ": " + what);
}

std::string JsonPlace(const std::string& where, const std::string& key) {
  return where.empty() ? "\"" + key + "\"" : where + " > \"" + key + "\"";
}

std::string JsonPlace(const std::string& where, size_t index) { return where + "[" + std::to_string(index) + "]"; }

const json& JsonObject(const json& j, const std::string& where) {
  if (!j.is_object()) RefuseJson(where, "an object was expected");
  return j;
}

const json& JsonMember(const json& object, const char* key, const std::string& where) {
  JsonObject(object, where);
  auto it = object.find(key);
  if (it == object.end()) RefuseJson(where, std::string("\"") + key + "\" is missing");
  return *it;
}

const json* JsonOptionalMember(const json& object, const char* key) {
  auto it = object.find(key);
  return it == object.end() || it->is_null() ? nullptr : &*it;
}

std::string JsonText(const json& object, const char* key, const std::string& where) {
  const json& v = JsonMember(object, key, where);
  if (!v.is_string()) RefuseJson(JsonPlace(where, key), "a text was expected");
  return v.get<std::string>();
}

bool JsonBool(const json& object, const char* key, const std::string& where) {
  const json& v = JsonMember(object, key, where);
  if (!v.is_boolean()) RefuseJson(JsonPlace(where, key), "true or false was expected");
  return v.get<bool>();
}

double JsonNumber(const json& object, const char* key, const std::string& where) {
  const json& v = JsonMember(object, key, where);
  if (!v.is_number()) RefuseJson(JsonPlace(where, key), "a number was expected");
  return v.get<double>();
}

long JsonInteger(const json& object, const char* key, const std::string& where) {
  const json& v = JsonMember(object, key, where);
  if (!v.is_number_integer()) RefuseJson(JsonPlace(where, key), "a whole number was expected");
  const auto value = v.get<int64_t>();
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
    RefuseJson(JsonPlace(where, key), "the number is too large");
  return static_cast<long>(value);
}

const json& JsonArray(const json& object, const char* key, const std::string& where) {
  const json& v = JsonMember(object, key, where);
  if (!v.is_array()) RefuseJson(JsonPlace(where, key), "a list was expected");
  return v;
}

} // namespace tov
