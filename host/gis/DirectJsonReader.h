#pragma once
// The direct JSON reader, shared by the two things it builds: an
// nlohmann::json value (DirectJson.cpp) and a read-only view of the text
// (JsonView.cpp). Both therefore take exactly the same texts; any text it
// does not take is left to json::parse.
//
// A Sink receives the values in order: Null, Bool, Integer (negative),
// Unsigned, Float, String(Text&&), BeginObject, Key(Text&&), BeginArray and
// End for either container. Sink::Text gathers a string's characters with
// append(first, last) and += c.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace tov::directjson {

// Deeper texts are left to json::parse, which does not recurse.
constexpr int kMaxDepth = 200;

// A continuation byte in [low, high].
inline bool Continuation(const char*& q, const char* end, unsigned char low = 0x80, unsigned char high = 0xBF) {
  if (q == end) return false;
  const auto c = static_cast<unsigned char>(*q);
  if (c < low || c > high) return false;
  ++q;
  return true;
}

// One UTF-8 sequence starting at q (a byte of 0x80 or more), checked as
// nlohmann::json checks it when it reads or writes a text.
inline bool Utf8(const char*& q, const char* end) {
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

template <typename Sink> class Reader {
public:
  Reader(std::string_view text, Sink& sink) : m_p(text.data()), m_end(text.data() + text.size()), m_sink(sink) {}

  // False for a text left to json::parse; the sink then holds a part.
  bool Document() {
    // json::parse skips a byte order mark; so does the fallback.
    if (m_end - m_p >= 3 && std::memcmp(m_p, "\xEF\xBB\xBF", 3) == 0) return false;
    Skip();
    if (!Value(0)) return false;
    Skip();
    return m_p == m_end;
  }

private:
  using Text = typename Sink::Text;

  void Skip() {
    while (m_p < m_end && (*m_p == ' ' || *m_p == '\n' || *m_p == '\r' || *m_p == '\t')) ++m_p;
  }

  bool Word(const char* word, size_t size) {
    if (static_cast<size_t>(m_end - m_p) < size || std::memcmp(m_p, word, size) != 0) return false;
    m_p += size;
    return true;
  }

  bool Value(int depth) {
    if (m_p == m_end) return false;
    switch (*m_p) {
    case '{': return Object(depth + 1);
    case '[': return Array(depth + 1);
    case '"': {
      Text text;
      if (!String(text)) return false;
      m_sink.String(std::move(text));
      return true;
    }
    case 't':
      if (!Word("true", 4)) return false;
      m_sink.Bool(true);
      return true;
    case 'f':
      if (!Word("false", 5)) return false;
      m_sink.Bool(false);
      return true;
    case 'n':
      if (!Word("null", 4)) return false;
      m_sink.Null();
      return true;
    default: return Number();
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

  bool Object(int depth) {
    m_sink.BeginObject();
    const bool read = Items('}', depth, [&] {
      if (m_p == m_end || *m_p != '"') return false;
      Text key;
      if (!String(key)) return false;
      Skip();
      if (m_p == m_end || *m_p != ':') return false;
      ++m_p;
      Skip();
      m_sink.Key(std::move(key));
      return Value(depth);
    });
    if (!read) return false;
    m_sink.End();
    return true;
  }

  bool Array(int depth) {
    m_sink.BeginArray();
    if (!Items(']', depth, [&] { return Value(depth); })) return false;
    m_sink.End();
    return true;
  }

  bool String(Text& out) {
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

  bool Number() {
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
        int64_t value = 0;
        if (std::from_chars(start, q, value).ec == std::errc()) {
          m_sink.Integer(value);
          return true;
        }
      } else {
        uint64_t value = 0;
        if (std::from_chars(start, q, value).ec == std::errc()) {
          m_sink.Unsigned(value);
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
    m_sink.Float(value);
    return true;
  }

  const char* m_p;
  const char* m_end;
  Sink& m_sink;
};

} // namespace tov::directjson
