#pragma once
// The pending error a call raised, for tests of refusals.
#include "platform/runtime/HostError.h"

#include <string>

namespace tov::test {

struct Raised {
  bool raised = false;
  long number = 0;
  std::string description;
};

// What `call` raised as a HostError; raised is false when it returned.
template <class Call>
Raised ErrorOf(Call&& call) {
  try {
    call();
  } catch (const HostError& e) {
    return {true, e.Number(), e.Description()};
  }
  return {};
}

// True when `part` occurs in `text`.
inline bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

} // namespace tov::test
