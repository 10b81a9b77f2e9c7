#include "host/gis/JsonView.h"

#include "host/gis/DirectJsonReader.h"

#include <nlohmann/json.hpp>

#include <cmath>

using nlohmann::json;

namespace tov {

// Receives the values from the direct reader, or from json::parse's value
// for a text the direct reader leaves to it.
class JsonView::Builder {
public:
  // A string's characters: where it has no escape, the text itself.
  struct Text {
    std::string_view view;
    std::string owned;
    bool isOwned = false;

    void append(const char* first, const char* last) {
      if (!isOwned && view.empty()) {
        view = std::string_view(first, static_cast<size_t>(last - first));
        return;
      }
      Own();
      owned.append(first, last);
    }
    void operator+=(char c) {
      Own();
      owned += c;
    }
    void Own() {
      if (isOwned) return;
      owned.assign(view);
      isOwned = true;
    }
  };

  explicit Builder(JsonView& view) : m_view(view) {}

  void Null() { Add(Kind::Null); }
  void Bool(bool value) { Add(Kind::Boolean).m_number.boolean = value; }
  void Integer(int64_t value) { Add(Kind::Integer).m_number.integer = value; }
  void Unsigned(uint64_t value) { Add(Kind::Unsigned).m_number.whole = value; }
  void Float(double value) { Add(Kind::Float).m_number.real = value; }
  void String(Text&& text) {
    const std::string_view kept = Keep(text);
    Add(Kind::String).m_text = kept;
  }
  void BeginObject() { Open(Kind::Object); }
  void BeginArray() { Open(Kind::Array); }
  void Key(Text&& key) { m_key = Keep(key); }
  void End() {
    const auto [index, mark] = m_open.back();
    m_open.pop_back();
    JsonValue& container = m_view.m_values[index];
    container.m_first = static_cast<uint32_t>(m_view.m_items.size());
    container.m_count = static_cast<uint32_t>(m_pending.size() - mark);
    m_view.m_items.insert(m_view.m_items.end(), m_pending.begin() + static_cast<std::ptrdiff_t>(mark), m_pending.end());
    m_pending.resize(mark);
  }

  // json::parse's value, given as the direct reader gives it, without
  // recursion: json::parse takes texts nested deeper than any stack.
  void From(const json& root) {
    struct Frame {
      const json* container;
      json::const_iterator next;
    };
    std::vector<Frame> frames;
    auto value = [&](const json& j) {
      switch (j.type()) {
      case json::value_t::object:
      case json::value_t::array:
        Open(j.is_object() ? Kind::Object : Kind::Array);
        frames.push_back({&j, j.cbegin()});
        return;
      case json::value_t::boolean: Bool(j.get<bool>()); return;
      case json::value_t::number_integer: Integer(j.get<json::number_integer_t>()); return;
      case json::value_t::number_unsigned: Unsigned(j.get<json::number_unsigned_t>()); return;
      case json::value_t::number_float: Float(j.get<double>()); return;
      case json::value_t::string: {
        Text text;
        text.owned = j.get_ref<const std::string&>();
        text.isOwned = true;
        String(std::move(text));
        return;
      }
      default: Null(); return;
      }
    };
    value(root);
    while (!frames.empty()) {
      Frame& top = frames.back();
      if (top.next == top.container->cend()) {
        frames.pop_back();
        End();
        continue;
      }
      const json::const_iterator item = top.next++;
      if (top.container->is_object()) {
        Text key;
        key.owned = item.key();
        key.isOwned = true;
        Key(std::move(key));
      }
      value(*item); // may grow frames: `top` is not used after it
    }
  }

private:
  using Kind = JsonValue::Kind;

  std::string_view Keep(Text& text) {
    if (!text.isOwned) return text.view;
    return m_view.m_texts.emplace_back(std::move(text.owned));
  }

