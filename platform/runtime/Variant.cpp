#include "platform/runtime/Variant.h"

#include "platform/runtime/TextCase.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace tov {

namespace {

// Blanks are ASCII blanks whatever the process locale says.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

[[noreturn]] void Mismatch(const std::string& what) {
  throw HostError(err::TypeMismatch, "Variant", "Type mismatch: " + what);
}

int32_t RoundToLong(double d) {
  if (std::isnan(d)) Mismatch("not a number");
  double r = std::nearbyint(d); // default rounding mode: half to even
  if (r < static_cast<double>(std::numeric_limits<int32_t>::min()) ||
      r > static_cast<double>(std::numeric_limits<int32_t>::max()))
    throw HostError(err::Overflow, "Variant", "Overflow: " + FormatDouble(d) + " does not fit a 32-bit integer");
  return static_cast<int32_t>(r);
}

} // namespace

Variant::Variant(long v) {
  if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
    m_value = static_cast<double>(v);
  else
    m_value = static_cast<int32_t>(v);
}

// Numbers are read and written with std::from_chars and std::to_chars, which
// ignore the process locale: under a German locale printf writes "0,4" and
// strtod stops at the "." of "0.4".
bool ParseNumber(const std::string& text, double& value) {
  std::string t = Trim(text);
  // from_chars takes no leading "+"; a second sign stays an error.
  if (!t.empty() && t[0] == '+' && (t.size() == 1 || (t[1] != '-' && t[1] != '+'))) t.erase(0, 1);
  if (t.empty()) return false;
  // Only plain decimal notation: no hex, no "inf"/"nan".
  for (char c : t) {
    if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E')) return false;
  }
  double d = 0;
  const char* end = t.data() + t.size();
  const auto [stop, error] = std::from_chars(t.data(), end, d, std::chars_format::general);
  if (error != std::errc() || stop != end) return false;
  value = d;
  return true;
}

std::string FormatDouble(double value) {
  char buf[64];
  if (value == std::floor(value) && std::fabs(value) < 1e15) {
    const auto written = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 0);
    return std::string(buf, written.ptr);
  }
  // The fewest significant digits (15 to 17) that read back as the same value.
  std::string text;
  for (int precision = 15; precision <= 17; ++precision) {
    const auto written = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, precision);
    text.assign(buf, written.ptr);
    double back = 0;
    std::from_chars(text.data(), text.data() + text.size(), back, std::chars_format::general);
    if (back == value) break;
  }
  return text;
}

bool Variant::IsNumeric() const {
  switch (GetType()) {
  case Type::Long: case Type::Single: case Type::Double: return true;
  default: return false;
  }
}

bool Variant::ToBool() const {
  switch (GetType()) {
  case Type::Empty: return false;
  case Type::Boolean: return std::get<bool>(m_value);
  case Type::Long: return std::get<int32_t>(m_value) != 0;
  case Type::Single: return std::get<float>(m_value) != 0.0f;
  case Type::Double: return std::get<double>(m_value) != 0.0;
  case Type::String: {
    const std::string t = Trim(std::get<std::string>(m_value));
    if (EqualsIgnoreCase(t, "True")) return true;
    if (EqualsIgnoreCase(t, "False")) return false;
    double d;
    if (ParseNumber(t, d)) return d != 0.0;
    Mismatch("\"" + std::get<std::string>(m_value) + "\" is not True or False");
  }
  case Type::Object: break;
  }
  Mismatch("an object is not a Boolean");
}

int32_t Variant::ToLong() const {
  switch (GetType()) {
  case Type::Empty: return 0;
  case Type::Boolean: return std::get<bool>(m_value) ? -1 : 0;
  case Type::Long: return std::get<int32_t>(m_value);
  case Type::Single: return RoundToLong(std::get<float>(m_value));
  case Type::Double: return RoundToLong(std::get<double>(m_value));
  case Type::String: {
    double d;
    if (!ParseNumber(std::get<std::string>(m_value), d))
      Mismatch("\"" + std::get<std::string>(m_value) + "\" is not a number");
    return RoundToLong(d);
  }
  case Type::Object: break;
  }
  Mismatch("an object is not a number");
}

double Variant::ToDouble() const {
  switch (GetType()) {
  case Type::Empty: return 0.0;
  case Type::Boolean: return std::get<bool>(m_value) ? -1.0 : 0.0;
  case Type::Long: return std::get<int32_t>(m_value);
  case Type::Single: return std::get<float>(m_value);
  case Type::Double: return std::get<double>(m_value);
  case Type::String: {
    double d;
    if (!ParseNumber(std::get<std::string>(m_value), d))
      Mismatch("\"" + std::get<std::string>(m_value) + "\" is not a number");
    return d;
  }
  case Type::Object: break;
  }
  Mismatch("an object is not a number");
}

std::string Variant::ToString() const {
  switch (GetType()) {
  case Type::Empty: return std::string();
  case Type::Boolean: return std::get<bool>(m_value) ? "True" : "False";
  case Type::Long: return std::to_string(std::get<int32_t>(m_value));
  case Type::Single: return FormatDouble(std::get<float>(m_value));
  case Type::Double: return FormatDouble(std::get<double>(m_value));
  case Type::String: return std::get<std::string>(m_value);
  case Type::Object: break;
  }
  Mismatch("an object is not a text");
}

ObjectPtr Variant::ToObject() const {
  if (GetType() == Type::Object) return std::get<ObjectPtr>(m_value);
  if (GetType() == Type::Empty) return ObjectPtr();
  Mismatch("a value is not an object");
}

} // namespace tov
