#include "platform/runtime/Variant.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace tov {

namespace {

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

bool EqualsNoCase(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return i == a.size() && b[i] == '\0';
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

bool ParseNumber(const std::string& text, double& value) {
  std::string t = Trim(text);
  if (t.empty()) return false;
  // Only plain decimal notation: no hex, no "inf"/"nan".
  for (char c : t) {
    if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E'))
      return false;
  }
  const char* begin = t.c_str();
  char* end = nullptr;
  errno = 0;
  double d = std::strtod(begin, &end);
  if (end != begin + t.size() || errno == ERANGE) return false;
  value = d;
  return true;
}

std::string FormatDouble(double value) {
  if (value == std::floor(value) && std::fabs(value) < 1e15) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.0f", value);
    return buf;
  }
  char buf[64];
  for (int precision = 15; precision <= 17; ++precision) {
    std::snprintf(buf, sizeof buf, "%.*g", precision, value);
    if (std::strtod(buf, nullptr) == value) break;
  }
  return buf;
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
    if (EqualsNoCase(t, "True")) return true;
    if (EqualsNoCase(t, "False")) return false;
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
