#pragma once
// Runs a test under a comma-decimal locale (German), as a desktop session
// does once Qt has set the process locale from the environment.
#include <clocale>
#include <locale>
#include <stdexcept>
#include <string>

namespace tov::testing {

class CommaLocale {
public:
  static constexpr const char* kName = "de_DE.UTF-8";

  // Sets the C and C++ global locales; Active() tells whether that worked.
  CommaLocale() : m_previousC(std::setlocale(LC_ALL, nullptr)), m_previousCpp(std::locale()) {
    try {
      std::locale::global(std::locale(kName));
      m_active = std::string(std::localeconv()->decimal_point) == ",";
    } catch (const std::runtime_error&) {
      m_active = false;
    }
  }
  ~CommaLocale() {
    std::locale::global(m_previousCpp);
    std::setlocale(LC_ALL, m_previousC.c_str());
  }
  CommaLocale(const CommaLocale&) = delete;
  CommaLocale& operator=(const CommaLocale&) = delete;

  bool Active() const { return m_active; }
  static std::string SkipMessage() {
    return std::string("the locale ") + kName + " is not installed (scripts/install-deps generates it)";
  }

private:
  std::string m_previousC;
  std::locale m_previousCpp;
  bool m_active = false;
};

} // namespace tov::testing