  JsonValue& Add(Kind kind) {
    const auto index = static_cast<uint32_t>(m_view.m_values.size());
    JsonValue& value = m_view.m_values.emplace_back();
    value.m_view = &m_view;
    value.m_kind = kind;
    if (!m_open.empty()) {
      m_pending.push_back(index);
      if (m_view.m_values[m_open.back().first].m_kind == Kind::Object) value.m_key = m_key;
    }
    return value;
  }

  void Open(Kind kind) {
    const auto index = static_cast<uint32_t>(m_view.m_values.size());
    Add(kind);
    m_open.emplace_back(index, m_pending.size());
  }

  JsonView& m_view;
  std::vector<std::pair<uint32_t, size_t>> m_open; // open containers, where their items begin in m_pending
  std::vector<uint32_t> m_pending;                  // items of the open containers
  std::string_view m_key;
};

JsonView::JsonView(std::string_view text) {
  // About one value in every twenty characters of what the host writes.
  m_values.reserve(text.size() / 16 + 1);
  Builder builder(*this);
  if (directjson::Reader<Builder>(text, builder).Document()) return;
  // Refused here with json::parse's message, or read by it.
  const json parsed = json::parse(text);
  m_values.clear();
  m_items.clear();
  m_texts.clear();
  Builder(*this).From(parsed);
}

const JsonValue& JsonValue::operator[](size_t index) const { return m_view->m_values[m_view->m_items[m_first + index]]; }

const JsonValue* JsonValue::Find(std::string_view key) const {
  if (m_kind != Kind::Object) return nullptr;
  for (uint32_t i = m_count; i-- > 0;) {
    const JsonValue& member = m_view->m_values[m_view->m_items[m_first + i]];
    if (member.m_key == key) return &member;
  }
  return nullptr;
}

double JsonValue::Number() const {
  switch (m_kind) {
  case Kind::Integer: return static_cast<double>(m_number.integer);
  case Kind::Unsigned: return static_cast<double>(m_number.whole);
  default: return m_number.real;
  }
}

int64_t JsonValue::Integer() const {
  switch (m_kind) {
  case Kind::Integer: return m_number.integer;
  case Kind::Unsigned: return static_cast<int64_t>(m_number.whole);
  default:
    // Not a whole number: what is in range is cut as a cast cuts it.
    return std::fabs(m_number.real) < 9.2e18 ? static_cast<int64_t>(m_number.real) : 0;
  }
}

nlohmann::json JsonValue::Tree() const {
  // Without recursion, as the view is made: it may nest deeper than any stack.
  json root;
  struct Frame {
    const JsonValue* container;
    uint32_t next;
    json* tree;
  };
  std::vector<Frame> frames;
  auto copy = [&frames](const JsonValue& v, json& into) {
    switch (v.m_kind) {
    case Kind::Null: into = nullptr; return;
    case Kind::Boolean: into = v.m_number.boolean; return;
    case Kind::Integer: into = static_cast<json::number_integer_t>(v.m_number.integer); return;
    case Kind::Unsigned: into = static_cast<json::number_unsigned_t>(v.m_number.whole); return;
    case Kind::Float: into = v.m_number.real; return;
    case Kind::String: into = std::string(v.m_text); return;
    case Kind::Array:
    case Kind::Object:
      into = json(v.m_kind == Kind::Array ? json::value_t::array : json::value_t::object);
      frames.push_back({&v, 0, &into});
      return;
    }
  };
  copy(*this, root);
  while (!frames.empty()) {
    const Frame top = frames.back();
    if (top.next == top.container->m_count) {
      frames.pop_back();
      continue;
    }
    ++frames.back().next;
    const JsonValue& item = (*top.container)[top.next];
    // Depth first: a container's items are all made before the next one is
    // added beside it, which may move it. A repeated key keeps its last value.
    json& slot = top.tree->is_array() ? top.tree->emplace_back() : (*top.tree)[std::string(item.m_key)];
    copy(item, slot);
  }
  return root;
}

} // namespace tov
