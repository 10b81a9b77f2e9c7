#pragma once
#include <nlohmann/json.hpp>

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace tov {

class JsonView;

// One value of a JsonView. Its tests are named as nlohmann::json names
// them, so that the strict readers (StrictJson.h) take either.
class JsonValue {
public:
  bool is_null() const { return m_kind == Kind::Null; }
  bool is_boolean() const { return m_kind == Kind::Boolean; }
  bool is_number() const { return m_kind == Kind::Integer || m_kind == Kind::Unsigned || m_kind == Kind::Float; }
  bool is_number_integer() const { return m_kind == Kind::Integer || m_kind == Kind::Unsigned; }
  bool is_string() const { return m_kind == Kind::String; }
  bool is_array() const { return m_kind == Kind::Array; }
  bool is_object() const { return m_kind == Kind::Object; }

  // The items of an array or the members of an object; 0 for anything else.
  size_t size() const { return m_count; }
  // Item `index` (below size()) of an array, or member `index` of an
  // object in the order of the text.
  const JsonValue& operator[](size_t index) const;
  // The member `key` of an object (the last one when the text repeats it,
  // as json::parse keeps it), or null.
  const JsonValue* Find(std::string_view key) const;

  // The value, for a value of that kind; numbers convert as json's get does.
  bool Bool() const { return m_number.boolean; }
  double Number() const;
  int64_t Integer() const;
  std::string_view Text() const { return m_text; }
  // The name of a member of an object (see operator[]).
  std::string_view Key() const { return m_key; }

  // The same value as a tree, as json::parse gives it (for comparing the
  // two readers).
  nlohmann::json Tree() const;

private:
  friend class JsonView;
  enum class Kind : uint8_t { Null, Boolean, Integer, Unsigned, Float, String, Array, Object };

  const JsonView* m_view = nullptr;
  Kind m_kind = Kind::Null;
  uint32_t m_count = 0; // items or members
  uint32_t m_first = 0; // where they start in the view's item list
  std::string_view m_key; // as a member of an object
  std::string_view m_text;
  union {
    bool boolean;
    int64_t integer;
    uint64_t whole;
    double real;
  } m_number{};
};

// A JSON text read into values that point into it, for reading what the
// host wrote (map documents, layer files) without building a tree of
// separately allocated values. It takes exactly the texts ParseJson takes and
// gives their values; a text json::parse refuses raises json::parse's
// exception. The text must outlive the view.
class JsonView {
public:
  explicit JsonView(std::string_view text);
  JsonView(const JsonView&) = delete;
  JsonView& operator=(const JsonView&) = delete;

  const JsonValue& Root() const { return m_values.front(); }

private:
  friend class JsonValue;
  class Builder;

  std::vector<JsonValue> m_values;  // in the order of the text, the root first
  std::vector<uint32_t> m_items;    // each container's items, one run each
  std::deque<std::string> m_texts;  // texts that are not in the text as they read
};

} // namespace tov
