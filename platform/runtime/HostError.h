#pragma once
#include <stdexcept>
#include <string>

namespace tov {

// The pending error of a failed host call: number, source and description.
// Number 0 with empty texts means "go to the failure report with no error".
class HostError : public std::exception {
public:
  HostError() = default;
  HostError(long number, std::string source, std::string description)
      : m_number(number), m_source(std::move(source)), m_description(std::move(description)) {}

  long Number() const { return m_number; }
  const std::string& Source() const { return m_source; }
  const std::string& Description() const { return m_description; }
  const char* what() const noexcept override { return m_description.c_str(); }

private:
  long m_number = 0;
  std::string m_source;
  std::string m_description;
};

// Error numbers the platform itself raises.
namespace err {
constexpr long InvalidCall = 5;       // missing index or key, bad argument
constexpr long Overflow = 6;
constexpr long OutOfMemory = 7;
constexpr long SubscriptOutOfRange = 9;
constexpr long TypeMismatch = 13;
constexpr long ObjectRequired = 424;
constexpr long CannotCreateObject = 429;
constexpr long AutomationError = 440;
constexpr long DuplicateKey = 457;
constexpr long ObjectVariableNotSet = 91;
constexpr long FileNotFound = 53;
constexpr long PathNotFound = 76;
} // namespace err

} // namespace tov
