#pragma once
// Counts the host objects the code under test creates through the registry
// (every ProgID registered when it is made) and acts at the n-th creation:
// the place where a test makes the host fail or the process die.
#include "platform/runtime/ObjectRegistry.h"

#include <functional>
#include <string>
#include <vector>

namespace tov::test {

class HostCallCounter {
public:
  // What to do at the n-th call; `progId` is the class being created.
  using Action = std::function<void(const std::string& progId)>;

  // Wraps the factories of the ProgIDs accepted by `wanted` (all when empty).
  // n = 0 only counts.
  HostCallCounter(long n, Action action, std::function<bool(const std::string&)> wanted = {});
  ~HostCallCounter();
  HostCallCounter(const HostCallCounter&) = delete;
  HostCallCounter& operator=(const HostCallCounter&) = delete;

  long Calls() const { return m_calls; }
  // The ProgID of the n-th call ("" when there were fewer).
  const std::string& Hit() const { return m_hit; }

private:
  std::vector<std::pair<std::string, ObjectFactory>> m_saved;
  long m_calls = 0;
  std::string m_hit;
};

} // namespace tov::test
