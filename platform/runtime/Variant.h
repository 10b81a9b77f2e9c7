#pragma once
#include "platform/runtime/HostError.h"
#include "platform/runtime/Object.h"

#include <cstdint>
#include <string>
#include <variant>

namespace tov {

// The platform's variant: empty, Boolean, 32-bit integer, single, double,
// string or object (possibly empty).
//
// Conversion rules, shared by every caller:
// - numbers are written and read with "." as the decimal point; blanks
//   around a number are allowed ("  12.5 "), as are "12." and "1e3";
// - Boolean to text is "True"/"False"; text to Boolean accepts those two
//   words in any case, or any number (non-zero is True);
// - True is -1 and False is 0 as numbers; "True" is not a number;
// - empty is 0, False and "" respectively;
// - a double becomes an integer by rounding half to even; out of the 32-bit
//   range raises 6 (overflow);
// - anything else (an empty or non-numeric text as a number, an object as a
//   value) raises 13 (type mismatch).
class Variant {
public:
  enum class Type { Empty, Boolean, Long, Single, Double, String, Object };

  Variant() = default;
  Variant(bool v) : m_value(v) {}
  Variant(int v) : m_value(static_cast<int32_t>(v)) {}
  Variant(long v);
  Variant(float v) : m_value(v) {}
  Variant(double v) : m_value(v) {}
  Variant(const char* v) : m_value(std::string(v)) {}
  Variant(std::string v) : m_value(std::move(v)) {}
  template <class T>
  Variant(std::shared_ptr<T> v) : m_value(ObjectPtr(std::move(v))) {}
  Variant(std::nullptr_t) : m_value(ObjectPtr()) {}

  Type GetType() const { return static_cast<Type>(m_value.index()); }
  bool IsEmpty() const { return GetType() == Type::Empty; }
  bool IsObject() const { return GetType() == Type::Object; }
  bool IsNumeric() const;

  bool ToBool() const;
  int32_t ToLong() const;
  double ToDouble() const;
  std::string ToString() const;
  // The object held, or an empty pointer when the variant holds none.
  ObjectPtr ToObject() const;
  template <class T>
  std::shared_ptr<T> ToObjectAs() const { return std::dynamic_pointer_cast<T>(ToObject()); }

  bool operator==(const Variant& other) const { return m_value == other.m_value; }
  bool operator!=(const Variant& other) const { return !(*this == other); }

private:
  std::variant<std::monostate, bool, int32_t, float, double, std::string, ObjectPtr> m_value;
};

// Text of a double as the platform writes it: shortest form that reads back.
std::string FormatDouble(double value);
// Parses a number by the rules above; false when the text is not one.
bool ParseNumber(const std::string& text, double& value);

} // namespace tov
