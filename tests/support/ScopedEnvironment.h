#pragma once
#include <cstdlib>
#include <optional>
#include <string>

namespace tov::testing {

// Sets (or with no value, removes) an environment variable for the scope;
// the programs a test starts inherit it. The value before comes back after.
class ScopedEnvironment {
public:
  ScopedEnvironment(std::string name, std::optional<std::string> value) : m_name(std::move(name)) {
    if (const char* before = std::getenv(m_name.c_str())) m_before = before;
    if (value) ::setenv(m_name.c_str(), value->c_str(), 1);
    else ::unsetenv(m_name.c_str());
  }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
  ~ScopedEnvironment() {
    if (m_before) ::setenv(m_name.c_str(), m_before->c_str(), 1);
    else ::unsetenv(m_name.c_str());
  }

private:
  std::string m_name;
  std::optional<std::string> m_before;
};

} // namespace tov::testing
