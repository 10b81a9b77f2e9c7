#include "host/gis/DirectJson.h"

#include <charconv>
#include <cmath>
#include <cstring>

using nlohmann::json;

namespace tov {

namespace {
// Deeper texts are left to json::parse, which does not recurse.
constexpr int kMaxDepth = 200;

// A continuation byte in [low, high].
bool Continuation(const char*& q, const char* end, unsigned char low = 0x80, unsigned char high = 0xBF) {
  if (q == end) return false;
  const auto c = static_cast<unsigned char>(*q);
  if (c < low || c > high) return false;
  ++q;
  return true;
}

// One UTF-8 sequence starting at q (a byte of 0x80 or more), checked as
// nlohmann::json checks it when it reads or writes a text.
bool Utf8(const char*& q, const char* end) {
  const auto c = static_cast<unsigned char>(*q++);
  auto next = [&](unsigned char low = 0x80, unsigned char high = 0xBF) { return Continuation(q, end, low, high); };
  if (c >= 0xC2 && c <= 0xDF) return next();
  if (c == 0xE0) return next(0xA0) && next();
  if ((c >= 0xE1 && c <= 0xEC) || c == 0xEE || c == 0xEF) return next() && next();
  if (c == 0xED) return next(0x80, 0x9F) && next();
  if (c == 0xF0) return next(0x90) && next() && next();
  if (c >= 0xF1 && c <= 0xF3) return next() && next() && next();
  if (c == 0xF4) return next(0x80, 0x8F) && next() && next();
  return false;
}

class DirectReader {
public:
  explicit DirectReader(std::string_view text) : m_p(text.data()), m_end(text.data() + text.size()) {}

  bool Document(json& out) {
    // json::parse skips a byte order mark; so does the fallback.
    if (m_end - m_p >= 3 && std::memcmp(m_p, "\xEF\xBB\xBF", 3) == 0) return false;
    Skip();
    if (!Value(out, 0)) return false;
    Skip();
    return m_p == m_end;
  }

private:
  void Skip() {
    while (m_p < m_end && (*m_p == ' ' || *m_p == '\n' || *m_p == '\r' || *m_p == '\t')) ++m_p;
  }

  bool Word(const char* word, size_t size) {
    if (static_cast<size_t>(m_end - m_p) < size || std::memcmp(m_p, word, size) != 0) return false;
    m_p += size;
    return true;
  }

  bool Value(json& out, int depth) {
    if (m_p == m_end) return false;
    switch (*m_p) {
    case '{': return Object(out, depth + 1);
    case '[': return Array(out, depth + 1);
    case '"': {
      std::string text;
      if (!String(text)) return false;
      out = std::move(text);
      return true;
    }
    case 't':
      if (!Word("true", 4)) return false;
      out = true;
      return true;
    case 'f':
      if (!Word("false", 5)) return false;
      out = false;
      return true;
    case 'n':
      if (!Word("null", 4)) return false;
      out = nullptr;
      return true;
    default: return Number(out);
    }
  }

  // The members of an object or the items of an array, up to `close`, each
  // read by `item`.
  template <typename ReadItem> bool Items(char close, int depth, ReadItem item) {
    if (depth > kMaxDepth) return false;
    ++m_p;
    Skip();
    if (m_p < m_end && *m_p == close) {
      ++m_p;
      return true;
    }
    for (;;) {
      Skip();
      if (!item()) return false;
      Skip();
      if (m_p == m_end) return false;
      if (*m_p == ',') {
        ++m_p;
        continue;
      }
      if (*m_p != close) return false;
      ++m_p;
      return true;
    }
  }

  bool Object(json& out, int depth) {
    out = json(json::value_t::object);
    auto& members = out.get_ref<json::object_t&>();
    return Items('}', depth, [&] {
      if (m_p == m_end || *m_p != '"') return false;
      std::string key;
      if (!String(key)) return false;
      Skip();
      if (m_p == m_end || *m_p != ':') return false;
      ++m_p;
      Skip();
      // Written sorted, so the end is the place; a repeated key keeps its
      // last value, as json::parse does.
      return Value(members.try_emplace(members.end(), std::move(key))->second, depth);
    });
  }

