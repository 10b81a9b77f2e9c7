#include "host/gis/DirectJson.h"

#include "host/gis/DirectJsonReader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

using nlohmann::json;

namespace tov {

namespace {
using directjson::Utf8;

// Builds the value json::parse would give, in place.
class TreeSink {
public:
  using Text = std::string;

  void Null() { Slot() = nullptr; }
  void Bool(bool value) { Slot() = value; }
  void Integer(int64_t value) { Slot() = static_cast<json::number_integer_t>(value); }
  void Unsigned(uint64_t value) { Slot() = static_cast<json::number_unsigned_t>(value); }
  void Float(double value) { Slot() = value; }
  void String(std::string&& text) { Slot() = std::move(text); }
  void BeginObject() { Open(json::value_t::object); }
  void BeginArray() { Open(json::value_t::array); }
  void Key(std::string&& key) {
    auto& members = m_open.back()->get_ref<json::object_t&>();
    // Written sorted, so the end is the place; a repeated key keeps its
    // last value, as json::parse does.
    m_member = &members.try_emplace(members.end(), std::move(key))->second;
  }
  void End() { m_open.pop_back(); }

  json root;

private:
  // Where the next value goes. An open container's own place does not move
  // while its items are read, so the pointers stay good.
  json& Slot() {
    if (m_open.empty()) return root;
    json& top = *m_open.back();
    if (top.is_array()) return top.get_ref<json::array_t&>().emplace_back();
    return *m_member;
  }
  void Open(json::value_t type) {
    json& slot = Slot();
    slot = json(type);
    m_open.push_back(&slot);
  }

  std::vector<json*> m_open;
  json* m_member = nullptr;
};

// False for a text that is not UTF-8, which dump() refuses.
bool WriteText(std::string_view text, std::string& out) {
  out += '"';
  const char* p = text.data();
  const char* const end = p + text.size();
  const char* run = p;
  while (p < end) {
    const auto c = static_cast<unsigned char>(*p);
    if (c >= 0x80) {
      if (!Utf8(p, end)) return false;
      continue;
    }
    if (c >= 0x20 && c != '"' && c != '\\') {
      ++p;
      continue;
    }
    out.append(run, p);
    switch (c) {
    case '"': out += "\\\""; break;
    case '\\': out += "\\\\"; break;
    case '\b': out += "\\b"; break;
    case '\f': out += "\\f"; break;
    case '\n': out += "\\n"; break;
    case '\r': out += "\\r"; break;
    case '\t': out += "\\t"; break;
    default: {
      static const char kHex[] = "0123456789abcdef";
      const char escaped[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 15]};
      out.append(escaped, sizeof escaped);
    }
    }
    run = ++p;
  }
  out.append(run, p);
  out += '"';
  return true;
}

template <typename Integer> void WriteInteger(Integer value, std::string& out) {
  char digits[24];
  out.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

void WriteFloat(double value, std::string& out) {
  if (!std::isfinite(value)) {
    out += "null";
    return;
  }
  // The digits dump() writes, by its own routine.
  char digits[64];
  out.append(digits, nlohmann::detail::to_chars(digits, digits + sizeof digits, value));
}

// False for what dump() is left to: binary and discarded values, texts that
// are not UTF-8.
bool WriteValue(const json& j, std::string& out) {
  switch (j.type()) {
  case json::value_t::null: out += "null"; return true;
  case json::value_t::boolean: out += j.get_ref<const json::boolean_t&>() ? "true" : "false"; return true;
  case json::value_t::number_integer: WriteInteger(j.get_ref<const json::number_integer_t&>(), out); return true;
  case json::value_t::number_unsigned: WriteInteger(j.get_ref<const json::number_unsigned_t&>(), out); return true;
  case json::value_t::number_float: WriteFloat(j.get_ref<const json::number_float_t&>(), out); return true;
  case json::value_t::string: return WriteText(j.get_ref<const json::string_t&>(), out);
  case json::value_t::array: {
    out += '[';
    bool first = true;
    for (const json& item : j.get_ref<const json::array_t&>()) {
      if (!first) out += ',';
      first = false;
      if (!WriteValue(item, out)) return false;
    }
    out += ']';
    return true;
  }
  case json::value_t::object: {
    out += '{';
    bool first = true;
    for (const auto& [key, value] : j.get_ref<const json::object_t&>()) {
      if (!first) out += ',';
      first = false;
      if (!WriteText(key, out)) return false;
      out += ':';
      if (!WriteValue(value, out)) return false;
    }
    out += '}';
    return true;
  }
  default: return false;
  }
}
} // namespace

bool ParseJsonDirectly(std::string_view text, json& value) {
  TreeSink sink;
  if (!directjson::Reader<TreeSink>(text, sink).Document()) return false;
  value = std::move(sink.root);
  return true;
}

json ParseJson(std::string_view text) {
  json value;
  if (ParseJsonDirectly(text, value)) return value;
  return json::parse(text);
}

bool WriteJsonDirectly(const json& value, std::string& text) {
  std::string out;
  if (!WriteValue(value, out)) return false;
  text = std::move(out);
  return true;
}

std::string WriteJson(const json& value) {
  std::string text;
  if (WriteJsonDirectly(value, text)) return text;
  return value.dump();
}

void JsonTextWriter::Open(char open, char close) {
  Separate();
  m_out += open;
  m_close += close;
  m_afterItem = false;
}

void JsonTextWriter::End() {
  m_out += m_close.back();
  m_close.pop_back();
  m_afterItem = true;
}

void JsonTextWriter::Separate() {
  if (m_afterItem) m_out += ',';
}

void JsonTextWriter::Key(std::string_view key) {
  Separate();
  // Most names need no escape: written as they are, which a document of
  // thousands of members notices.
  if (std::all_of(key.begin(), key.end(), [](char c) { return c >= 0x20 && c != '"' && c != '\\'; })) {
    m_out += '"';
    m_out += key;
    m_out += "\":";
  } else {
    m_afterItem = false;
    String(key);
    m_out += ':';
  }
  m_afterItem = false;
}

void JsonTextWriter::Null() {
  Separate();
  m_out += "null";
  m_afterItem = true;
}

void JsonTextWriter::Bool(bool value) {
  Separate();
  m_out += value ? "true" : "false";
  m_afterItem = true;
}

void JsonTextWriter::Integer(int64_t value) {
  Separate();
  WriteInteger(value, m_out);
  m_afterItem = true;
}

void JsonTextWriter::Float(double value) {
  Separate();
  WriteFloat(value, m_out);
  m_afterItem = true;
}

void JsonTextWriter::String(std::string_view text) {
  Separate();
  if (!WriteText(text, m_out)) {
    // dump()'s refusal, with its message.
    (void)json(std::string(text)).dump();
    throw json::type_error::create(316, "invalid UTF-8 byte", nullptr);
  }
  m_afterItem = true;
}

json ParseJsonOrDiscarded(std::string_view text) {
  json value;
  if (ParseJsonDirectly(text, value)) return value;
  return json::parse(text, nullptr, false);
}

} // namespace tov