  bool Array(json& out, int depth) {
    out = json(json::value_t::array);
    auto& items = out.get_ref<json::array_t&>();
    return Items(']', depth, [&] { return Value(items.emplace_back(), depth); });
  }

  bool String(std::string& out) {
    ++m_p;
    const char* run = m_p;
    for (;;) {
      if (m_p == m_end) return false;
      const auto c = static_cast<unsigned char>(*m_p);
      if (c == '"') {
        out.append(run, m_p);
        ++m_p;
        return true;
      }
      if (c < 0x20) return false;
      if (c < 0x80 && c != '\\') {
        ++m_p;
        continue;
      }
      if (c >= 0x80) {
        if (!Utf8(m_p, m_end)) return false;
        continue;
      }
      out.append(run, m_p);
      if (++m_p == m_end) return false;
      switch (*m_p) {
      case '"': out += '"'; break;
      case '\\': out += '\\'; break;
      case '/': out += '/'; break;
      case 'b': out += '\b'; break;
      case 'f': out += '\f'; break;
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      case 't': out += '\t'; break;
      default: return false; // \u and anything else
      }
      run = ++m_p;
    }
  }

  static bool Digit(char c) { return c >= '0' && c <= '9'; }

  bool Number(json& out) {
    const char* start = m_p;
    const char* q = m_p;
    const bool negative = q < m_end && *q == '-';
    if (negative) ++q;
    if (q == m_end || !Digit(*q)) return false;
    if (*q == '0') ++q;
    else
      while (q < m_end && Digit(*q)) ++q;
    bool integer = true;
    if (q < m_end && *q == '.') {
      integer = false;
      if (++q == m_end || !Digit(*q)) return false;
      while (q < m_end && Digit(*q)) ++q;
    }
    if (q < m_end && (*q == 'e' || *q == 'E')) {
      integer = false;
      if (++q < m_end && (*q == '+' || *q == '-')) ++q;
      if (q == m_end || !Digit(*q)) return false;
      while (q < m_end && Digit(*q)) ++q;
    }
    m_p = q;
    if (integer) {
      if (negative) {
        json::number_integer_t value = 0;
        if (std::from_chars(start, q, value).ec == std::errc()) {
          out = value;
          return true;
        }
      } else {
        json::number_unsigned_t value = 0;
        if (std::from_chars(start, q, value).ec == std::errc()) {
          out = value;
          return true;
        }
      }
      // Too large for an integer: json::parse makes it a number with a
      // fraction, as below.
    }
    double value = 0;
    const auto result = std::from_chars(start, q, value);
    // Out of range (json::parse refuses what overflows and takes what
    // underflows): left to it.
    if (result.ec != std::errc() || result.ptr != q || !std::isfinite(value)) return false;
    out = value;
    return true;
  }

  const char* m_p;
  const char* m_end;
};

// False for a text that is not UTF-8, which dump() refuses.
bool WriteText(const std::string& text, std::string& out) {
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

// False for what dump() is left to: binary and discarded values, texts that
// are not UTF-8.
bool WriteValue(const json& j, std::string& out) {
  switch (j.type()) {
  case json::value_t::null: out += "null"; return true;
  case json::value_t::boolean: out += j.get_ref<const json::boolean_t&>() ? "true" : "false"; return true;
  case json::value_t::number_integer: WriteInteger(j.get_ref<const json::number_integer_t&>(), out); return true;
  case json::value_t::number_unsigned: WriteInteger(j.get_ref<const json::number_unsigned_t&>(), out); return true;
  case json::value_t::number_float: {
    const double value = j.get_ref<const json::number_float_t&>();
    if (!std::isfinite(value)) {
      out += "null";
      return true;
    }
    // The digits dump() writes, by its own routine.
    char digits[64];
    out.append(digits, nlohmann::detail::to_chars(digits, digits + sizeof digits, value));
    return true;
  }
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
  json parsed;
  if (!DirectReader(text).Document(parsed)) return false;
  value = std::move(parsed);
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

json ParseJsonOrDiscarded(std::string_view text) {
  json value;
  if (ParseJsonDirectly(text, value)) return value;
  return json::parse(text, nullptr, false);
}

} // namespace tov
